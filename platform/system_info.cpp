// The Win32 system queries over the Linux host (sources: system_info.h).
#include "platform/system_info.h"

#include <pwd.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "store/registry_store.h"
#include "platform/win32_system.h"

namespace orvane::platform {
namespace {

constexpr size_t kMaxComputerName = 15;

struct LanguageName {
  std::string_view code;
  std::string_view name;
};
constexpr LanguageName kLanguages[] = {
    {"ca", "Catalan"},   {"cs", "Czech"},     {"da", "Danish"},   {"de", "German"},     {"el", "Greek"},
    {"en", "English"},   {"es", "Spanish"},   {"fi", "Finnish"},  {"fr", "French"},     {"hu", "Hungarian"},
    {"it", "Italian"},   {"ja", "Japanese"},  {"ko", "Korean"},   {"nl", "Dutch"},      {"no", "Norwegian"},
    {"nb", "Norwegian"}, {"pl", "Polish"},    {"pt", "Portuguese"}, {"ru", "Russian"},  {"sv", "Swedish"},
    {"tr", "Turkish"},   {"zh", "Chinese"},
};

std::string NonEmptyEnvironment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

// Copies `text` with its NUL when it fits `size`: its length; else the size needed.
unsigned CopyOut(const std::string& text, char* buffer, unsigned size) {
  if (buffer == nullptr || text.size() + 1 > size) return static_cast<unsigned>(text.size() + 1);
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return static_cast<unsigned>(text.size());
}

}  // namespace

std::string WindowsDirectory() {
  std::filesystem::path store = CurrentRegistryPath();
  if (store.empty()) store = DefaultRegistryPath();
  return store.parent_path().string();
}

std::string SystemDirectory() { return WindowsDirectory() + "/system32"; }

std::string TemporaryDirectory() {
  std::string dir = NonEmptyEnvironment("TMPDIR");
  if (dir.empty()) dir = "/tmp";
  while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
  return dir;
}

std::string ComputerName() {
  char host[256] = {};
  if (gethostname(host, sizeof(host) - 1) != 0) return "LOCALHOST";
  std::string name(host, strnlen(host, kMaxComputerName));
  std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::toupper(c); });
  return name;
}

std::string UserName() {
  if (const passwd* entry = getpwuid(geteuid()); entry != nullptr && entry->pw_name != nullptr) {
    return entry->pw_name;
  }
  return NonEmptyEnvironment("USER");
}

std::string UserLanguageName() {
  std::string locale;
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    if (locale = NonEmptyEnvironment(name); !locale.empty()) break;
  }
  const std::string code = locale.substr(0, 2);
  for (const LanguageName& language : kLanguages) {
    if (language.code == code) return std::string(language.name);
  }
  return "English";
}

}  // namespace orvane::platform

UINT GetWindowsDirectoryA(LPSTR buffer, UINT size) {
  return orvane::platform::CopyOut(orvane::platform::WindowsDirectory(), buffer, size);
}

UINT GetSystemDirectoryA(LPSTR buffer, UINT size) {
  return orvane::platform::CopyOut(orvane::platform::SystemDirectory(), buffer, size);
}

DWORD GetTempPathA(DWORD size, LPSTR buffer) {
  return orvane::platform::CopyOut(orvane::platform::TemporaryDirectory(), buffer, size);
}

BOOL GetComputerNameA(LPSTR buffer, LPDWORD size) {
  const std::string name = orvane::platform::ComputerName();
  if (size == nullptr) return 0;
  const bool fits = buffer != nullptr && name.size() + 1 <= *size;
  if (fits) std::memcpy(buffer, name.c_str(), name.size() + 1);
  *size = static_cast<DWORD>(fits ? name.size() : name.size() + 1);
  return fits;
}

BOOL GetUserNameA(LPSTR buffer, LPDWORD size) {
  const std::string name = orvane::platform::UserName();
  if (size == nullptr) return 0;
  const bool fits = buffer != nullptr && name.size() + 1 <= *size;
  if (fits) std::memcpy(buffer, name.c_str(), name.size() + 1);
  *size = static_cast<DWORD>(name.size() + 1);
  return fits;
}

int GetLocaleInfoA(LCID, LCTYPE type, LPSTR buffer, int size) {
  if (type != LOCALE_SENGLANGUAGE || size < 0) return 0;
  const std::string name = orvane::platform::UserLanguageName();
  if (size == 0) return static_cast<int>(name.size() + 1);
  if (buffer == nullptr || name.size() + 1 > static_cast<size_t>(size)) return 0;
  std::memcpy(buffer, name.c_str(), name.size() + 1);
  return static_cast<int>(name.size() + 1);
}

void Sleep(DWORD milliseconds) {
  timespec delay{static_cast<time_t>(milliseconds / 1000), static_cast<long>(milliseconds % 1000) * 1000000L};
  while (nanosleep(&delay, &delay) != 0) {
  }
}
