// The dialog-free control of the editor.
#include "tools/regedit/editor/editor_control.h"

#include "orvane/property_bag.h"

namespace orvane::regedit::editor {

// The container asks for batch dialogs (EditorContainer), which takes
// precedence over ORVANE_DIALOGS and the terminal check.
EditorControl::EditorControl() {
  control_ = std::make_unique<Quorvel>(container_);
  // Loaded with no saved properties: the defaults, and no About box, which
  // only a control initialised as new shows.
  MemoryPropertyBag defaults;
  control_->ReadProperties(defaults);
  control_->UndoEnabled(true);
}

EditorControl::~EditorControl() = default;

void EditorControl::ShowAboutOnRequest() {
  container_.style = DialogStyle::kInteractive;
  control_->AboutBox();
  container_.style = DialogStyle::kBatch;
}

}  // namespace orvane::regedit::editor
