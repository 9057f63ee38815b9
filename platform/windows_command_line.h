// Windows-style command lines: splitting one into arguments (double quotes
// group words, backslashes escape only quotes) and joining arguments back
// into one, as the system's programs read them. Stateless; every function is
// safe to call from any thread.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvane::platform {

// Splits the arguments part of a command line (after the program name) as
// Windows does: blanks separate words outside quotes; 2n backslashes before
// a quote give n backslashes and the quote opens or closes a group; 2n+1
// give n backslashes and a literal quote; a third quote in a row inside a
// group gives a literal quote; other backslashes are literal.
std::vector<std::string> SplitWindowsCommandLine(std::string_view line);

// The command line that SplitWindowsCommandLine splits back into `words`:
// the words joined by one blank, each one that is empty or holds a blank,
// tab, line break or double quote put in double quotes, with the
// backslashes before a quote and before the closing quote doubled.
std::string JoinWindowsCommandLine(const std::vector<std::string>& words);

}  // namespace orvane::platform
