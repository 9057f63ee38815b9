// What the full-screen editor shows and does, without the terminal: the key
// tree, the selected key's values, which pane has the focus, the message
// line, the status line, the matches of the last Find, and the commands on
// the current selection. The screen draws it and feeds it the user's
// answers. Owned by the editor; one thread.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "tools/regedit/editor/editor_commands.h"
#include "tools/regedit/editor/key_tree.h"
#include "tools/regedit/editor/value_list.h"

namespace orvane::regedit::editor {

enum class Pane { kTree, kValues };

class EditorModel {
 public:
  explicit EditorModel(EditorCommands& commands);

  KeyTree& tree() { return tree_; }
  const std::vector<ValueRow>& values() const { return values_; }
  size_t selected_value() const { return selected_value_; }
  const ValueRow* SelectedValue() const;
  Pane focus() const { return focus_; }
  void SwitchPane() { focus_ = focus_ == Pane::kTree ? Pane::kValues : Pane::kTree; }
  void Focus(Pane pane) { focus_ = pane; }
  const std::string& message() const { return message_; }
  bool message_is_error() const { return message_is_error_; }
  void Say(const std::string& text, bool error = false);

  // The full path of the selected key, then the newest undoable action.
  std::string StatusLine();

  // Moving: the selection in the focused pane by `delta` rows (clamped).
  void Move(long delta);
  void SelectKey(size_t row);
  void SelectValue(size_t row);
  void ExpandSelected();
  // Collapses an expanded key, else goes to its parent.
  void CollapseOrParent();
  // Selects the key a typed path names (see KeyTree::Reveal).
  bool JumpTo(const std::string& path);
  // The selected key's path, kept for pasting and shown in the message.
  const std::string& CopyPath();
  const std::string& clipboard() const { return clipboard_; }

  // Commands on the selection; each reports in the message line and
  // reloads what it changed.
  void NewKey(const std::string& name);
  void RenameKey(const std::string& new_name);
  void DeleteKey();
  void NewValue(const std::string& name, uint32_t type, const std::string& text);
  void EditValue(const std::string& text);
  void RenameValue(const std::string& new_name);
  void DeleteValue();
  void Undo();
  void Export(const std::string& file, bool all_registry);
  void Import(const std::string& file);
  // Loads a hive file as `name` below the selected root; unloads the
  // selected hive.
  void LoadHive(const std::string& file, const std::string& name);
  void UnloadHive();

  // Find below the selected key (or everywhere); jumps to the first match.
  void Find(FindRequest request);
  const std::vector<FindMatch>& matches() const { return matches_; }
  size_t current_match() const { return current_match_; }
  // Jumps to match `index`, or by `delta` from the current one (wrapping).
  void JumpToMatch(size_t index);
  void NextMatch(long delta);

  std::vector<ReplaceChange> PreviewReplace(FindRequest request, const std::string& with);
  void Replace(FindRequest request, const std::string& with);

 private:
  void Report(const Outcome& outcome);
  void ReloadValues(const std::string& keep_name);
  void Reload(const std::string& keep_value);
  void PrepareRequest(FindRequest& request) const;

  EditorCommands& commands_;
  KeyTree tree_;
  std::vector<ValueRow> values_;
  size_t selected_value_ = 0;
  Pane focus_ = Pane::kTree;
  std::string message_;
  bool message_is_error_ = false;
  std::string clipboard_;
  std::vector<FindMatch> matches_;
  size_t current_match_ = 0;
};

}  // namespace orvane::regedit::editor
