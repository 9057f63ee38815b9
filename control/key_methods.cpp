// Methods that read values, test existence, and create, delete, copy, move
// and rename keys: each forwards the current location and its own
// arguments to one routine (record-undo flag true where it changes things).
#include "control/method_args.h"
#include "control/method_group.h"
#include "keyops/key_create_delete.h"
#include "keyops/key_transfer.h"
#include "orvane/quorvel.h"
#include "registry/existence.h"
#include "registry/scoped_key.h"
#include "registry/value_read.h"

namespace orvane {

void Quorvel::GetValue() {
  value_ = InMethodGroup([&] { return ReadValue(RootHandle(hkey_), sub_key_path_, value_name_); });
  Notify("Value");
}

bool Quorvel::VerifyExistence(int32_t VerifyType) {
  const uint8_t mode = NarrowEnumToByte(VerifyType);
  return InMethodGroup([&] { return KeyOrValueExists(RootHandle(hkey_), sub_key_path_, value_name_, mode); });
}

void Quorvel::SetKey() {
  InMethodGroup([&] { WriteKey(RootHandle(hkey_), sub_key_path_, true); });
}

void Quorvel::DeleteKey() {
  InMethodGroup([&] { RemoveKey(RootHandle(hkey_), sub_key_path_, true); });
}

void Quorvel::CopyKey(int32_t NewhKey, const std::string& NewKeyPath) {
  InMethodGroup([&] {
    CopyOrMoveKey(RootHandle(hkey_), sub_key_path_, RootHandle(NewhKey), NewKeyPath, TransferOperation::kCopy);
  });
}

void Quorvel::MoveKey(int32_t NewhKey, const std::string& NewKeyPath) {
  InMethodGroup([&] {
    CopyOrMoveKey(RootHandle(hkey_), sub_key_path_, RootHandle(NewhKey), NewKeyPath, TransferOperation::kMove);
  });
}

void Quorvel::RenameKey(std::string& NewKeyPath) {
  InMethodGroup([&] { RenameKeyTo(RootHandle(hkey_), sub_key_path_, NewKeyPath); });
}

}  // namespace orvane
