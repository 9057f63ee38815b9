// Modal dialogs and message boxes for the control. On a terminal (standard
// input, output and error all terminals) the dialog is drawn with curses on
// standard error and answered with the keyboard; otherwise its text goes to
// standard error and it closes at once as if its default button were
// chosen, so a pipeline never waits. On Windows the automatic mode shows a
// real dialog window. One thread.
#pragma once

#include <cstdint>
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
  kAutomatic,  // the terminal when stdin, stdout and stderr are terminals, else text
  kTerminal,
  kText,
  kSilent,  // as text, but nothing is written
};

// The process's mode: the last SetDialogMode, else the environment
// variable ORVANE_DIALOGS ("text" or "terminal"), else automatic.
void SetDialogMode(DialogMode mode);
DialogMode CurrentDialogMode();

// The mode a dialog takes: the container's choice unless automatic, else
// the process's, else the terminal when `all_terminals`, else text. Never
// automatic.
DialogMode ResolveDialogMode(DialogMode container, DialogMode process, bool all_terminals);

// Shows `content` modally: each chosen button runs `on_button` until it
// returns true. Without a terminal the default button runs once and the
// dialog closes whatever it returns. `container` is the mode the
// container of the calling control asks for.
void ShowModalDialog(const DialogContent& content, const ButtonHandler& on_button,
                     DialogMode container = DialogMode::kAutomatic);

// A message box with `text` and one OK button; returns when it is closed.
void ShowMessageBox(const std::string& text, const std::string& title,
                    DialogMode container = DialogMode::kAutomatic);

// Starts a program through `start`, which returns its process id (0 when
// it could not start). While a dialog is shown on the terminal, the program
// gets that terminal: the dialog's screen is put away first, the program is
// waited for, and the screen is drawn again. Otherwise the program runs on
// its own and this returns at once. Returns what `start` returned.
uint32_t StartOnDialogTerminal(const std::function<uint32_t()>& start);

// A caption without its access-key marks: "&Quorvel..." -> "Quorvel...".
std::string PlainCaption(const std::string& caption);

// The access key of a caption in lower case, or 0 when it has none.
char AccessKey(const std::string& caption);

}  // namespace orvane::platform
