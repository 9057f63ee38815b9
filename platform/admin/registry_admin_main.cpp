// orvane-registry-admin: administration of the registry store.
//   orvane-registry-admin [--store FILE] where
//   orvane-registry-admin [--store FILE] check
//   orvane-registry-admin [--store FILE] recover NEWFILE
//   orvane-registry-admin [--store FILE] read-only on|off ROOT\PATH
// ROOT is a root key name or its abbreviation (HKLM, HKCU, HKCR, HKU, HKCC,
// HKDD). Without --store the default store is used. `check` and `recover`
// never create a store, nor change the one they read. Exit status: 0 done,
// 1 a registry status or a problem found (printed), 2 a usage error.
#include <strings.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "platform/admin/store_recovery.h"
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
               "usage: orvane-registry-admin [--store FILE] where | check | recover NEWFILE |\n"
               "                             read-only on|off ROOT\\PATH\n");
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

// False, with a message, when there is no store file at `file`.
bool StoreExists(const std::filesystem::path& file) {
  std::error_code error;
  if (std::filesystem::exists(file, error)) return true;
  std::fprintf(stderr, "no registry store at %s\n", file.c_str());
  return false;
}

int Check(const std::filesystem::path& file) {
  if (!StoreExists(file)) return 1;
  if (p::SelectRegistryStore(file) != ERROR_SUCCESS) return 1;
  const std::string report = p::CheckRegistryStore();
  std::printf("%s\n", report.c_str());
  return report == "ok" ? 0 : 1;
}

int Recover(const std::filesystem::path& file, const std::filesystem::path& target) {
  if (!StoreExists(file)) return 1;
  const p::RecoveryReport report = p::RecoverStore(file, std::filesystem::absolute(target));
  if (!report.error.empty()) {
    std::fprintf(stderr, "%s\n", report.error.c_str());
    return 1;
  }
  std::printf("%lld keys and %lld values copied to %s; %lld lists could not be read or copied\n",
              static_cast<long long>(report.keys), static_cast<long long>(report.values), target.c_str(),
              static_cast<long long>(report.unreadable));
  return 0;
}

int Run(std::vector<std::string> args) {
  std::string error;
  std::filesystem::path file;
  if (args.size() >= 2 && args[0] == "--store") {
    file = std::filesystem::absolute(args[1]);
    args.erase(args.begin(), args.begin() + 2);
  } else {
    file = p::DefaultRegistryPath(&error);
  }
  if (args.empty()) return Usage();
  if (file.empty()) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  if (args[0] == "where" && args.size() == 1) {
    std::printf("%s\n", file.c_str());
    return 0;
  }
  if (args[0] == "check" && args.size() == 1) return Check(file);
  if (args[0] == "recover" && args.size() == 2) return Recover(file, args[1]);
  if (args[0] == "read-only") {
    if (p::SelectRegistryStore(file) != ERROR_SUCCESS) return 1;
    return ReadOnly(args);
  }
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
