// Methods that write, delete, copy, move and rename the current value, and
// the undo methods: each forwards the current location and its own
// arguments to one routine, with the record-undo flag true where it
// changes the registry.
#include "control/method_args.h"
#include "control/method_group.h"
#include "keyops/value_ops.h"
#include "orvane/quorvel.h"
#include "registry/scoped_key.h"
#include "registry/value_write.h"
#include "undo/undo_actions.h"

namespace orvane {

void Quorvel::SetValue(int32_t SetMode) {
  const uint8_t mode = NarrowEnumToByte(SetMode);
  InMethodGroup([&] {
    // A default value is written as a string: ValueType becomes 1 without a
    // change notification.
    WriteValue(RootHandle(hkey_), sub_key_path_, value_name_, value_, value_type_, mode, true);
  });
}

void Quorvel::DeleteValue() {
  InMethodGroup([&] { RemoveValue(RootHandle(hkey_), sub_key_path_, value_name_, true); });
}

void Quorvel::CopyValue(int32_t NewhKey, const std::string& NewKeyPath, const std::string& NewValueName) {
  InMethodGroup([&] {
    CopyOrMoveValue(RootHandle(hkey_), sub_key_path_, value_name_, RootHandle(NewhKey), NewKeyPath, NewValueName,
                    TransferOperation::kCopy);
  });
}

void Quorvel::MoveValue(int32_t NewhKey, const std::string& NewKeyPath, const std::string& NewValueName) {
  InMethodGroup([&] {
    CopyOrMoveValue(RootHandle(hkey_), sub_key_path_, value_name_, RootHandle(NewhKey), NewKeyPath, NewValueName,
                    TransferOperation::kMove);
  });
}

void Quorvel::RenameValue(const std::string& NewValueName) {
  InMethodGroup([&] {
    TransferValue(RootHandle(hkey_), sub_key_path_, value_name_, RootHandle(hkey_), sub_key_path_, NewValueName,
                  TransferOperation::kRename, true);
  });
}

void Quorvel::Undo(int16_t UndoSteps) {
  InMethodGroup([&] { orvane::Undo(UndoSteps); });
}

uint8_t Quorvel::LastAction() {
  return InMethodGroup([&] { return orvane::LastAction(); });
}

}  // namespace orvane
