// The editor's commands on the registry, each made through the control's
// methods so that it raises the control's errors and is recorded in its
// undo journal. A command never throws: it returns an Outcome whose
// message is shown to the user ("Error 60002: ..." for the control's
// errors). The caller reloads its tree and value list after a change.
// One per editor; one thread.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "orvane/quorvel.h"

namespace orvane::regedit::editor {

struct Outcome {
  bool ok = true;
  std::string message;
};

// What Find and Replace look for and where.
struct FindRequest {
  std::string text;
  bool whole = false;  // the whole name or data, else a part of it
  bool key_names = true;
  bool value_names = true;
  bool value_data = true;
  bool all_registry = false;  // else the key `key_path` and its descendants
  std::string key_path;
  int32_t progress_window = -1;  // a progress-bar window to move, or -1
};

enum class MatchKind { kKey, kValueName, kValueData };

// One match of Find: the key (full path), and for value matches the value.
struct FindMatch {
  MatchKind kind = MatchKind::kKey;
  std::string key_path;
  std::string value_name;
  std::string data_text;
};

// One change a Replace would make: where, and the text before and after.
struct ReplaceChange {
  FindMatch where;
  std::string before;
  std::string after;
};

class EditorCommands {
 public:
  explicit EditorCommands(Quorvel& control) : control_(control) {}

  Outcome CreateKey(const std::string& parent_path, const std::string& name);
  Outcome RenameKey(const std::string& key_path, const std::string& new_name);
  Outcome DeleteKey(const std::string& key_path);

  // Creates the value `name`; refused when the key already has one so named.
  Outcome CreateValue(const std::string& key_path, const std::string& name, uint32_t type, const std::string& text);
  // Writes `text` (read by ReadInput for `type`) as the value's data.
  Outcome EditValue(const std::string& key_path, const std::string& name, uint32_t type, const std::string& text);
  Outcome RenameValue(const std::string& key_path, const std::string& name, const std::string& new_name);
  Outcome DeleteValue(const std::string& key_path, const std::string& name);

  // The matches of `request`, in the order found; *outcome tells of a failure.
  std::vector<FindMatch> Find(const FindRequest& request, Outcome* outcome);
  // What Replace would change, without changing anything.
  std::vector<ReplaceChange> PreviewReplace(const FindRequest& request, const std::string& with, Outcome* outcome);
  // Replaces; the message tells how many items changed. Not undoable.
  Outcome Replace(const FindRequest& request, const std::string& with);

  // Exports the key `key_path`, or the whole registry when it is empty.
  Outcome Export(const std::string& key_path, const std::string& file);
  // Imports and waits until the started import has ended; a failed one
  // (missing file, skipped lines) is reported.
  Outcome Import(const std::string& file);
  // Loads the Windows hive file `file` as the key `name` below the root
  // `root_path` (HKEY_LOCAL_MACHINE or HKEY_USERS); unloads the hive loaded
  // as `key_path`. Through the registry's hive functions: not undoable.
  Outcome LoadHive(const std::string& root_path, const std::string& name, const std::string& file);
  Outcome UnloadHive(const std::string& key_path);

  // Undoes the newest recorded change, naming it.
  Outcome Undo();
  // "Undo: <action>" for the newest recorded change, or empty when none.
  std::string UndoLabel();

 private:
  // Runs `action`; `done` is the message when it raises nothing.
  Outcome Guard(const std::string& done, const std::function<void()>& action);
  void Locate(const std::string& key_path, const std::string& value_name = {});

  Quorvel& control_;
};

// The name of an undo journal action code ("value created"); empty for 0.
std::string ActionName(uint8_t code);

// "Error <number>: <text>" for an error the control raised.
std::string ErrorMessage(int32_t number, const std::string& description);

}  // namespace orvane::regedit::editor
