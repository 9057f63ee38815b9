// System information. Registry items are string values of two keys below
// HKEY_LOCAL_MACHINE: the Windows key always, the NT key on the NT platform
// for the product identifier, owner and organisation. The other items come
// from the system calls, read into blank-filled buffers of fixed sizes.
#include "regfiles/system_query.h"

#include <string_view>

#include "platform/win32_system.h"
#include "registry/nt_platform.h"
#include "registry/registry_error.h"
#include "registry/scoped_key.h"
#include "registry/value_read.h"

namespace orvane {
namespace {

constexpr const char* kWindowsKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
constexpr const char* kNtKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
constexpr size_t kDirectoryBuffer = 2048;
constexpr size_t kComputerNameBuffer = 16;
constexpr size_t kUserNameBuffer = 100;
constexpr size_t kLanguageBuffer = 100;

struct Sources {
  OSVERSIONINFOA version{};
  ScopedKey windows;
  ScopedKey nt;
  HKEY Owner() const { return nt.is_open() ? nt.get() : windows.get(); }
};

// A string value's text; empty when the value is missing.
std::string StringValue(HKEY key, const char* name) {
  const ValueInfo info = QueryValueType(key, name);
  if (!info.found()) return "";
  const Variant value = ReadStringValue(key, name, info.type, info.size, false);
  return value.type() == VarType::kString ? value.string() : "";
}

// The text up to the first NUL (the whole buffer when there is none).
std::string UpToNul(const std::string& buffer) { return buffer.substr(0, buffer.find('\0')); }

std::string DirectoryForm(const std::string& buffer) {
  std::string text = UpToNul(buffer);
  if (!text.empty() && text.back() == '\\') text.pop_back();
  return text;
}

std::string Trimmed(std::string_view text) {
  const size_t begin = text.find_first_not_of(' ');
  if (begin == std::string_view::npos) return "";
  return std::string(text.substr(begin, text.find_last_not_of(' ') - begin + 1));
}

std::string VersionNumber(const OSVERSIONINFOA& version) {
  return std::to_string(version.dwMajorVersion) + "." + std::to_string(version.dwMinorVersion) + " Build " +
         std::to_string(version.dwBuildNumber & 0xFFFF);
}

std::string Directory(int16_t item) {
  std::string buffer(kDirectoryBuffer, ' ');
  const UINT size = static_cast<UINT>(kDirectoryBuffer);
  if (item == kSysInfoWinDir) GetWindowsDirectoryA(buffer.data(), size);
  if (item == kSysInfoSysDir) GetSystemDirectoryA(buffer.data(), size);
  if (item == kSysInfoTempDir) GetTempPathA(size, buffer.data());
  return DirectoryForm(buffer);
}

std::string ComputerNameText() {
  std::string buffer(kComputerNameBuffer, ' ');
  DWORD size = static_cast<DWORD>(kComputerNameBuffer);
  GetComputerNameA(buffer.data(), &size);
  return UpToNul(buffer);
}

std::string UserNameText() {
  std::string buffer(kUserNameBuffer, ' ');
  DWORD size = static_cast<DWORD>(kUserNameBuffer);
  GetUserNameA(buffer.data(), &size);
  return UpToNul(buffer);
}

std::string LanguageText() {
  std::string buffer(kLanguageBuffer, ' ');
  const int count = GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SENGLANGUAGE, buffer.data(),
                                   static_cast<int>(kLanguageBuffer - 1));
  if (count <= 0) return "";
  return Trimmed(UpToNul(buffer.substr(0, static_cast<size_t>(count))));
}

std::string Answer(const Sources& sources, int16_t item) {
  switch (item) {
    case kSysInfoOs: return NtPlatform() ? "Windows NT" : StringValue(sources.windows.get(), "Version");
    case kSysInfoProductId: return StringValue(sources.Owner(), "ProductID");
    case kSysInfoVersionNumber: return VersionNumber(sources.version);
    case kSysInfoRegisteredOwner: return StringValue(sources.Owner(), "RegisteredOwner");
    case kSysInfoRegisteredOrganization: return StringValue(sources.Owner(), "RegisteredOrganization");
    case kSysInfoWinDir: case kSysInfoSysDir: case kSysInfoTempDir: return Directory(item);
    case kSysInfoProgramFilesDir: return StringValue(sources.windows.get(), "ProgramFilesDir");
    case kSysInfoCommonFilesDir: return StringValue(sources.windows.get(), "CommonFilesDir");
    case kSysInfoComputerName: return ComputerNameText();
    case kSysInfoUserName: return UserNameText();
    case kSysInfoUserLanguage: return LanguageText();
    default: return "";
  }
}

}  // namespace

std::string QuerySystemInfo(int16_t item) {
  Sources sources;
  sources.version.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
  GetVersionExA(&sources.version);
  RaiseRegistryError(sources.windows.Open(HKEY_LOCAL_MACHINE, kWindowsKey));
  if (NtPlatform()) RaiseRegistryError(sources.nt.Open(HKEY_LOCAL_MACHINE, kNtKey));
  return Answer(sources, item);
}

}  // namespace orvane
