#include "store/store_location.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace orvane::platform {
namespace {

std::filesystem::path HomeFolder() {
  const char* home = std::getenv("HOME");
  if (home != nullptr && *home != '\0') return home;
  const passwd* user = getpwuid(getuid());
  if (user != nullptr && user->pw_dir != nullptr) return user->pw_dir;
  return {};
}

bool MakeFolders(const std::filesystem::path& folder, std::string* error) {
  if (folder.empty() || std::filesystem::is_directory(folder)) return true;
  if (!MakeFolders(folder.parent_path(), error)) return false;
  if (mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST) return true;
  *error = "cannot create folder " + folder.string() + ": " + std::strerror(errno);
  return false;
}

}  // namespace

std::filesystem::path ResolveDefaultStorePath(std::string* error) {
  const char* explicit_path = std::getenv("ORVANE_REGISTRY");
  if (explicit_path != nullptr && *explicit_path != '\0') {
    std::filesystem::path file(explicit_path);
    if (file.is_absolute()) return file;
    *error = "ORVANE_REGISTRY must be an absolute path, not \"" + file.string() + "\"";
    return {};
  }
  const char* data_home = std::getenv("XDG_DATA_HOME");
  if (data_home != nullptr && std::filesystem::path(data_home).is_absolute()) {
    return std::filesystem::path(data_home) / "orvane" / "registry.db";
  }
  const std::filesystem::path home = HomeFolder();
  if (home.empty()) {
    *error = "no home folder to keep the registry store in (set ORVANE_REGISTRY)";
    return {};
  }
  return home / ".local" / "share" / "orvane" / "registry.db";
}

bool PrepareStoreFile(const std::filesystem::path& file, std::string* error) {
  if (!MakeFolders(file.parent_path(), error)) return false;
  const int fd = open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) {
    *error = "cannot open registry store " + file.string() + ": " + std::strerror(errno);
    return false;
  }
  close(fd);
  return true;
}

std::filesystem::path RealStorePath(const std::filesystem::path& file) {
  std::error_code error;
  std::filesystem::path real = std::filesystem::canonical(file, error);
  return error ? file : real;
}

}  // namespace orvane::platform
