// A second process for the store tests: reads and writes the registry store
// that ORVANE_REGISTRY names, as another program on the machine would.
//   store_child set PATH NAME TEXT   string value below HKEY_CURRENT_USER
//   store_child get PATH NAME        prints the string value
//   store_child subkeys PATH         prints the sub-key names, one a line
//   store_child write-loop PATH      writes forever, one group per step
//   store_child hold PATH NAME TEXT  writes a string value, keeping it
//                                    uncommitted, then waits to be killed
//   store_child version              prints the emulated version record
// Exits 0 on success; on a registry failure prints "status N" and exits 1.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include "store/registry_store.h"
#include "platform/win32_registry.h"

namespace {

using orvane::platform::RegistryMethodScope;

int Fail(LONG status) {
  std::printf("status %d\n", static_cast<int>(status));
  return 1;
}

LONG Create(HKEY parent, const std::string& path, HKEY* key) {
  DWORD disposition = 0;
  return RegCreateKeyExA(parent, path.c_str(), 0, nullptr, 0, 0x3F, nullptr, key, &disposition);
}

LONG SetText(HKEY key, const char* name, const std::string& text) {
  return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                        static_cast<DWORD>(text.size() + 1));
}

int Set(const std::string& path, const char* name, const std::string& text) {
  HKEY key;
  if (LONG status = Create(HKEY_CURRENT_USER, path, &key)) return Fail(status);
  const LONG status = SetText(key, name, text);
  RegCloseKey(key);
  return status != ERROR_SUCCESS ? Fail(status) : 0;
}

int Get(const std::string& path, const char* name) {
  HKEY key;
  if (LONG status = RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, 0x3F, &key)) return Fail(status);
  char data[4096];
  DWORD size = sizeof(data) - 1;
  DWORD type = 0;
  const LONG status = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS) return Fail(status);
  std::printf("%s\n", std::string(data, size > 0 ? size - 1 : 0).c_str());
  return 0;
}

int SubKeys(const std::string& path) {
  HKEY key;
  if (LONG status = RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, 0x3F, &key)) return Fail(status);
  for (DWORD index = 0;; ++index) {
    char name[256];
    DWORD length = sizeof(name);
    const LONG status = RegEnumKeyExA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_NO_MORE_ITEMS) break;
    if (status != ERROR_SUCCESS) return Fail(status);
    std::printf("%s\n", name);
  }
  RegCloseKey(key);
  return 0;
}

// One step of the write loop: item `step` with its values and child key,
// removal of item step-3, and "Last" = step, all in one group.
LONG WriteStep(HKEY root, DWORD step) {
  RegistryMethodScope scope;
  HKEY item;
  const std::string name = "Item" + std::to_string(step);
  if (LONG status = Create(root, name + "\\Child", &item)) return status;
  RegSetValueExA(item, "c", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&step), 4);
  RegCloseKey(item);
  if (LONG status = Create(root, name, &item)) return status;
  RegSetValueExA(item, "a", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&step), 4);
  SetText(item, "b", "item " + std::to_string(step));
  RegCloseKey(item);
  if (step > 3) {
    const std::string old = "Item" + std::to_string(step - 3);
    RegDeleteKeyA(root, (old + "\\Child").c_str());
    RegDeleteKeyA(root, old.c_str());
  }
  return RegSetValueExA(root, "Last", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&step), 4);
}

int WriteLoop(const std::string& path) {
  HKEY root;
  if (LONG status = Create(HKEY_CURRENT_USER, path, &root)) return Fail(status);
  DWORD last = 0;
  DWORD size = sizeof(last);
  RegQueryValueExA(root, "Last", nullptr, nullptr, reinterpret_cast<BYTE*>(&last), &size);
  for (DWORD step = last + 1;; ++step) {
    if (LONG status = WriteStep(root, step)) return Fail(status);
    if (step == last + 1) {
      RegFlushKey(root);  // the first step is on disk before anyone may kill us
      std::printf("ready\n");
      std::fflush(stdout);
    }
  }
}

int Hold(const std::string& path, const char* name, const std::string& text) {
  orvane::platform::SetRegistryCommitDelay(std::chrono::minutes(1));
  if (int failed = Set(path, name, text)) return failed;
  std::printf("ready\n");
  std::fflush(stdout);
  for (;;) pause();
}

int Version() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof(info);
  if (!GetVersionExA(&info)) return 1;
  std::printf("%u %u.%u %u\n", info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion,
              info.dwBuildNumber & 0xFFFF);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "set" && argc == 5) return Set(argv[2], argv[3], argv[4]);
  if (command == "get" && argc == 4) return Get(argv[2], argv[3]);
  if (command == "subkeys" && argc == 3) return SubKeys(argv[2]);
  if (command == "write-loop" && argc == 3) return WriteLoop(argv[2]);
  if (command == "hold" && argc == 5) return Hold(argv[2], argv[3], argv[4]);
  if (command == "version" && argc == 2) return Version();
  std::fprintf(stderr, "usage: store_child set|get|subkeys|write-loop|hold|version ...\n");
  return 2;
}
