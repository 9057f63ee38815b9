// The file-type methods: each forwards its own arguments (the current
// location is not used) and records nothing. Overwrite has no effect:
// existing values are always replaced.
#include "control/method_group.h"
#include "filetypes/file_types.h"
#include "orvane/quorvel.h"

namespace orvane {

void Quorvel::RegisterExtension(std::string& Extension, const std::string& Description, const std::string& DefaultIcon,
                                bool /*Overwrite*/) {
  InMethodGroup([&] { orvane::RegisterExtension(Extension, Description, DefaultIcon); });
}

void Quorvel::UnregisterExtension(std::string& Extension) {
  InMethodGroup([&] { orvane::UnregisterExtension(Extension); });
}

void Quorvel::AddExtCommand(const std::string& Extension, const std::string& CommandName,
                            const std::string& CommandDescription, const std::string& Command, bool Predefined,
                            bool /*Overwrite*/) {
  InMethodGroup([&] { orvane::AddExtCommand(Extension, CommandName, CommandDescription, Command, Predefined); });
}

void Quorvel::DelExtCommand(std::string& Extension, const std::string& CommandName) {
  InMethodGroup([&] { orvane::DelExtCommand(Extension, CommandName); });
}

}  // namespace orvane
