// reg add: creates a key (with its missing parents) and, with /v NAME, /ve,
// /t or /d, sets one value in it. An existing value is overwritten only
// after a Yes, or at once with /f.
#include "store/store_extensions.h"
#include "tools/reg/reg_key_name.h"
#include "tools/reg/reg_messages.h"
#include "tools/reg/reg_store.h"
#include "tools/reg/reg_value_text.h"
#include "tools/reg/reg_verbs.h"

namespace orvane::reg {
namespace {

// The value the switches ask for, or nothing after printing why not.
std::optional<Value> RequestedValue(Console& console, const Options& options) {
  const std::string type_name = options.type.value_or("REG_SZ");
  const std::optional<DWORD> type = ParseTypeName(type_name);
  if (!type) {
    Fail(console, Message::kInvalidType, type_name);
    return std::nullopt;
  }
  const bool number = *type == REG_DWORD || *type == REG_QWORD;
  const std::string text = options.data.value_or(number ? "0" : "");
  std::optional<std::string> data = ParseData(*type, text, options.separator.value_or(""));
  if (!data) {
    Fail(console, Message::kInvalidData, TypeName(*type));
    return std::nullopt;
  }
  return Value{options.value_name.value_or(""), *type, std::move(*data)};
}

bool ValueExists(HKEY key, const std::string& name) {
  LONG status = ERROR_SUCCESS;
  return ReadValue(key, name, &status).has_value();
}

}  // namespace

int Add(Console& console, const Options& options) {
  if (options.value_name && options.default_value) return FailSyntax(console, "add");
  if (options.separator && (options.separator->empty() || ParseTypeName(options.type.value_or("")) != REG_MULTI_SZ)) {
    return FailSyntax(console, "add");
  }
  const std::optional<KeyName> key = ParseKeyName(options.positional[0]);
  if (!key) return Fail(console, Message::kInvalidKey);
  const bool sets_value = options.value_name || options.default_value || options.type || options.data;
  std::optional<Value> value;
  if (sets_value && !(value = RequestedValue(console, options))) return kExitFailure;

  platform::RegistryMethodScope scope;
  regedit::KeyHandle handle;
  LONG status = RegCreateKeyExA(key->root, key->path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, handle.out(), nullptr);
  if (status != ERROR_SUCCESS) return FailStatus(console, status);
  if (value) {
    if (!options.force && ValueExists(handle.get(), value->name) &&
        !Confirm(console, "Value " + DisplayName(value->name) + " exists, overwrite(Yes/No)?")) {
      console.out << MessageText(Message::kCancelled) << '\n';
      return kExitSuccess;
    }
    if ((status = WriteValue(handle.get(), *value)) != ERROR_SUCCESS) return FailStatus(console, status);
  }
  return Succeed(console);
}

}  // namespace orvane::reg
