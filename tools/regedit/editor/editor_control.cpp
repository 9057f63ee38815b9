// The dialog-free control of the editor.
#include "tools/regedit/editor/editor_control.h"

#include "orvane/property_bag.h"
#include "platform/dialogs.h"

namespace orvane::regedit::editor {
namespace {

// The one place that decides how the editor's control is kept from
// showing dialogs of its own: batch (text) dialogs for the whole process.
void UseBatchDialogs() { platform::SetDialogMode(platform::DialogMode::kText); }

}  // namespace

EditorControl::EditorControl() {
  UseBatchDialogs();
  control_ = std::make_unique<Quorvel>(container_);
  // Loaded with no saved properties: the defaults, and no About box, which
  // only a control initialised as new shows.
  MemoryPropertyBag defaults;
  control_->ReadProperties(defaults);
  control_->UndoEnabled(true);
}

EditorControl::~EditorControl() = default;

void EditorControl::ShowAboutOnRequest() {
  platform::SetDialogMode(platform::DialogMode::kTerminal);
  control_->AboutBox();
  UseBatchDialogs();
}

}  // namespace orvane::regedit::editor
