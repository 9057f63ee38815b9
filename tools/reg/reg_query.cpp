// reg query. Output grammar (every line ends with a line feed):
//   listing   = "" [KEY values ""] { SUBKEY }          without /s
//   listing   = "" [KEY values ""] { tree }            with /s
//   tree      = SUBKEY values "" { tree }
//   one value = "" KEY value ""                         /v NAME or /ve
//   search    = { "" KEY { value } } "" "End of search: N match(es) found."
//               (/v NAME or /ve with /s: the keys holding the value;
//                /f TEXT: keys whose name or values match)
//   value     = "    " NAME "    " TYPE "    " DATA
// KEY is the key as given with its root spelled out; SUBKEY the full path of
// a sub-key. A missing default value asked for with /ve shows as
// "(value not set)".
#include <functional>

#include "store/store_extensions.h"
#include "tools/reg/reg_key_name.h"
#include "tools/reg/reg_messages.h"
#include "tools/reg/reg_store.h"
#include "tools/reg/reg_value_text.h"
#include "tools/reg/reg_verbs.h"

namespace orvane::reg {
namespace {

void PrintValue(Console& console, const Value& value) {
  console.out << "    " << Shown(console, DisplayName(value.name)) << "    " << TypeName(value.type) << "    "
              << Shown(console, FormatData(value.type, value.data)) << '\n';
}

// A key's line: its full path.
void PrintKey(Console& console, const KeyName& key) { console.out << Shown(console, key.Full()) << '\n'; }

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Whether `pattern` ("*" any run, "?" any one character, letter case
// ignored) matches the whole of `text`. Backtracks only to the last "*", so
// the work stays within the product of the two lengths.
bool Matches(std::string_view pattern, std::string_view text) {
  size_t p = 0, t = 0, star = std::string_view::npos, resume = 0;
  while (t < text.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      resume = t;
    } else if (p < pattern.size() && (pattern[p] == '?' || Lower(pattern[p]) == Lower(text[t]))) {
      ++p;
      ++t;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      t = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

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

int QueryOneValue(Console& console, const KeyName& key, HKEY handle, const std::string& name) {
  LONG status = ERROR_SUCCESS;
  std::optional<Value> value = ReadValue(handle, name, &status);
  if (!value && status == ERROR_FILE_NOT_FOUND && name.empty()) value = Value{"", REG_SZ, ""};
  if (!value) return FailStatus(console, status);
  console.out << '\n';
  PrintKey(console, key);
  if (status == ERROR_FILE_NOT_FOUND) {
    console.out << "    (Default)    REG_SZ    (value not set)\n";
  } else {
    PrintValue(console, *value);
  }
  console.out << '\n';
  return kExitSuccess;
}

int SearchValue(Console& console, const KeyName& key, HKEY handle, const std::string& name) {
  int matches = 0;
  const LONG status = Walk(key, handle, [&](const KeyName& at, HKEY open) {
    LONG read = ERROR_SUCCESS;
    if (const std::optional<Value> value = ReadValue(open, name, &read)) {
      console.out << '\n';
      PrintKey(console, at);
      PrintValue(console, *value);
      ++matches;
    }
  });
  return FinishSearch(console, status, matches);
}

int SearchText(Console& console, const KeyName& key, HKEY handle, const std::string& text, bool recurse) {
  const std::string pattern = "*" + text + "*";
  int matches = 0;
  LONG status = ERROR_SUCCESS;  // the first failure
  auto visit = [&](const KeyName& at, HKEY open) {
    const bool name_matches = at.path != key.path && Matches(pattern, at.path.substr(at.path.rfind('\\') + 1));
    std::vector<Value> found;
    LONG read = ERROR_SUCCESS;
    std::vector<Value> values = ReadValues(open, &read);
    if (status == ERROR_SUCCESS) status = read;
    for (Value& value : values) {
      if (Matches(pattern, value.name) || Matches(pattern, FormatData(value.type, value.data))) {
        found.push_back(std::move(value));
      }
    }
    if (!name_matches && found.empty()) return;
    console.out << '\n';
    PrintKey(console, at);
    for (const Value& value : found) PrintValue(console, value);
    matches += static_cast<int>(name_matches) + static_cast<int>(found.size());
  };
  if (recurse) {
    const LONG walked = Walk(key, handle, visit);
    if (status == ERROR_SUCCESS) status = walked;
  } else {
    visit(key, handle);
    LONG listed = ERROR_SUCCESS;
    for (const std::string& name : SubKeyNames(handle, &listed)) {
      if (Matches(pattern, name)) {
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
LONG PrintValues(Console& console, const KeyName& key, HKEY handle, bool always) {
  LONG status = ERROR_SUCCESS;
  const std::vector<Value> values = ReadValues(handle, &status);
  if (status != ERROR_SUCCESS) return status;
  if (values.empty() && !always) return status;
  PrintKey(console, key);
  for (const Value& value : values) PrintValue(console, value);
  console.out << '\n';
  return status;
}

int List(Console& console, const KeyName& key, HKEY handle, bool recurse) {
  console.out << '\n';
  LONG status = PrintValues(console, key, handle, false);
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
      const LONG result = PrintValues(console, at, open, true);
      if (printed == ERROR_SUCCESS) printed = result;
    });
    if (status == ERROR_SUCCESS) status = printed;
    if (status != ERROR_SUCCESS) break;
  }
  return status == ERROR_SUCCESS ? kExitSuccess : FailStatus(console, status);
}

}  // namespace

int Query(Console& console, const Options& options) {
  const int selectors = options.value_name.has_value() + options.default_value + options.find.has_value();
  if (selectors > 1) return FailSyntax(console, "query");
  const std::optional<KeyName> key = ParseKeyName(options.positional[0]);
  if (!key) return Fail(console, Message::kInvalidKey);
  platform::RegistryMethodScope scope;
  regedit::KeyHandle handle;
  if (const LONG status = OpenKey(*key, KEY_READ, &handle)) return FailStatus(console, status);
  if (options.find) return SearchText(console, *key, handle.get(), *options.find, options.recurse);
  if (options.value_name || options.default_value) {
    const std::string name = options.value_name.value_or("");
    return options.recurse ? SearchValue(console, *key, handle.get(), name)
                           : QueryOneValue(console, *key, handle.get(), name);
  }
  return List(console, *key, handle.get(), options.recurse);
}

}  // namespace orvane::reg
