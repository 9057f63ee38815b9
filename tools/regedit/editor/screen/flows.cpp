// Commands that ask first, built from the prompts.
#include "tools/regedit/editor/screen/flows.h"

#include <curses.h>

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

#include "platform/win32_registry.h"
#include "tools/regedit/editor/screen/prompts.h"
#include "tools/regedit/editor/value_display.h"
#include "tools/regedit/editor/value_input.h"
#include "tools/regedit/usage.h"

namespace orvane::regedit::editor::screen {
namespace {

constexpr std::array<std::pair<uint32_t, const char*>, 6> kNewValueTypes{{
    {REG_SZ, "String (REG_SZ)"},
    {REG_EXPAND_SZ, "Expandable string (REG_EXPAND_SZ)"},
    {REG_MULTI_SZ, "Multi-string (REG_MULTI_SZ)"},
    {REG_DWORD, "DWORD (REG_DWORD)"},
    {REG_QWORD, "QWORD (REG_QWORD)"},
    {REG_BINARY, "Binary (REG_BINARY)"},
}};

// The data of a value of `type`, typed in the editor that fits the type.
std::optional<std::string> AskData(uint32_t type, const std::string& name, const std::string& initial) {
  if (IsMultiLineType(type)) return EditLines("Edit " + DisplayName(name) + ", one entry a line", initial);
  const bool number = type == REG_DWORD || type == REG_QWORD;
  const char* hint = number                                    ? " (decimal, or 0x and hex)"
                     : type == REG_SZ || type == REG_EXPAND_SZ ? ""
                                                               : " (hex bytes)";
  return PromptLine("Data of " + DisplayName(name) + hint + ": ", initial);
}

// Reads "kvdwa"-style search options into `request`.
bool AskOptions(FindRequest& request) {
  std::optional<std::string> options =
      PromptLine("Look at k=keys v=value names d=data; w=whole text; a=all registry: ", "kvd");
  if (!options) return false;
  auto has = [&](char c) { return options->find(c) != std::string::npos; };
  request.key_names = has('k');
  request.value_names = has('v');
  request.value_data = has('d');
  request.whole = has('w');
  request.all_registry = has('a');
  return true;
}

std::string Where(const FindMatch& match) {
  const std::string key = DisplayKey(match.key_path);
  return match.kind == MatchKind::kKey ? key : key + " : " + DisplayName(match.value_name);
}

// `text` in lines of at most `width` bytes, broken at blanks (a word
// longer than that is cut).
std::vector<std::string> WrapWords(std::string_view text, size_t width) {
  std::vector<std::string> lines;
  while (!text.empty()) {
    size_t cut = text.size() <= width ? text.size() : text.rfind(' ', width);
    if (cut == std::string_view::npos || cut == 0) cut = std::min(width, text.size());
    lines.emplace_back(text.substr(0, cut));
    text.remove_prefix(cut);
    if (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  }
  return lines;
}

}  // namespace

void NewKeyFlow(EditorModel& model) {
  std::optional<std::string> name = PromptLine("New key under " + DisplayKey(model.tree().SelectedPath()) + ": ", "");
  if (name) model.NewKey(*name);
}

void NewValueFlow(EditorModel& model) {
  std::vector<std::string> names;
  for (const auto& [type, label] : kNewValueTypes) names.emplace_back(label);
  std::optional<size_t> chosen = ChooseFromList("Type of the new value", names);
  if (!chosen) return;
  const uint32_t type = kNewValueTypes[*chosen].first;
  std::optional<std::string> name = PromptLine("Name of the new value: ", "");
  if (!name) return;
  std::optional<std::string> data = AskData(type, *name, type == REG_DWORD || type == REG_QWORD ? "0" : "");
  if (data) model.NewValue(*name, type, *data);
}

void EditValueFlow(EditorModel& model) {
  const ValueRow* value = model.SelectedValue();
  if (value == nullptr) return;
  std::optional<std::string> data = AskData(value->type, value->name, EditText(value->type, value->bytes));
  if (data) model.EditValue(*data);
}

void RenameFlow(EditorModel& model) {
  if (model.focus() == Pane::kTree) {
    std::optional<std::string> name = PromptLine("Rename key to: ", model.tree().SelectedRow().name);
    if (name) model.RenameKey(*name);
    return;
  }
  const ValueRow* value = model.SelectedValue();
  if (value == nullptr) return;
  std::optional<std::string> name = PromptLine("Rename value to: ", value->name);
  if (name) model.RenameValue(*name);
}

void DeleteFlow(EditorModel& model) {
  if (model.focus() == Pane::kTree) {
    if (Confirm("Delete the key " + DisplayKey(model.tree().SelectedPath()) + " and all its sub-keys?")) {
      model.DeleteKey();
    }
    return;
  }
  const ValueRow* value = model.SelectedValue();
  if (value != nullptr && Confirm("Delete the value " + DisplayName(value->name) + "?")) model.DeleteValue();
}

void JumpFlow(EditorModel& model) {
  std::optional<std::string> path = PromptLine("Go to key: ", model.tree().SelectedPath(), model.clipboard());
  if (path) model.JumpTo(*path);
}

void FindFlow(EditorModel& model, int progress_window) {
  FindRequest request;
  std::optional<std::string> text = PromptLine("Find: ", "");
  if (!text || !AskOptions(request)) return;
  request.text = *text;
  request.progress_window = progress_window;
  model.Find(request);
}

void MatchListFlow(EditorModel& model) {
  std::vector<std::string> lines;
  for (const FindMatch& match : model.matches()) lines.push_back(Where(match));
  if (lines.empty()) {
    model.Say("No matches; Find first.", true);
    return;
  }
  std::optional<size_t> chosen = ChooseFromList("Matches", lines, model.current_match());
  if (chosen) model.JumpToMatch(*chosen);
}

void ReplaceFlow(EditorModel& model, int progress_window) {
  FindRequest request;
  std::optional<std::string> text = PromptLine("Replace: ", "");
  if (!text) return;
  std::optional<std::string> with = PromptLine("Replace \"" + *text + "\" with: ", "");
  if (!with || !AskOptions(request)) return;
  request.text = *text;
  request.progress_window = progress_window;
  std::vector<ReplaceChange> changes = model.PreviewReplace(request, *with);
  if (changes.empty()) return;
  std::vector<std::string> lines;
  for (const ReplaceChange& change : changes) {
    lines.push_back(Where(change.where) + ": \"" + change.before + "\" -> \"" + change.after + "\"");
  }
  ShowPage("Replace preview: " + std::to_string(changes.size()) + " changes", lines, "Any key: continue");
  if (Confirm("Replace these " + std::to_string(changes.size()) + " items? This cannot be undone.")) {
    model.Replace(request, *with);
  } else {
    model.Say("Nothing replaced.");
  }
}

void ExportFlow(EditorModel& model, bool all_registry) {
  std::string what = all_registry ? "the whole registry" : model.tree().SelectedPath();
  std::optional<std::string> file = PromptLine("Export " + what + " to file: ", "");
  if (file && !file->empty()) model.Export(*file, all_registry);
}

void ImportFlow(EditorModel& model) {
  std::optional<std::string> file = PromptLine("Import the .reg file: ", "");
  if (file && !file->empty()) model.Import(*file);
}

void LoadHiveFlow(EditorModel& model) {
  std::optional<std::string> file = PromptLine("Load the hive file: ", "");
  if (!file || file->empty()) return;
  std::optional<std::string> name = PromptLine("Load it as the key: ", "");
  if (name && !name->empty()) model.LoadHive(*file, *name);
}

void UnloadHiveFlow(EditorModel& model) {
  if (Confirm("Unload the hive " + model.tree().SelectedPath() + "?")) model.UnloadHive();
}

// Each key with its text after it, the text wrapped to fit.
int HelpFlow() {
  constexpr size_t kColumn = 34;
  const size_t room = static_cast<size_t>(std::max(20, COLS - 4)) - kColumn;
  std::vector<std::string> lines;
  for (const tools::HelpEntry& entry : EditorKeyEntries()) {
    std::string line = entry.term;
    for (const std::string& part : WrapWords(entry.text, room)) {
      line.resize(std::max(line.size() + 2, kColumn), ' ');
      lines.push_back(line + part);
      line.clear();
    }
  }
  const int key = ShowPage("Keys of the registry editor", lines, "Esc: close; a command key closes and runs");
  const bool only_closes = key == 27 || key == '\n' || key == '\r' || key == KEY_ENTER || key == 'q' ||
                           key == KEY_F(1) || key == '?' || key == ERR;
  return only_closes ? 0 : key;
}

}  // namespace orvane::regedit::editor::screen
