#include "support/temp_registry.h"

#ifdef _WIN32
#include <windows.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <system_error>

#include "support/read_only_key.h"
#endif

#ifndef _WIN32
#include <stdlib.h>

#include <cstdio>
#include <stdexcept>
#include <string>
#include <system_error>

#include "store/registry_store.h"
#endif

namespace orvane::testing {

#ifdef _WIN32

namespace {

// The keys below which tests create their keys: the roots, and the keys
// under them that the root views show. A key that appears below one of
// them during a test is removed at its end, so each test starts from the
// registry the process found.
struct Area {
  HKEY root;
  const char* path;
};
const Area kAreas[] = {
    {HKEY_CURRENT_USER, ""},
    {HKEY_CURRENT_USER, "Software"},
    {HKEY_LOCAL_MACHINE, ""},
    {HKEY_LOCAL_MACHINE, "SOFTWARE"},
    {HKEY_LOCAL_MACHINE, "SOFTWARE\\Classes"},
    {HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Hardware Profiles\\Current"},
    {HKEY_USERS, ""},
};

std::vector<std::string> SubKeys(HKEY root, const std::string& path) {
  std::vector<std::string> names;
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return names;
  char name[1024];
  for (DWORD index = 0;; ++index) {
    DWORD length = sizeof name;
    if (RegEnumKeyExA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.emplace_back(name, length);
  }
  RegCloseKey(key);
  return names;
}

std::string Join(const std::string& path, const std::string& name) { return path.empty() ? name : path + "\\" + name; }

// Deletes `path` and its subtree, first making every key writable again
// (a test may have left read-only keys).
void RemoveTree(HKEY root, const std::string& path) {
  SetKeyReadOnly(root, path.c_str(), false);
  for (const std::string& name : SubKeys(root, path)) RemoveTree(root, Join(path, name));
  RegDeleteKeyA(root, path.c_str());
}

}  // namespace

// The system registry is used as it is; the directory is for the files a
// test writes, so none lands in the working directory.
TempRegistry::TempRegistry(const std::string& /*kind*/) {
  const std::filesystem::path base = std::filesystem::temp_directory_path();
  for (unsigned attempt = GetTickCount(); dir_.empty(); ++attempt) {
    const std::filesystem::path candidate = base / ("orvane-reg-" + std::to_string(attempt));
    if (std::filesystem::create_directory(candidate)) dir_ = candidate;
  }
  for (const Area& area : kAreas) found_.push_back(SubKeys(area.root, area.path));
}

TempRegistry::~TempRegistry() {
  for (size_t i = 0; i < std::size(kAreas); ++i) {
    const Area& area = kAreas[i];
    for (const std::string& name : SubKeys(area.root, area.path)) {
      if (std::find(found_[i].begin(), found_[i].end(), name) == found_[i].end()) {
        RemoveTree(area.root, Join(area.path, name));
      }
    }
  }
  std::error_code ignored;
  std::filesystem::remove_all(dir_, ignored);
}

std::filesystem::path TempRegistry::file() const { return {}; }

#else

namespace {

// A small prefix as `wineboot` makes one: the keys the root views show
// (HKEY_CURRENT_CONFIG through the link CurrentControlSet), HKCU\Software,
// and no userdef.reg yet.
void WriteWinePrefix(const std::filesystem::path& prefix) {
  std::filesystem::create_directories(prefix);
  const std::string header = "WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\";
  const std::string time = " 1796822368\n#time=1dd87dfeb5f1b8a\n";
  std::string link;
  for (char c : std::string("\\Registry\\Machine\\System\\ControlSet001")) {
    char byte[8];
    std::snprintf(byte, sizeof byte, "%s%02x,00", link.empty() ? "" : ",", static_cast<unsigned>(c));
    link += byte;
  }
  const std::string sections[] = {
      "[Software\\\\Classes]" + time,
      "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion]" + time +
          "\"CommonFilesDir\"=\"C:\\\\Program Files\\\\Common Files\"\n\"ProgramFilesDir\"=\"C:\\\\Program Files\"\n",
      "[Software\\\\Microsoft\\\\Windows NT\\\\CurrentVersion]" + time +
          "\"CurrentBuildNumber\"=\"7601\"\n\"CurrentVersion\"=\"6.1\"\n\"ProductId\"=\"12345-oem-0000001-54321\"\n"
          "\"RegisteredOwner\"=\"\"\n",
      "[System\\\\ControlSet001\\\\Hardware Profiles\\\\Current]" + time,
      "[System\\\\CurrentControlSet]" + time + "#link\n\"SymbolicLinkValue\"=hex(6):" + link + "\n"};
  std::string system = header + "Machine\n\n#arch=win64\n";
  for (const std::string& section : sections) system += "\n" + section;
  std::FILE* file = std::fopen((prefix / "system.reg").c_str(), "w");
  std::fputs(system.c_str(), file);
  std::fclose(file);
  file = std::fopen((prefix / "user.reg").c_str(), "w");
  std::fputs((header + "User\\\\S-1-5-21-0-0-0-1000\n\n#arch=win64\n\n[Software]" + time).c_str(), file);
  std::fclose(file);
}

std::filesystem::path MakeTempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "orvane-reg-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create a temporary directory");
  return pattern;
}

}  // namespace

TempRegistry::TempRegistry(const std::string& kind) : dir_(MakeTempDir()) {
  if (kind == "sqlite") {
    location_ = dir_ / "registry.db";
  } else if (kind == "wine") {
    location_ = dir_ / "prefix";
    WriteWinePrefix(location_);
  } else {
    throw std::invalid_argument("no registry store of kind " + kind);
  }
  const LONG status = platform::SelectRegistryStore(file());
  if (status != ERROR_SUCCESS) {
    throw std::runtime_error("cannot create a registry store, status " + std::to_string(status));
  }
}

TempRegistry::~TempRegistry() {
  platform::CommitRegistryWrites();  // while the store's folder still exists
  std::error_code ignored;
  std::filesystem::remove_all(dir_, ignored);
}

std::filesystem::path TempRegistry::file() const { return location_; }

#endif

}  // namespace orvane::testing
