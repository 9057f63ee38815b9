#include "platform/current_user.h"

#include <windows.h>
#include <sddl.h>

#include <vector>

namespace orvane::platform {

std::string CurrentUserKeyName() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return {};
  DWORD size = 0;
  GetTokenInformation(token, TokenUser, nullptr, 0, &size);
  std::vector<unsigned char> buffer(size);
  std::string name;
  char* text = nullptr;
  if (size != 0 && GetTokenInformation(token, TokenUser, buffer.data(), size, &size) &&
      ConvertSidToStringSidA(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &text)) {
    name = text;
    LocalFree(text);
  }
  CloseHandle(token);
  return name;
}

}  // namespace orvane::platform
