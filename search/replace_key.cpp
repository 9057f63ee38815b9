#include "search/replace_key.h"

#include <algorithm>
#include <vector>

#include "keyops/key_transfer.h"
#include "keyops/subtree.h"
#include "registry/multi_string.h"
#include "registry/registry_error.h"
#include "registry/scoped_key.h"
#include "search/key_listing.h"
#include "search/match_text.h"
#include "undo/journal.h"

namespace orvane {
namespace {

// The deepest level below a walk's top key at which the product key can be
// met: two names below HKEY_LOCAL_MACHINE.
constexpr size_t kProductKeyDepth = 2;

// A string's new bytes: the text with exactly one terminating zero.
std::string StringData(std::string text) {
  while (!text.empty() && text.back() == '\0') text.pop_back();
  text.push_back('\0');
  return text;
}

// A multi-string's new bytes: "|" separates entries; ends in two zeros.
std::string MultiStringData(std::string text) {
  std::replace(text.begin(), text.end(), '|', '\0');
  while (text.size() < 2 || text[text.size() - 1] != '\0' || text[text.size() - 2] != '\0') text.push_back('\0');
  return text;
}

// A multi-string's data with `find` replaced in each entry, every
// occurrence; a "|" in `with` separates entries, one already in an entry
// stays a character. False when no entry holds `find`.
bool ReplacedEntries(const std::string& bytes, const std::string& find, const std::string& with, std::string& data) {
  std::string with_separators = with;
  std::replace(with_separators.begin(), with_separators.end(), '|', '\0');
  std::vector<std::string> entries = MultiStringEntries(bytes);
  bool matched = false;
  for (std::string& entry : entries) {
    if (FindNoCase(entry, find) == std::string::npos) continue;
    entry = ReplaceAllNoCase(std::move(entry), find, with_separators);
    matched = true;
  }
  if (matched) data = MultiStringFromEntries(entries);
  return matched;
}

// The name after replacement, or false when the name does not match.
bool ReplacedName(const std::string& name, const ReplaceOptions& options, std::string& new_name) {
  if (!TextMatches(name, options.find.text, options.find.mode)) return false;
  new_name = options.find.mode == static_cast<uint8_t>(MatchMode::kWholeString)
                 ? options.with
                 : ReplaceAllNoCase(name, options.find.text, options.with);
  return true;
}

void WriteData(HKEY key, const std::string& name, uint32_t type, const std::string& data) {
  RaiseRegistryError(RegSetValueExA(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.data()),
                                    static_cast<DWORD>(data.size())));
}

// Moves a value to a new name with its current type and data.
void RenameValue(HKEY key, const std::string& name, const std::string& new_name) {
  DWORD type = 0;
  DWORD size = 0;
  RaiseRegistryError(RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size));
  std::string data(size, '\0');
  RaiseRegistryError(
      RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<LPBYTE>(data.data()), &size));
  data.resize(size);
  WriteData(key, new_name, type, data);
  RaiseRegistryError(RegDeleteValueA(key, name.c_str()));
}

void ReplaceInValues(HKEY key, const ReplaceOptions& options, int32_t& count) {
  std::vector<ListedValue> values;
  RaiseRegistryError(ListValues(key, &values));
  std::string replaced;
  if (options.find.value_data) {
    for (const ListedValue& value : values) {
      if (!ReplacedData(value.type, value.bytes, options, replaced)) continue;
      WriteData(key, value.name, value.type, replaced);
      ++count;
    }
  }
  if (!options.find.value_names) return;
  for (const ListedValue& value : values) {
    if (!ReplacedName(value.name, options, replaced)) continue;
    RenameValue(key, value.name, replaced);
    ++count;
  }
}

// One key of a replace walk: its path and its sub-key names, taken when
// the key was entered, and the next of them to enter.
struct ReplaceLevel {
  std::string path;
  std::vector<std::string> children;
  size_t next = 0;
};

// Enters a key: its progress step, its values, then the names of its
// sub-keys. A key that cannot be opened is left as it is.
ReplaceLevel EnterKey(HKEY root, std::string path, const ReplaceOptions& options, const ProgressWindow& progress,
                      bool step, int32_t& count) {
  if (step) progress.Step();
  ReplaceLevel level{std::move(path), {}, 0};
  ScopedKey key;
  if (key.Open(root, level.path) != ERROR_SUCCESS) return level;
  if (options.find.value_names || options.find.value_data) ReplaceInValues(key.get(), options, count);
  RaiseRegistryError(ListSubKeyNames(key.get(), &level.children));
  return level;
}

}  // namespace

bool ReplacedData(uint32_t type, const std::string& bytes, const ReplaceOptions& options, std::string& data) {
  if (!IsTextType(type)) return false;
  const std::string& find = options.find.text;
  if (options.find.mode == static_cast<uint8_t>(MatchMode::kWholeString)) {
    if (!TextMatches(DataText(type, bytes), find, options.find.mode)) return false;
    data = type == REG_MULTI_SZ ? MultiStringData(options.with) : StringData(options.with);
    return true;
  }
  if (options.find.mode != static_cast<uint8_t>(MatchMode::kPartialString)) return false;
  if (type == REG_MULTI_SZ) return ReplacedEntries(bytes, find, options.with, data);
  if (FindNoCase(bytes, find) == std::string::npos) return false;
  data = StringData(ReplaceFirstNoCase(bytes, find, options.with));
  return true;
}

void ReplaceInKey(HKEY root, const std::string& path, const ReplaceOptions& options, const ProgressWindow& progress,
                  int16_t depth, int32_t& count) {
  // The undo journals under the product key are the control's bookkeeping,
  // not data: a walk never changes them (a rewritten record would undo the
  // wrong thing).
  if (IsInsideProductKey(root, path)) return;
  // The walk keeps its own stack, so any depth is safe. A sub-key is
  // renamed after its whole subtree has been through.
  std::vector<ReplaceLevel> stack;
  stack.push_back(EnterKey(root, path, options, progress, depth > 0, count));
  std::string new_name;
  while (!stack.empty()) {
    ReplaceLevel& level = stack.back();
    if (level.next == level.children.size()) {
      stack.pop_back();
      if (stack.empty() || !options.find.key_names) continue;
      ReplaceLevel& parent = stack.back();
      const std::string& name = parent.children[parent.next - 1];
      if (!ReplacedName(name, options, new_name)) continue;
      TransferKey(root, ChildPath(parent.path, name), root, ChildPath(parent.path, new_name),
                  TransferOperation::kMove, false);
      ++count;
      continue;
    }
    std::string child = ChildPath(level.path, level.children[level.next++]);
    if (stack.size() <= kProductKeyDepth && IsProductKey(root, child)) continue;
    const bool step = static_cast<int>(stack.size()) < depth;
    stack.push_back(EnterKey(root, std::move(child), options, progress, step, count));
  }
}

}  // namespace orvane
