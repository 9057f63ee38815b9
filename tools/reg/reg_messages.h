// Every message the reg verbs print, in one table, with the exit codes.
// Errors go to the console's error stream; results and the final success
// line to its output stream. Stateless.
#pragma once

#include <string>
#include <string_view>

#include "platform/win32_registry.h"
#include "tools/reg/reg_console.h"

namespace orvane::reg {

constexpr int kExitSuccess = 0;
constexpr int kExitFailure = 1;
constexpr int kExitDifferent = 2;  // compare: the keys differ

enum class Message {
  kSuccess,          // The operation completed successfully.
  kCancelled,        // The operation was canceled by the user.
  kInvalidKey,       // ERROR: Invalid key name.
  kNotFound,         // ERROR: The system was unable to find ...
  kAccessDenied,     // ERROR: Access is denied.
  kRegistryError,    // ERROR: Error accessing the registry.
  kDiskFull,         // ERROR: There is not enough space on the disk.
  kFileError,        // ERROR: Error opening the file. ...
  kInvalidType,      // ERROR: Invalid type <arg>.
  kInvalidData,      // ERROR: The data for the type <arg> is not valid.
  kCannotDeleteRoot, // ERROR: A root key cannot be deleted.
  kSameKey,          // ERROR: The source and destination keys are the same.
  kBadHive,          // ERROR: The configuration registry database is corrupt.
  kFileInUse,        // ERROR: The process cannot access the file ...
  kFileExists,       // ERROR: Cannot create a file when that file already exists.
};

// The text of `message`, with `arg` where it takes one.
std::string MessageText(Message message, std::string_view arg = {});

// Prints `message` on the error stream and returns kExitFailure.
int Fail(Console& console, Message message, std::string_view arg = {});

// Prints the error for a failed registry call with status `status` (not
// found, access denied, a full disk, other) and returns kExitFailure.
int FailStatus(Console& console, LONG status);

// Prints the invalid-syntax error naming `verb`'s help and returns
// kExitFailure.
int FailSyntax(Console& console, std::string_view verb);

// Commits every change the verb made; prints the success line and returns
// kExitSuccess, or, when a change was not saved, the failure.
int Succeed(Console& console);

}  // namespace orvane::reg
