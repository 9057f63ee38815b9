// GetVersionExA over the emulated platform setting.
//
// NT reports Windows XP: platform 2, version 5.1, build 2600, "Service Pack 3".
// 9x reports Windows 98 Second Edition: platform 1, version 4.10, build 2222,
// with the major and minor version in the build number's high word as that
// system does (0x040A08AE), and " A " as its service text.
#include "platform/os_version.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "platform/win32_registry.h"

namespace orvane::platform {
namespace {

constexpr int kUnset = -1;
std::atomic<int> g_platform{kUnset};

EmulatedPlatform FromEnvironment() {
  const char* text = std::getenv("ORVANE_PLATFORM");
  if (text != nullptr && std::string_view(text) == "9x") return EmulatedPlatform::kWin9x;
  return EmulatedPlatform::kNt;
}

struct VersionRecord {
  DWORD major, minor, build, platform_id;
  const char* service_text;
};

constexpr VersionRecord kNtRecord{5, 1, 2600, VER_PLATFORM_WIN32_NT, "Service Pack 3"};
constexpr VersionRecord kWin9xRecord{4, 10, 0x040A0000u | 2222u, VER_PLATFORM_WIN32_WINDOWS, " A "};

// The extended record (OSVERSIONINFOEXA) is 8 bytes longer; those bytes
// (service pack numbers, suite mask, product type) are reported as zero.
constexpr DWORD kExtendedRecordSize = 156;

}  // namespace

EmulatedPlatform CurrentPlatform() {
  int value = g_platform.load();
  if (value == kUnset) {
    value = static_cast<int>(FromEnvironment());
    int expected = kUnset;
    if (!g_platform.compare_exchange_strong(expected, value)) value = expected;
  }
  return static_cast<EmulatedPlatform>(value);
}

void OverridePlatform(EmulatedPlatform platform) { g_platform.store(static_cast<int>(platform)); }

}  // namespace orvane::platform

BOOL GetVersionExA(OSVERSIONINFOA* info) {
  using orvane::platform::EmulatedPlatform;
  if (info == nullptr) return 0;
  const DWORD size = info->dwOSVersionInfoSize;
  if (size != sizeof(OSVERSIONINFOA) && size != orvane::platform::kExtendedRecordSize) return 0;
  const auto& record = orvane::platform::CurrentPlatform() == EmulatedPlatform::kWin9x
                           ? orvane::platform::kWin9xRecord
                           : orvane::platform::kNtRecord;
  info->dwMajorVersion = record.major;
  info->dwMinorVersion = record.minor;
  info->dwBuildNumber = record.build;
  info->dwPlatformId = record.platform_id;
  std::memset(info->szCSDVersion, 0, sizeof(info->szCSDVersion));
  std::strncpy(info->szCSDVersion, record.service_text, sizeof(info->szCSDVersion) - 1);
  if (size == orvane::platform::kExtendedRecordSize) {
    std::memset(reinterpret_cast<char*>(info) + sizeof(OSVERSIONINFOA), 0,
                orvane::platform::kExtendedRecordSize - sizeof(OSVERSIONINFOA));
  }
  return 1;
}
