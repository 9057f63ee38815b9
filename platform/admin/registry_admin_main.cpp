// orvane-registry-admin: administration of the registry store.
//   orvane-registry-admin [--store FILE] where
//   orvane-registry-admin [--store FILE] check
//   orvane-registry-admin [--store FILE] read-only on|off ROOT\PATH
// ROOT is a root key name or its abbreviation (HKLM, HKCU, HKCR, HKU, HKCC,
// HKDD). Without --store the default store is used. Exit status: 0 done,
// 1 a registry status (printed), 2 a usage error.
#include <strings.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry_store.h"

namespace {

namespace p = orvane::platform;

struct RootName {
  std::string_view name;
  std::string_view abbreviation;
  HKEY root;
};

const RootName kRoots[] = {
    {"HKEY_CLASSES_ROOT", "HKCR", HKEY_CLASSES_ROOT},   {"HKEY_CURRENT_USER", "HKCU", HKEY_CURRENT_USER},
    {"HKEY_LOCAL_MACHINE", "HKLM", HKEY_LOCAL_MACHINE}, {"HKEY_USERS", "HKU", HKEY_USERS},
    {"HKEY_CURRENT_CONFIG", "HKCC", HKEY_CURRENT_CONFIG}, {"HKEY_DYN_DATA", "HKDD", HKEY_DYN_DATA},
};

bool SameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

// Splits ROOT\PATH; returns false for an unknown root.
bool ParseKey(const std::string& text, HKEY* root, std::string* path) {
  const size_t slash = text.find('\\');
  const std::string_view root_part = std::string_view(text).substr(0, slash);
  *path = slash == std::string::npos ? "" : text.substr(slash + 1);
  for (const RootName& entry : kRoots) {
    if (SameText(root_part, entry.name) || SameText(root_part, entry.abbreviation)) {
      *root = entry.root;
      return true;
    }
  }
  return false;
}

int Usage() {
  std::fprintf(stderr,
               "usage: orvane-registry-admin [--store FILE] where | check | read-only on|off ROOT\\PATH\n");
  return 2;
}

int ReadOnly(const std::vector<std::string>& args) {
  if (args.size() != 3 || (args[1] != "on" && args[1] != "off")) return Usage();
  HKEY root = nullptr;
  std::string path;
  if (!ParseKey(args[2], &root, &path)) {
    std::fprintf(stderr, "unknown root key in \"%s\"\n", args[2].c_str());
    return 2;
  }
  const LONG status = p::SetRegistryKeyReadOnly(root, path.c_str(), args[1] == "on");
  if (status == ERROR_SUCCESS) return 0;
  std::printf("status %d\n", static_cast<int>(status));
  return 1;
}

int Check() {
  const std::string report = p::CheckRegistryStore();
  std::printf("%s\n", report.c_str());
  return report == "ok" ? 0 : 1;
}

int Where() {
  std::string error;
  const std::filesystem::path file = p::CurrentRegistryPath().empty() ? p::DefaultRegistryPath(&error)
                                                                      : p::CurrentRegistryPath();
  if (file.empty()) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  std::printf("%s\n", file.c_str());
  return 0;
}

int Run(std::vector<std::string> args) {
  if (args.size() >= 2 && args[0] == "--store") {
    if (p::SelectRegistryStore(args[1]) != ERROR_SUCCESS) return 1;
    args.erase(args.begin(), args.begin() + 2);
  }
  if (args.empty()) return Usage();
  if (args[0] == "where" && args.size() == 1) return Where();
  if (args[0] == "check" && args.size() == 1) return Check();
  if (args[0] == "read-only") return ReadOnly(args);
  return Usage();
}

}  // namespace

int main(int argc, char** argv) {
  const int exit_code = Run(std::vector<std::string>(argv + 1, argv + argc));
  // A change that did not reach the store makes the run a failure.
  if (const LONG status = p::CommitRegistryWrites()) {
    std::fprintf(stderr, "registry changes were not saved (status %d)\n", static_cast<int>(status));
    return 1;
  }
  return exit_code;
}
