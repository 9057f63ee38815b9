// Methods of the interface whose features are not available yet: each
// raises 60999 after taking its arguments as the finished method will
// (enumeration modes narrowed to a byte). A method leaves this file for its
// subsystem's folder when its feature is built.
#include "control/method_args.h"
#include "orvane/quorvel.h"

namespace orvane {


Variant Quorvel::Find(std::string&, int32_t&, bool&, bool&, bool&, Variant&, bool&, int32_t&) {
  RaiseNotAvailable();
}

int32_t Quorvel::Replace(std::string&, std::string&, int32_t&, bool&, bool&, bool&, Variant&, bool&, int32_t&) {
  RaiseNotAvailable();
}

std::string Quorvel::SystemInfo(int32_t) { RaiseNotAvailable(); }
void Quorvel::Import(std::string&) { RaiseNotAvailable(); }
void Quorvel::Export(std::string&, bool&, std::string&) { RaiseNotAvailable(); }
void Quorvel::Backup() { RaiseNotAvailable(); }
void Quorvel::Restore() { RaiseNotAvailable(); }

}  // namespace orvane
