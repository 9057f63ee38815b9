// reg delete: removes a key with its whole subtree, one value (/v NAME or
// /ve), or every value of a key but not its sub-keys (/va). Asks first
// unless /f is given; a No changes nothing.
#include "store/store_extensions.h"
#include "tools/reg/reg_key_name.h"
#include "tools/reg/reg_messages.h"
#include "tools/reg/reg_store.h"
#include "tools/reg/reg_verbs.h"
#include "tools/regedit/reg_import.h"

namespace orvane::reg {
namespace {

LONG DeleteAllValues(HKEY key) {
  LONG status = ERROR_SUCCESS;
  for (const Value& value : ReadValues(key, &status)) {
    if (const LONG failed = RegDeleteValueA(key, value.name.c_str())) return failed;
  }
  return status;
}

std::string Question(const Options& options, const KeyName& key) {
  if (options.all_values) return "Delete all values under the registry key " + key.Full() + " (Yes/No)?";
  if (options.value_name || options.default_value) {
    return "Delete the registry value " + DisplayName(options.value_name.value_or("")) + " (Yes/No)?";
  }
  return "Permanently delete the registry key " + key.Full() + " (Yes/No)?";
}

LONG DeleteValue(HKEY key, const std::string& name) {
  LONG status = ERROR_SUCCESS;
  if (!ReadValue(key, name, &status)) return status;
  return RegDeleteValueA(key, name.c_str());
}

}  // namespace

int Delete(Console& console, const Options& options) {
  const int selectors = options.value_name.has_value() + options.default_value + options.all_values;
  if (selectors > 1) return FailSyntax(console, "delete");
  const std::optional<KeyName> key = ParseKeyName(options.positional[0]);
  if (!key) return Fail(console, Message::kInvalidKey);
  if (selectors == 0 && key->path.empty()) return Fail(console, Message::kCannotDeleteRoot);

  platform::RegistryMethodScope scope;
  regedit::KeyHandle handle;
  LONG status = OpenKey(*key, KEY_READ | KEY_SET_VALUE, &handle);
  if (status != ERROR_SUCCESS) return FailStatus(console, status);
  if (options.value_name || options.default_value) {
    LONG missing = ERROR_SUCCESS;
    if (!ReadValue(handle.get(), options.value_name.value_or(""), &missing)) return FailStatus(console, missing);
  }
  if (!options.force && !Confirm(console, Question(options, *key))) {
    console.out << MessageText(Message::kCancelled) << '\n';
    return kExitSuccess;
  }
  if (options.all_values) {
    status = DeleteAllValues(handle.get());
  } else if (selectors == 1) {
    status = DeleteValue(handle.get(), options.value_name.value_or(""));
  } else {
    handle.Close();
    status = regedit::DeleteKeyTree(key->root, key->path);
  }
  return status == ERROR_SUCCESS ? Succeed(console) : FailStatus(console, status);
}

}  // namespace orvane::reg
