// reg copy: copies the values of one key into another (created when
// missing) and, with /s, its whole subtree. The source is read whole before
// anything is written, so copying a key below itself copies it once. A value
// that exists in the destination is overwritten after a Yes (a No keeps it),
// or at once with /f.
#include "store/store_extensions.h"
#include "tools/reg/reg_key_name.h"
#include "tools/reg/reg_messages.h"
#include "tools/reg/reg_tree.h"
#include "tools/reg/reg_verbs.h"
#include "tools/regedit/key_progress.h"
#include "tools/regedit/root_keys.h"

namespace orvane::reg {
namespace {

bool SameKey(const KeyName& a, const KeyName& b) {
  return a.root == b.root && regedit::EqualsIgnoringCase(a.path, b.path);
}

LONG WriteTree(Console& console, HKEY parent, const std::string& path, const KeyTree& tree, bool force) {
  regedit::KeyHandle key;
  LONG status = RegCreateKeyExA(parent, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, regedit::kWriteAccess,
                                nullptr, key.out(), nullptr);
  if (status != ERROR_SUCCESS) return status;
  regedit::KeyProgress::CountKey();
  for (const Value& value : tree.values) {
    LONG missing = ERROR_SUCCESS;
    const bool exists = ReadValue(key.get(), value.name, &missing).has_value();
    if (exists && !force && !Confirm(console, "Value " + DisplayName(value.name) + " exists, overwrite(Yes/No)?")) {
      continue;
    }
    if ((status = WriteValue(key.get(), value)) != ERROR_SUCCESS) return status;
  }
  for (const auto& [name, subtree] : tree.subkeys) {
    if ((status = WriteTree(console, key.get(), name, subtree, force)) != ERROR_SUCCESS) return status;
  }
  return ERROR_SUCCESS;
}

}  // namespace

int Copy(Console& console, const Options& options) {
  const std::optional<KeyName> source = ParseKeyName(options.positional[0]);
  const std::optional<KeyName> target = ParseKeyName(options.positional[1]);
  if (!source || !target) return Fail(console, Message::kInvalidKey);
  if (SameKey(*source, *target)) return Fail(console, Message::kSameKey);

  platform::RegistryMethodScope scope;
  regedit::KeyHandle handle;
  KeyTree tree;
  LONG status = OpenKey(*source, KEY_READ, &handle);
  if (status == ERROR_SUCCESS) {
    regedit::KeyProgress progress("Reading");
    status = ReadTree(handle.get(), options.recurse, &tree);
  }
  if (status == ERROR_SUCCESS) {
    regedit::KeyProgress progress("Copying");
    status = WriteTree(console, target->root, target->path, tree, options.force);
  }
  return status == ERROR_SUCCESS ? Succeed(console) : FailStatus(console, status);
}

}  // namespace orvane::reg
