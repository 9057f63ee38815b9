// The terminal form of a modal dialog, drawn with curses on standard error
// and read from standard input. Internal to the dialog service.
#pragma once

#include "platform/dialogs.h"

namespace orvane::platform {

// Shows the dialog until a button's handler returns true. Left, Right and
// Tab move between the buttons; Enter or Space chooses the one in focus, an
// access key chooses its button, Escape chooses the default button. A
// dialog opened from a handler shows on top of this one. Returns false,
// having shown nothing, when the terminal cannot be used (an unknown TERM).
bool RunTerminalDialog(const DialogContent& content, const ButtonHandler& on_button);

}  // namespace orvane::platform
