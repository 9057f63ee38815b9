// reg load, unload, save and restore: Windows hive files through the
// registry's own hive functions (RegLoadKeyA, RegUnLoadKeyA, RegSaveKeyA,
// RegRestoreKeyA). Load and unload take a key directly below HKLM or HKU.
// Save asks before replacing a file (at once with /y), writes the new hive
// beside it and renames it over the old one, and never replaces what is
// not a plain file.
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "store/store_extensions.h"
#include "tools/reg/reg_key_name.h"
#include "tools/reg/reg_messages.h"
#include "tools/reg/reg_store.h"
#include "tools/reg/reg_verbs.h"

namespace orvane::reg {
namespace {

// A key a hive may be loaded as: one name below HKLM or HKU.
std::optional<KeyName> HiveKeyName(const std::string& text) {
  std::optional<KeyName> key = ParseKeyName(text);
  if (!key || (key->root != HKEY_LOCAL_MACHINE && key->root != HKEY_USERS) || key->path.empty() ||
      key->path.find('\\') != std::string::npos) {
    return std::nullopt;
  }
  return key;
}

// Saves `key` as a new hive `path` beside `existing`, then renames it over.
LONG SaveReplacing(HKEY key, const std::string& path) {
  std::string temporary = path + ".XXXXXX";
  const int fd = mkstemp(temporary.data());
  if (fd < 0) return ERROR_ACCESS_DENIED;
  close(fd);
  unlink(temporary.c_str());  // RegSaveKeyA makes the file itself
  LONG status = RegSaveKeyA(key, temporary.c_str(), nullptr);
  if (status == ERROR_SUCCESS && std::rename(temporary.c_str(), path.c_str()) != 0) status = ERROR_ACCESS_DENIED;
  if (status != ERROR_SUCCESS) unlink(temporary.c_str());
  return status;
}

}  // namespace

int Load(Console& console, const Options& options) {
  const std::optional<KeyName> key = HiveKeyName(options.positional[0]);
  if (!key) return Fail(console, Message::kInvalidKey);
  const LONG status = RegLoadKeyA(key->root, key->path.c_str(), options.positional[1].c_str());
  return status == ERROR_SUCCESS ? Succeed(console) : FailStatus(console, status);
}

int Unload(Console& console, const Options& options) {
  const std::optional<KeyName> key = HiveKeyName(options.positional[0]);
  if (!key) return Fail(console, Message::kInvalidKey);
  const LONG status = RegUnLoadKeyA(key->root, key->path.c_str());
  return status == ERROR_SUCCESS ? Succeed(console) : FailStatus(console, status);
}

int Save(Console& console, const Options& options) {
  const std::optional<KeyName> key = ParseKeyName(options.positional[0]);
  const std::string& path = options.positional[1];
  if (!key) return Fail(console, Message::kInvalidKey);
  struct stat info;
  const bool exists = lstat(path.c_str(), &info) == 0;
  if (exists && !S_ISREG(info.st_mode)) return Fail(console, Message::kFileError);
  regedit::KeyHandle handle;
  if (const LONG status = OpenKey(*key, KEY_READ, &handle)) return FailStatus(console, status);
  if (exists && !options.overwrite_file &&
      !Confirm(console, "File " + path + " already exists. Overwrite (Yes/No)?")) {
    console.out << MessageText(Message::kCancelled) << '\n';
    return kExitSuccess;
  }
  const LONG status = exists ? SaveReplacing(handle.get(), path) : RegSaveKeyA(handle.get(), path.c_str(), nullptr);
  return status == ERROR_SUCCESS ? Succeed(console) : FailStatus(console, status);
}

int Restore(Console& console, const Options& options) {
  const std::optional<KeyName> key = ParseKeyName(options.positional[0]);
  if (!key) return Fail(console, Message::kInvalidKey);
  regedit::KeyHandle handle;
  if (const LONG status = OpenKey(*key, KEY_ALL_ACCESS, &handle)) return FailStatus(console, status);
  const LONG status = RegRestoreKeyA(handle.get(), options.positional[1].c_str(), 0);
  return status == ERROR_SUCCESS ? Succeed(console) : FailStatus(console, status);
}

}  // namespace orvane::reg
