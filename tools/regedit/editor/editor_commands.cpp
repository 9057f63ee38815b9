// The editor's commands through the control's methods.
#include "tools/regedit/editor/editor_commands.h"


#include <array>
#include <cstdio>
#include <utility>

#include "orvane/error.h"
#include "platform/win32_registry.h"
#include "regfiles/editor_process.h"
#include "search/match_text.h"
#include "search/replace_key.h"
#include "tools/regedit/editor/value_display.h"
#include "tools/regedit/editor/value_input.h"
#include "tools/regedit/key_handle.h"
#include "tools/regedit/root_keys.h"

namespace orvane::regedit::editor {
namespace {

constexpr int32_t kVerifyValueName = 0;
constexpr int32_t kVerifyKey = 1;
constexpr int32_t kOpenAndCreate = 0;

constexpr std::array<std::pair<uint8_t, const char*>, 19> kActionNames{{
    {0xA0, "set value (key created)"}, {0xA1, "create value"},  {0xA2, "change value"},
    {0xA3, "delete value"},            {0xB0, "set values (key created)"}, {0xB1, "set values"},
    {0xC0, "rename value"},            {0xC1, "move value"},    {0xC2, "move value"},
    {0xC3, "move value"},              {0xC4, "copy value"},    {0xC5, "copy value"},
    {0xC6, "copy value"},              {0xD0, "create key"},    {0xD1, "delete key"},
    {0xE0, "create keys"},             {0xF0, "rename key"},    {0xF1, "move key"},
    {0xF2, "copy key"},
}};

// The full name of the root whose handle value a match row holds.
std::string RootName(int32_t root) {
  for (const RootKey& key : RootKeys()) {
    if (static_cast<int32_t>(reinterpret_cast<intptr_t>(key.handle)) == root) return std::string(key.name);
  }
  return {};
}

std::string Joined(const std::string& root, const std::string& path) {
  return path.empty() ? root : root + "\\" + path;
}

// One row of the Find result array as a match.
FindMatch MatchOfRow(const SafeArray& rows, int32_t row) {
  FindMatch match;
  match.key_path = Joined(RootName(ToLong(rows.at(row, 0))), ToString(rows.at(row, 1)));
  if (!rows.at(row, 2).is_empty()) {
    match.kind = MatchKind::kValueName;
    match.value_name = ToString(rows.at(row, 2));
  }
  if (!rows.at(row, 3).is_empty()) {
    match.kind = MatchKind::kValueData;
    match.data_text = ToString(rows.at(row, 3));
  }
  return match;
}

std::string LastPart(const std::string& path) {
  size_t slash = path.rfind('\\');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The stored type and bytes of a value; false when it cannot be read.
bool ReadStored(const std::string& key_path, const std::string& name, DWORD* type, std::string* bytes) {
  KeyPath split = SplitKeyPath(key_path);
  KeyHandle key;
  if (split.root == nullptr || RegOpenKeyExA(split.root, split.path.c_str(), 0, KEY_READ, key.out()) != 0) {
    return false;
  }
  DWORD size = 0;
  if (RegQueryValueExA(key.get(), name.c_str(), nullptr, type, nullptr, &size) != 0) return false;
  bytes->assign(size, '\0');
  return RegQueryValueExA(key.get(), name.c_str(), nullptr, type, reinterpret_cast<BYTE*>(bytes->data()), &size) ==
         0;
}

ReplaceOptions OptionsOf(const FindRequest& request, const std::string& with) {
  ReplaceOptions options;
  options.find = SearchOptions{request.text,
                               static_cast<uint8_t>(request.whole ? MatchMode::kWholeString : MatchMode::kPartialString),
                               request.key_names, request.value_names, request.value_data};
  options.with = with;
  return options;
}

std::string NewName(const std::string& name, const ReplaceOptions& options) {
  return options.find.mode == static_cast<uint8_t>(MatchMode::kWholeString)
             ? options.with
             : ReplaceAllNoCase(name, options.find.text, options.with);
}

// The change a Replace makes at `match`; false when it makes none there.
bool ChangeAt(const FindMatch& match, const ReplaceOptions& options, ReplaceChange* change) {
  change->where = match;
  if (match.kind == MatchKind::kKey) {
    change->before = LastPart(match.key_path);
    change->after = NewName(change->before, options);
    return true;
  }
  if (match.kind == MatchKind::kValueName) {
    change->before = DisplayName(match.value_name);
    change->after = DisplayName(NewName(match.value_name, options));
    return true;
  }
  DWORD type = 0;
  std::string bytes, replaced;
  if (!ReadStored(match.key_path, match.value_name, &type, &bytes)) return false;
  if (!ReplacedData(type, bytes, options, replaced)) return false;
  change->before = DisplayData(type, bytes);
  change->after = DisplayData(type, replaced);
  return true;
}

}  // namespace

std::string ActionName(uint8_t code) {
  for (const auto& [number, name] : kActionNames) {
    if (number == code) return name;
  }
  if (code == 0) return {};
  char text[24];
  std::snprintf(text, sizeof text, "action 0x%02X", code);
  return text;
}

std::string ErrorMessage(int32_t number, const std::string& description) {
  return "Error " + std::to_string(number) + ": " + description;
}

Outcome EditorCommands::Guard(const std::string& done, const std::function<void()>& action) {
  try {
    action();
    return {true, done};
  } catch (const Error& error) {
    return {false, ErrorMessage(error.number(), error.description())};
  }
}

void EditorCommands::Locate(const std::string& key_path, const std::string& value_name) {
  control_.GlobalKeyPath(key_path);
  control_.ValueName(value_name);
}

Outcome EditorCommands::CreateKey(const std::string& parent_path, const std::string& name) {
  if (name.empty() || name.find('\\') != std::string::npos) {
    return {false, "A key name is not empty and holds no backslash."};
  }
  const std::string path = parent_path + "\\" + name;
  bool exists = false;
  Outcome outcome = Guard("Created key " + DisplayKey(path), [&] {
    Locate(path);
    int32_t verify = kVerifyKey;
    exists = control_.VerifyExistence(verify);
    if (!exists) control_.SetKey();
  });
  if (exists) return {false, "The key " + DisplayKey(path) + " already exists."};
  return outcome;
}

Outcome EditorCommands::RenameKey(const std::string& key_path, const std::string& new_name) {
  std::string new_path = new_name;
  return Guard("Renamed key to " + DisplayKey(new_name), [&] {
    Locate(key_path);
    control_.RenameKey(new_path);
  });
}

Outcome EditorCommands::DeleteKey(const std::string& key_path) {
  return Guard("Deleted key " + DisplayKey(key_path), [&] {
    Locate(key_path);
    control_.DeleteKey();
  });
}

Outcome EditorCommands::CreateValue(const std::string& key_path, const std::string& name, uint32_t type,
                                    const std::string& text) {
  if (name.empty()) return {false, "A new value needs a name."};
  bool exists = false;
  Outcome check = Guard("", [&] {
    Locate(key_path, name);
    int32_t verify = kVerifyValueName;
    exists = control_.VerifyExistence(verify);
  });
  if (!check.ok) return check;
  if (exists) return {false, "The value " + DisplayName(name) + " already exists."};
  Outcome outcome = EditValue(key_path, name, type, text);
  if (outcome.ok) outcome.message = "Created value " + DisplayName(name);
  return outcome;
}

Outcome EditorCommands::EditValue(const std::string& key_path, const std::string& name, uint32_t type,
                                  const std::string& text) {
  std::string error;
  std::optional<Variant> data = ReadInput(type, text, &error);
  if (!data) return {false, error};
  return Guard("Wrote value " + DisplayName(name), [&] {
    Locate(key_path, name);
    control_.ValueType(static_cast<int32_t>(type));
    control_.Value(*data);
    int32_t mode = kOpenAndCreate;
    control_.SetValue(mode);
  });
}

Outcome EditorCommands::RenameValue(const std::string& key_path, const std::string& name,
                                    const std::string& new_name) {
  std::string argument = new_name;
  return Guard("Renamed value to " + DisplayName(new_name), [&] {
    Locate(key_path, name);
    control_.RenameValue(argument);
  });
}

Outcome EditorCommands::DeleteValue(const std::string& key_path, const std::string& name) {
  return Guard("Deleted value " + DisplayName(name), [&] {
    Locate(key_path, name);
    control_.DeleteValue();
  });
}

std::vector<FindMatch> EditorCommands::Find(const FindRequest& request, Outcome* outcome) {
  std::vector<FindMatch> matches;
  *outcome = Guard("", [&] {
    if (!request.all_registry) Locate(request.key_path);
    std::string text = request.text;
    int32_t mode = request.whole ? 0 : 1;
    bool keys = request.key_names, names = request.value_names, data = request.value_data;
    bool all = request.all_registry;
    int32_t window = request.progress_window;
    Variant reserved;
    Variant result = control_.Find(text, mode, keys, names, data, reserved, all, window);
    if (!result.is_array()) return;
    const SafeArray& rows = result.array();
    for (int32_t row = rows.lower(1); row <= rows.upper(1); ++row) matches.push_back(MatchOfRow(rows, row));
  });
  outcome->message = outcome->ok ? std::to_string(matches.size()) + " matches" : outcome->message;
  return matches;
}

std::vector<ReplaceChange> EditorCommands::PreviewReplace(const FindRequest& request, const std::string& with,
                                                          Outcome* outcome) {
  std::vector<ReplaceChange> changes;
  const ReplaceOptions options = OptionsOf(request, with);
  for (const FindMatch& match : Find(request, outcome)) {
    ReplaceChange change;
    if (ChangeAt(match, options, &change)) changes.push_back(std::move(change));
  }
  if (outcome->ok) outcome->message = std::to_string(changes.size()) + " changes";
  return changes;
}

Outcome EditorCommands::Replace(const FindRequest& request, const std::string& with) {
  int32_t count = 0;
  Outcome outcome = Guard("", [&] {
    if (!request.all_registry) Locate(request.key_path);
    std::string text = request.text, replacement = with;
    int32_t mode = request.whole ? 0 : 1;
    bool keys = request.key_names, names = request.value_names, data = request.value_data;
    bool all = request.all_registry;
    int32_t window = request.progress_window;
    Variant reserved;
    count = control_.Replace(text, replacement, mode, keys, names, data, reserved, all, window);
  });
  if (outcome.ok) outcome.message = "Replaced " + std::to_string(count) + " items";
  return outcome;
}

Outcome EditorCommands::Export(const std::string& key_path, const std::string& file) {
  std::string path = file, comment;
  bool all = key_path.empty();
  return Guard("Exported to " + file, [&] {
    if (!all) Locate(key_path);
    control_.Export(path, all, comment);
  });
}

Outcome EditorCommands::Import(const std::string& file) {
  std::string path = file;
  Outcome outcome = Guard("Imported " + file, [&] { control_.Import(path); });
  if (!outcome.ok) return outcome;
  // The control starts the import and returns; the editor waits for it so
  // that the tree shows the result.
  if (!WaitForUnwaitedEditors()) return {false, "The import of " + file + " failed or skipped lines."};
  return outcome;
}

namespace {

// A hive is loaded directly below one of these two roots.
bool IsHiveRoot(HKEY root) { return root == HKEY_LOCAL_MACHINE || root == HKEY_USERS; }

Outcome HiveOutcome(LONG status, const std::string& done, const std::string& failed) {
  if (status == ERROR_SUCCESS) return {true, done};
  return {false, failed + " (status " + std::to_string(status) + ")."};
}

}  // namespace

Outcome EditorCommands::LoadHive(const std::string& root_path, const std::string& name, const std::string& file) {
  const KeyPath root = SplitKeyPath(root_path);
  if (!IsHiveRoot(root.root) || !root.path.empty()) {
    return {false, "Select HKEY_LOCAL_MACHINE or HKEY_USERS to load a hive below it."};
  }
  return HiveOutcome(RegLoadKeyA(root.root, name.c_str(), file.c_str()), "Loaded " + file + " as " + root_path + "\\" + name,
                     "Cannot load " + file + " as " + name);
}

Outcome EditorCommands::UnloadHive(const std::string& key_path) {
  const KeyPath key = SplitKeyPath(key_path);
  if (!IsHiveRoot(key.root) || key.path.empty() || key.path.find('\\') != std::string::npos) {
    return {false, "Select a loaded hive, a key directly below HKEY_LOCAL_MACHINE or HKEY_USERS."};
  }
  return HiveOutcome(RegUnLoadKeyA(key.root, key.path.c_str()), "Unloaded " + key_path, "Cannot unload " + key_path);
}

Outcome EditorCommands::Undo() {
  uint8_t code = 0;
  Outcome outcome = Guard("", [&] {
    code = control_.LastAction();
    if (code == 0) return;
    int16_t steps = 1;
    control_.Undo(steps);
  });
  if (!outcome.ok) return outcome;
  if (code == 0) return {false, "Nothing to undo."};
  return {true, "Undone: " + ActionName(code)};
}

std::string EditorCommands::UndoLabel() {
  try {
    uint8_t code = control_.LastAction();
    return code == 0 ? std::string() : "Undo: " + ActionName(code);
  } catch (const Error&) {
    return {};
  }
}

}  // namespace orvane::regedit::editor
