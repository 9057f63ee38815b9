// On Windows a dialog shown "on the terminal" is a system message box that
// holds the dialog's lines; closing it chooses the default button.
#include <windows.h>

#include "platform/dialog_terminal.h"

namespace orvane::platform {

// A system message box owns no terminal: the program runs on its own.
uint32_t StartOnDialogTerminal(const std::function<uint32_t()>& start) { return start(); }

bool RunTerminalDialog(const DialogContent& content, const ButtonHandler& on_button) {
  std::string text;
  for (const std::string& line : content.lines) text += line + "\n";
  MessageBoxA(nullptr, text.c_str(), content.title.c_str(), MB_OK | MB_TASKMODAL);
  if (!content.buttons.empty()) on_button(content.default_button);
  return true;
}

}  // namespace orvane::platform
