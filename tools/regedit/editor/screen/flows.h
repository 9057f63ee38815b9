// The editor's commands that ask the user something first: names, data,
// confirmations, search options, file names. Each asks with the prompts,
// then acts on the model; Escape at any question cancels the command.
// One thread.
#pragma once

#include "tools/regedit/editor/editor_model.h"

namespace orvane::regedit::editor::screen {

void NewKeyFlow(EditorModel& model);
void NewValueFlow(EditorModel& model);
void EditValueFlow(EditorModel& model);
void RenameFlow(EditorModel& model);
void DeleteFlow(EditorModel& model);
void JumpFlow(EditorModel& model);
void FindFlow(EditorModel& model, int progress_window);
void MatchListFlow(EditorModel& model);
void ReplaceFlow(EditorModel& model, int progress_window);
void ExportFlow(EditorModel& model, bool all_registry);
void ImportFlow(EditorModel& model);
// Shows the keys. Returns the key that closed the page when it is a
// command to run next, else 0 (Escape, Enter, q, F1 and ? only close it).
int HelpFlow();
void LoadHiveFlow(EditorModel& model);
void UnloadHiveFlow(EditorModel& model);

}  // namespace orvane::regedit::editor::screen
