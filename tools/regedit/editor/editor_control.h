// The editor's own control: a Quorvel that shows no dialog by itself (no
// About box when it is created, message boxes as text), with undo on.
// The dialogs it would show are reached only through ShowAboutOnRequest.
// One per editor; one thread.
#pragma once

#include <memory>

#include "orvane/container.h"
#include "orvane/quorvel.h"

namespace orvane::regedit::editor {

// The container of the editor's control: no property notifications, and
// the dialog form the editor asks for (batch unless it shows one on
// request).
class EditorContainer : public NullContainer {
 public:
  DialogStyle AmbientDialogStyle() const override { return style; }
  DialogStyle style = DialogStyle::kBatch;
};

class EditorControl {
 public:
  EditorControl();
  ~EditorControl();
  EditorControl(const EditorControl&) = delete;
  EditorControl& operator=(const EditorControl&) = delete;

  Quorvel& control() { return *control_; }

  // Shows the control's About box on the terminal (over a curses screen
  // the caller shows), then goes back to showing no dialogs.
  void ShowAboutOnRequest();

 private:
  EditorContainer container_;
  std::unique_ptr<Quorvel> control_;
};

}  // namespace orvane::regedit::editor
