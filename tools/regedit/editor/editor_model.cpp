// The editor's model: selection, reloading after changes, and the commands
// applied to what is selected.
#include "tools/regedit/editor/editor_model.h"

#include <algorithm>

#include "tools/regedit/editor/value_display.h"

namespace orvane::regedit::editor {

EditorModel::EditorModel(EditorCommands& commands) : commands_(commands) { ReloadValues(""); }

const ValueRow* EditorModel::SelectedValue() const {
  return selected_value_ < values_.size() ? &values_[selected_value_] : nullptr;
}

void EditorModel::Say(const std::string& text, bool error) {
  message_ = text;
  message_is_error_ = error;
}

void EditorModel::Report(const Outcome& outcome) { Say(outcome.message, !outcome.ok); }

std::string EditorModel::StatusLine() {
  std::string undo = commands_.UndoLabel();
  return tree_.rows().empty() ? undo : DisplayKey(tree_.SelectedPath()) + (undo.empty() ? "" : "   " + undo);
}

void EditorModel::ReloadValues(const std::string& keep_name) {
  values_.clear();
  selected_value_ = 0;
  if (tree_.rows().empty()) return;
  long status = 0;
  values_ = LoadValues(tree_.SelectedPath(), &status);
  for (size_t i = 0; i < values_.size(); ++i) {
    if (values_[i].name == keep_name) selected_value_ = i;
  }
}

void EditorModel::Reload(const std::string& keep_value) {
  tree_.Reload();
  ReloadValues(keep_value);
}

void EditorModel::Move(long delta) {
  if (focus_ == Pane::kTree) {
    long row = static_cast<long>(tree_.selected()) + delta;
    SelectKey(static_cast<size_t>(std::max(0L, row)));
  } else {
    long row = static_cast<long>(selected_value_) + delta;
    SelectValue(static_cast<size_t>(std::max(0L, row)));
  }
}

void EditorModel::SelectKey(size_t row) {
  size_t before = tree_.selected();
  tree_.Select(row);
  if (tree_.selected() != before || values_.empty()) ReloadValues("");
}

void EditorModel::SelectValue(size_t row) {
  if (!values_.empty()) selected_value_ = std::min(row, values_.size() - 1);
}

void EditorModel::ExpandSelected() {
  long status = tree_.Expand(tree_.selected());
  if (status != 0) {
    Say("Cannot open " + DisplayKey(tree_.SelectedPath()) + " (status " + std::to_string(status) + ")", true);
  }
}

void EditorModel::CollapseOrParent() {
  size_t row = tree_.selected();
  if (tree_.SelectedRow().expanded) {
    tree_.Collapse(row);
    return;
  }
  SelectKey(tree_.ParentRow(row));
}

bool EditorModel::JumpTo(const std::string& path) {
  bool found = tree_.Reveal(path);
  ReloadValues("");
  if (!found) Say("No key " + DisplayKey(path) + "; the nearest key is selected.", true);
  return found;
}

const std::string& EditorModel::CopyPath() {
  clipboard_ = tree_.SelectedPath();
  Say("Copied " + DisplayKey(clipboard_));
  return clipboard_;
}

void EditorModel::NewKey(const std::string& name) {
  const std::string parent = tree_.SelectedPath();
  Outcome outcome = commands_.CreateKey(parent, name);
  if (outcome.ok) {
    tree_.Reload();
    tree_.Reveal(parent + "\\" + name);
    ReloadValues("");
  }
  Report(outcome);
}

void EditorModel::RenameKey(const std::string& new_name) {
  const std::string path = tree_.SelectedPath();
  Outcome outcome = commands_.RenameKey(path, new_name);
  if (outcome.ok) {
    tree_.Reload();
    tree_.Reveal(path.substr(0, path.rfind('\\')) + "\\" + new_name);
    ReloadValues("");
  }
  Report(outcome);
}

void EditorModel::DeleteKey() {
  Outcome outcome = commands_.DeleteKey(tree_.SelectedPath());
  if (outcome.ok) Reload("");
  Report(outcome);
}

void EditorModel::NewValue(const std::string& name, uint32_t type, const std::string& text) {
  Outcome outcome = commands_.CreateValue(tree_.SelectedPath(), name, type, text);
  if (outcome.ok) ReloadValues(name);
  Report(outcome);
}

void EditorModel::EditValue(const std::string& text) {
  const ValueRow* value = SelectedValue();
  if (value == nullptr) return;
  const std::string name = value->name;
  Outcome outcome = commands_.EditValue(tree_.SelectedPath(), name, value->type, text);
  if (outcome.ok) ReloadValues(name);
  Report(outcome);
}

void EditorModel::RenameValue(const std::string& new_name) {
  const ValueRow* value = SelectedValue();
  if (value == nullptr) return;
  Outcome outcome = commands_.RenameValue(tree_.SelectedPath(), value->name, new_name);
  if (outcome.ok) ReloadValues(new_name);
  Report(outcome);
}

void EditorModel::DeleteValue() {
  const ValueRow* value = SelectedValue();
  if (value == nullptr) return;
  Outcome outcome = commands_.DeleteValue(tree_.SelectedPath(), value->name);
  if (outcome.ok) ReloadValues("");
  Report(outcome);
}

void EditorModel::Undo() {
  const ValueRow* value = SelectedValue();
  const std::string keep = value ? value->name : "";
  Outcome outcome = commands_.Undo();
  if (outcome.ok) Reload(keep);
  Report(outcome);
}

void EditorModel::Export(const std::string& file, bool all_registry) {
  Report(commands_.Export(all_registry ? "" : tree_.SelectedPath(), file));
}

void EditorModel::Import(const std::string& file) {
  Outcome outcome = commands_.Import(file);
  if (outcome.ok) Reload("");
  Report(outcome);
}

void EditorModel::LoadHive(const std::string& file, const std::string& name) {
  const std::string root = tree_.SelectedPath();
  Outcome outcome = commands_.LoadHive(root, name, file);
  if (outcome.ok) {
    Reload("");
    JumpTo(root + "\\" + name);
  }
  Report(outcome);
}

void EditorModel::UnloadHive() {
  const std::string key = tree_.SelectedPath();
  Outcome outcome = commands_.UnloadHive(key);
  if (outcome.ok) {
    JumpTo(key.substr(0, key.find('\\')));
    Reload("");
  }
  Report(outcome);
}

void EditorModel::PrepareRequest(FindRequest& request) const {
  if (!request.all_registry) request.key_path = tree_.SelectedPath();
}

void EditorModel::Find(FindRequest request) {
  PrepareRequest(request);
  Outcome outcome;
  matches_ = commands_.Find(request, &outcome);
  current_match_ = 0;
  if (!outcome.ok || matches_.empty()) {
    Report(outcome.ok ? Outcome{false, "No match for \"" + request.text + "\""} : outcome);
    return;
  }
  JumpToMatch(0);
}

void EditorModel::JumpToMatch(size_t index) {
  if (index >= matches_.size()) return;
  current_match_ = index;
  const FindMatch& match = matches_[index];
  tree_.Reveal(match.key_path);
  ReloadValues(match.value_name);
  focus_ = match.kind == MatchKind::kKey ? Pane::kTree : Pane::kValues;
  std::string what = match.kind == MatchKind::kKey ? "key" : match.kind == MatchKind::kValueName ? "value" : "data";
  Say("Match " + std::to_string(index + 1) + " of " + std::to_string(matches_.size()) + " (" + what + ")");
}

void EditorModel::NextMatch(long delta) {
  if (matches_.empty()) {
    Say("No matches; Find first.", true);
    return;
  }
  long count = static_cast<long>(matches_.size());
  long next = ((static_cast<long>(current_match_) + delta) % count + count) % count;
  JumpToMatch(static_cast<size_t>(next));
}

std::vector<ReplaceChange> EditorModel::PreviewReplace(FindRequest request, const std::string& with) {
  PrepareRequest(request);
  Outcome outcome;
  std::vector<ReplaceChange> changes = commands_.PreviewReplace(request, with, &outcome);
  Report(outcome);
  return changes;
}

void EditorModel::Replace(FindRequest request, const std::string& with) {
  PrepareRequest(request);
  Outcome outcome = commands_.Replace(request, with);
  Reload("");
  Report(outcome);
}

}  // namespace orvane::regedit::editor
