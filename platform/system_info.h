// Where this platform's Windows-style folders and names come from on Linux
// (the Win32 calls themselves are declared in win32_system.h). Stateless.
//
// Windows directory: the folder of the registry store in use (the store
// stands for the system's registry hives, which live there on Windows).
// System directory: its "system32" sub-folder (a name; never created).
// Temporary directory: $TMPDIR when set and not empty, else /tmp, with no
// trailing separator. Computer name: the host name, upper case, cut to 15
// characters. User name: the account of the effective user id, else $USER.
// User language: the English name of the language of LC_ALL, LC_MESSAGES or
// LANG (the first that is set); "English" for C, POSIX or none.
#pragma once

#include <string>

namespace orvane::platform {

std::string WindowsDirectory();
std::string SystemDirectory();
std::string TemporaryDirectory();
std::string ComputerName();
std::string UserName();
std::string UserLanguageName();

}  // namespace orvane::platform
