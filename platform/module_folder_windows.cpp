// The module folder from the module's file name.
#include <windows.h>

#include "platform/module_folder.h"
#include "platform/utf16_text.h"

namespace orvane::platform {

std::string ModuleFolder(const void* address_in_module) {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     static_cast<LPCSTR>(address_in_module), &module);
  wchar_t path[MAX_PATH * 2] = {};
  const DWORD length = GetModuleFileNameW(module, path, MAX_PATH * 2);
  const std::string file = Utf8FromUtf16(std::wstring_view(path, length));
  return file.substr(0, file.find_last_of('\\') + 1);
}

}  // namespace orvane::platform
