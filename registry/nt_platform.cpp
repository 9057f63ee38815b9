// The NT platform flag, read from GetVersionExA.
#include "registry/nt_platform.h"

#include "platform/win32_registry.h"

namespace orvane {
namespace {

bool nt_platform = false;

}  // namespace

bool NtPlatform() { return nt_platform; }

void DetectNtPlatform() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof(info);
  if (GetVersionExA(&info) && info.dwPlatformId == VER_PLATFORM_WIN32_NT) nt_platform = true;
}

void SetNtPlatformForTesting(bool nt) { nt_platform = nt; }

}  // namespace orvane
