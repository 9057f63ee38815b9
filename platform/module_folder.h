// Windows only: the folder of the module (DLL or program) that holds a
// given address, in UTF-8 with a final backslash. Files installed beside the
// component (our regedit.exe, the help file) are found from it.
#pragma once

#include <string>

namespace orvane::platform {

std::string ModuleFolder(const void* address_in_module);

}  // namespace orvane::platform
