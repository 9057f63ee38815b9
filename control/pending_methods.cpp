// Methods of the interface whose features are not available yet: each
// raises 60999 after taking its arguments as the finished method will
// (enumeration modes narrowed to a byte). A method leaves this file for its
// subsystem's folder when its feature is built.
#include "control/method_args.h"
#include "orvane/quorvel.h"

namespace orvane {

void Quorvel::AboutBox() { RaiseNotAvailable(); }

void Quorvel::SetValue(int32_t& SetMode) {
  NarrowEnumToByte(SetMode);
  RaiseNotAvailable();
}

void Quorvel::DeleteValue() { RaiseNotAvailable(); }

void Quorvel::SetAllValues(Variant&, int32_t&) { RaiseNotAvailable(); }
Variant Quorvel::GetAllValues() { RaiseNotAvailable(); }
void Quorvel::SetAllKeys(Variant&) { RaiseNotAvailable(); }
Variant Quorvel::GetAllKeys() { RaiseNotAvailable(); }
void Quorvel::ForceWriting() { RaiseNotAvailable(); }
int32_t Quorvel::Count(int32_t&, int32_t&) { RaiseNotAvailable(); }

Variant Quorvel::Find(std::string&, int32_t&, bool&, bool&, bool&, Variant&, bool&, int32_t&) {
  RaiseNotAvailable();
}

int32_t Quorvel::Replace(std::string&, std::string&, int32_t&, bool&, bool&, bool&, Variant&, bool&, int32_t&) {
  RaiseNotAvailable();
}

void Quorvel::Undo(int16_t&) { RaiseNotAvailable(); }
uint8_t Quorvel::LastAction() { RaiseNotAvailable(); }
std::string Quorvel::SystemInfo(int32_t) { RaiseNotAvailable(); }
void Quorvel::Import(std::string&) { RaiseNotAvailable(); }
void Quorvel::Export(std::string&, bool&, std::string&) { RaiseNotAvailable(); }
void Quorvel::CopyValue(int32_t&, std::string&, std::string&) { RaiseNotAvailable(); }
void Quorvel::MoveValue(int32_t&, std::string&, std::string&) { RaiseNotAvailable(); }
void Quorvel::RenameValue(std::string&) { RaiseNotAvailable(); }
void Quorvel::Backup() { RaiseNotAvailable(); }
void Quorvel::Restore() { RaiseNotAvailable(); }
void Quorvel::RegisterExtension(std::string&, std::string&, std::string&, bool&) { RaiseNotAvailable(); }
void Quorvel::UnregisterExtension(std::string&) { RaiseNotAvailable(); }

void Quorvel::AddExtCommand(std::string&, std::string&, std::string&, std::string&, bool&, bool&) {
  RaiseNotAvailable();
}

void Quorvel::DelExtCommand(std::string&, std::string&) { RaiseNotAvailable(); }

}  // namespace orvane
