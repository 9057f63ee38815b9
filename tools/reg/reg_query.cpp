// reg query. Output grammar (every line ends with a line feed):
//   listing   = "" [KEY values ""] { SUBKEY }          without /s
//   listing   = "" [KEY values ""] { tree }            with /s
//   tree      = SUBKEY values "" { tree }
//   one value = "" KEY value ""                         /v NAME or /ve
//   search    = { "" KEY { value } } "" "End of search: N match(es) found."
//               (/v NAME or /ve with /s: the keys holding the value;
//                /f /k /d /c /e /t: keys whose name or values match)
//   value     = "    " NAME "    " TYPE "    " DATA
// TYPE is followed by " (NUMBER)" with /z; a list's strings in DATA are
// joined by the /se separator, "\0" by default.
// KEY is the key as given with its root spelled out; SUBKEY the full path of
// a sub-key. A missing default value asked for with /ve shows as
// "(value not set)".
#include <functional>

#include "store/store_extensions.h"
#include "tools/reg/reg_key_name.h"
#include "tools/reg/reg_messages.h"
#include "tools/reg/reg_search.h"
#include "tools/reg/reg_store.h"
#include "tools/reg/reg_value_text.h"
#include "tools/reg/reg_verbs.h"

namespace orvane::reg {
namespace {

// How values are shown: a list's strings joined by `separator` (/se), the
// type followed by its number with /z.
struct ValueStyle {
  std::string separator = "\\0";
  bool type_numbers = false;
};

std::string TypeText(const ValueStyle& style, DWORD type) {
  if (!style.type_numbers) return TypeName(type);
  return TypeName(type) + " (" + std::to_string(type) + ")";
}

std::string DataText(const ValueStyle& style, const Value& value) {
  return FormatData(value.type, value.data, style.separator);
}

void PrintValue(Console& console, const ValueStyle& style, const Value& value) {
  console.out << "    " << Shown(console, DisplayName(value.name)) << "    " << TypeText(style, value.type) << "    "
              << Shown(console, DataText(style, value)) << '\n';
}

// A key's line: its full path.
void PrintKey(Console& console, const KeyName& key) { console.out << Shown(console, key.Full()) << '\n'; }

// Calls `visit` for `key` and every key below it, depth first in the
// store's order, with each key open for reading; stops at the first failure.
LONG Walk(const KeyName& key, HKEY handle, const std::function<void(const KeyName&, HKEY)>& visit) {
  visit(key, handle);
  LONG status = ERROR_SUCCESS;
  for (const std::string& name : SubKeyNames(handle, &status)) {
    regedit::KeyHandle child;
    status = RegOpenKeyExA(handle, name.c_str(), 0, KEY_READ, child.out());
    if (status == ERROR_SUCCESS) status = Walk(key.Child(name), child.get(), visit);
    if (status != ERROR_SUCCESS) return status;
  }
  return status;
}

int FinishSearch(Console& console, LONG status, int matches) {
  if (status != ERROR_SUCCESS) return FailStatus(console, status);
  console.out << "\nEnd of search: " << matches << " match(es) found.\n";
  return kExitSuccess;
}

int QueryOneValue(Console& console, const ValueStyle& style, const KeyName& key, HKEY handle, const std::string& name) {
  LONG status = ERROR_SUCCESS;
  std::optional<Value> value = ReadValue(handle, name, &status);
  if (!value && status == ERROR_FILE_NOT_FOUND && name.empty()) value = Value{"", REG_SZ, ""};
  if (!value) return FailStatus(console, status);
  console.out << '\n';
  PrintKey(console, key);
  if (status == ERROR_FILE_NOT_FOUND) {
    console.out << "    (Default)    " << TypeText(style, REG_SZ) << "    (value not set)\n";
  } else {
    PrintValue(console, style, *value);
  }
  console.out << '\n';
  return kExitSuccess;
}

int SearchValue(Console& console, const ValueStyle& style, const KeyName& key, HKEY handle, const std::string& name) {
  int matches = 0;
  const LONG status = Walk(key, handle, [&](const KeyName& at, HKEY open) {
    LONG read = ERROR_SUCCESS;
    if (const std::optional<Value> value = ReadValue(open, name, &read)) {
      console.out << '\n';
      PrintKey(console, at);
      PrintValue(console, style, *value);
      ++matches;
    }
  });
  return FinishSearch(console, status, matches);
}

bool ValueMatches(const SearchSpec& spec, const ValueStyle& style, const Value& value) {
  if (spec.type && value.type != *spec.type) return false;
  return (spec.value_names && Matches(spec.pattern, value.name, spec.case_sensitive)) ||
         (spec.data && Matches(spec.pattern, DataText(style, value), spec.case_sensitive));
}

bool KeyNameMatches(const SearchSpec& spec, std::string_view name) {
  return spec.key_names && Matches(spec.pattern, name, spec.case_sensitive);
}

int Search(Console& console, const ValueStyle& style, const KeyName& key, HKEY handle, const SearchSpec& spec,
           bool recurse) {
  int matches = 0;
  LONG status = ERROR_SUCCESS;  // the first failure
  auto visit = [&](const KeyName& at, HKEY open) {
    const bool name_matches = at.path != key.path && KeyNameMatches(spec, at.path.substr(at.path.rfind('\\') + 1));
    std::vector<Value> found;
    LONG read = ERROR_SUCCESS;
    std::vector<Value> values = ReadValues(open, &read);
    if (status == ERROR_SUCCESS) status = read;
    for (Value& value : values) {
      if (ValueMatches(spec, style, value)) found.push_back(std::move(value));
    }
    if (!name_matches && found.empty()) return;
    console.out << '\n';
    PrintKey(console, at);
    for (const Value& value : found) PrintValue(console, style, value);
    matches += static_cast<int>(name_matches) + static_cast<int>(found.size());
  };
  if (recurse) {
    const LONG walked = Walk(key, handle, visit);
    if (status == ERROR_SUCCESS) status = walked;
  } else {
    visit(key, handle);
    LONG listed = ERROR_SUCCESS;
    for (const std::string& name : SubKeyNames(handle, &listed)) {
      if (KeyNameMatches(spec, name)) {
        console.out << '\n';
        PrintKey(console, key.Child(name));
        ++matches;
      }
    }
    if (status == ERROR_SUCCESS) status = listed;
  }
  return FinishSearch(console, status, matches);
}

// Prints a key's values block ("KEY", the values, a blank line) when it has
// values or `always`.
LONG PrintValues(Console& console, const ValueStyle& style, const KeyName& key, HKEY handle, bool always) {
  LONG status = ERROR_SUCCESS;
  const std::vector<Value> values = ReadValues(handle, &status);
  if (status != ERROR_SUCCESS) return status;
  if (values.empty() && !always) return status;
  PrintKey(console, key);
  for (const Value& value : values) PrintValue(console, style, value);
  console.out << '\n';
  return status;
}

int List(Console& console, const ValueStyle& style, const KeyName& key, HKEY handle, bool recurse) {
  console.out << '\n';
  LONG status = PrintValues(console, style, key, handle, false);
  if (status != ERROR_SUCCESS) return FailStatus(console, status);
  const std::vector<std::string> names = SubKeyNames(handle, &status);
  for (const std::string& name : names) {
    if (!recurse) {
      PrintKey(console, key.Child(name));
      continue;
    }
    regedit::KeyHandle child;
    status = RegOpenKeyExA(handle, name.c_str(), 0, KEY_READ, child.out());
    if (status != ERROR_SUCCESS) break;
    LONG printed = ERROR_SUCCESS;
    status = Walk(key.Child(name), child.get(), [&](const KeyName& at, HKEY open) {
      const LONG result = PrintValues(console, style, at, open, true);
      if (printed == ERROR_SUCCESS) printed = result;
    });
    if (status == ERROR_SUCCESS) status = printed;
    if (status != ERROR_SUCCESS) break;
  }
  return status == ERROR_SUCCESS ? kExitSuccess : FailStatus(console, status);
}

// Whether `text` is one character: one byte, or one UTF-8 sequence.
bool IsOneCharacter(std::string_view text) {
  size_t starts = 0;
  for (const char c : text) starts += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return starts == 1 && (text.size() == 1 || static_cast<unsigned char>(text[0]) >= 0xC0);
}

}  // namespace

int Query(Console& console, const Options& options) {
  std::optional<DWORD> type;
  if (options.type && !(type = ParseTypeName(*options.type))) {
    return Fail(console, Message::kInvalidType, *options.type);
  }
  const std::optional<SearchSpec> search = SearchFor(options, type);
  const int selectors = options.value_name.has_value() + options.default_value + search.has_value();
  if (selectors > 1 || (options.separator && !IsOneCharacter(*options.separator))) return FailSyntax(console, "query");
  const std::optional<KeyName> key = ParseKeyName(options.positional[0]);
  if (!key) return Fail(console, Message::kInvalidKey);
  const ValueStyle style{options.separator.value_or("\\0"), options.type_numbers};
  platform::RegistryMethodScope scope;
  regedit::KeyHandle handle;
  if (const LONG status = OpenKey(*key, KEY_READ, &handle)) return FailStatus(console, status);
  if (search) return Search(console, style, *key, handle.get(), *search, options.recurse);
  if (options.value_name || options.default_value) {
    const std::string name = options.value_name.value_or("");
    return options.recurse ? SearchValue(console, style, *key, handle.get(), name)
                           : QueryOneValue(console, style, *key, handle.get(), name);
  }
  return List(console, style, *key, handle.get(), options.recurse);
}

}  // namespace orvane::reg
