// The editor's own control: a Quorvel that shows no dialog by itself (no
// About box when it is created, message boxes as text), with undo on.
// The dialogs it would show are reached only through ShowAboutOnRequest.
// One per editor; one thread.
#pragma once

#include <memory>

#include "orvane/container.h"
#include "orvane/quorvel.h"

namespace orvane::regedit::editor {

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
  NullContainer container_;
  std::unique_ptr<Quorvel> control_;
};

}  // namespace orvane::regedit::editor
