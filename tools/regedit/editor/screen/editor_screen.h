// The full-screen registry editor on the terminal of standard input and
// output: opens the screen, runs until the user quits, and gives the
// terminal back as it was. One per process at a time.
#pragma once

namespace orvane::regedit::editor::screen {

// Runs the editor; returns the program's exit status (0, or 1 when the
// terminal or the control could not be set up, with a message on stderr).
int RunFullScreenEditor();

}  // namespace orvane::regedit::editor::screen
