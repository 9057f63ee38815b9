// The server's process-wide counters, module and lock.
#include "com/server_state.h"

#include <atomic>

#include "platform/utf16_text.h"

namespace orvane::com {
namespace {

HMODULE module_handle = nullptr;
std::atomic<long> references{0};

}  // namespace

HMODULE ServerModule() { return module_handle; }
void SetServerModule(HMODULE module) { module_handle = module; }

std::string ServerPath() {
  wchar_t path[MAX_PATH * 2] = {};
  const DWORD length = GetModuleFileNameW(module_handle, path, MAX_PATH * 2);
  return platform::Utf8FromUtf16(std::wstring_view(path, length));
}

void AddServerReference() { ++references; }
void ReleaseServerReference() { --references; }
bool ServerInUse() { return references.load() != 0; }

std::recursive_mutex& ControlLock() {
  static std::recursive_mutex lock;
  return lock;
}

}  // namespace orvane::com
