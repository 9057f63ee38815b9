// Modal dialogs and message boxes for the control. On a terminal (standard
// input and standard error both terminals) the dialog is drawn with curses
// and answered with the keyboard; otherwise its text goes to standard error
// and it closes at once as if its default button were chosen. On Windows
// the automatic mode shows a real dialog window. One thread.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace orvane::platform {

// What a modal dialog shows. A caption may mark its access key with "&"
// ("&Quorvel..."); "&&" stands for one "&".
struct DialogContent {
  std::string title;
  std::vector<std::string> lines;    // the labels, top to bottom
  std::vector<std::string> buttons;  // left to right
  size_t default_button = 0;         // chosen by Enter at start, and without a terminal
};

// Runs a button's action; returns true when the dialog should close.
using ButtonHandler = std::function<bool(size_t button)>;

enum class DialogMode {
  kAutomatic,  // a terminal when stdin and stderr are terminals, else text
  kTerminal,
  kText,
};

// Chooses how dialogs appear. The environment variable ORVANE_DIALOGS
// ("text" or "terminal") sets the starting mode; without it, automatic.
void SetDialogMode(DialogMode mode);
DialogMode CurrentDialogMode();

// Shows `content` modally: each chosen button runs `on_button` until it
// returns true. Without a terminal the default button runs once and the
// dialog closes whatever it returns.
void ShowModalDialog(const DialogContent& content, const ButtonHandler& on_button);

// A message box with `text` and one OK button; returns when it is closed.
void ShowMessageBox(const std::string& text, const std::string& title);

// A caption without its access-key marks: "&Quorvel..." -> "Quorvel...".
std::string PlainCaption(const std::string& caption);

// The access key of a caption in lower case, or 0 when it has none.
char AccessKey(const std::string& caption);

}  // namespace orvane::platform
