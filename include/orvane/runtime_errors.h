// The hosting runtime's own standard errors, raised as orvane::Error with
// the runtime's usual numbers and English messages, source "RegistryEditor",
// no help file and help context 0. The message table is fixed and shared.
#pragma once

#include <cstdint>

#include "orvane/error.h"

namespace orvane {

enum RuntimeErrorNumber : int32_t {
  kErrInvalidProcedureCall = 5,   // "Invalid procedure call or argument"
  kErrOverflow = 6,               // "Overflow"
  kErrOutOfMemory = 7,            // "Out of memory"
  kErrSubscript = 9,              // "Subscript out of range"
  kErrDivisionByZero = 11,        // "Division by zero"
  kErrTypeMismatch = 13,          // "Type mismatch"
  kErrBadFileName = 52,           // "Bad file name or number"
  kErrFileNotFound = 53,          // "File not found"
  kErrBadFileMode = 54,           // "Bad file mode"
  kErrFileAlreadyOpen = 55,       // "File already open"
  kErrDeviceIo = 57,              // "Device I/O error"
  kErrFileExists = 58,            // "File already exists"
  kErrDiskFull = 61,              // "Disk full"
  kErrInputPastEnd = 62,          // "Input past end of file"
  kErrTooManyFiles = 67,          // "Too many files"
  kErrPermissionDenied = 70,      // "Permission denied"
  kErrRenameAcrossDrives = 74,    // "Can't rename with different drive"
  kErrPathFileAccess = 75,        // "Path/File access error"
  kErrPathNotFound = 76,          // "Path not found"
  kErrObjectNotSet = 91,          // "Object variable or With block variable not set"
  kErrInvalidUseOfNull = 94,      // "Invalid use of Null"
  kErrObjectRequired = 424,       // "Object required"
  kErrMemberNotFound = 438,       // "Object doesn't support this property or method"
  kErrArgumentNotOptional = 449,  // "Argument not optional"
  kErrWrongArgumentCount = 450,   // "Wrong number of arguments or invalid property assignment"
};

// The source every runtime error carries: the type library's project name.
inline constexpr const char* kRuntimeErrorSource = "RegistryEditor";

// The standard message of a runtime error number; a number outside the
// table gets "Application-defined or object-defined error".
const char* RuntimeErrorMessage(int32_t number);

// The full record of a runtime error (number, source, message, no help).
ErrorRecord RuntimeErrorRecord(int32_t number);

// Raises the runtime error with its standard message; never returns.
[[noreturn]] void RaiseRuntimeError(int32_t number);

// Which part of a path a file operation was resolving when it failed: a
// missing entry is "File not found" (53) in the file part and "Path not
// found" (76) in the directory part.
enum class FilePart { kFile, kDirectory };

// The runtime error number that fits errno: ENOENT 53 or 76 (by part),
// ENOTDIR 76, EACCES/EPERM/EROFS/EBUSY 70, ENOSPC/EDQUOT 61, EIO 57,
// EEXIST 58, EMFILE/ENFILE 67, EXDEV 74, ENOMEM 7, EBADF 52, anything
// else (EISDIR, ENAMETOOLONG, ELOOP, EINVAL, ...) 75.
int32_t FileErrorNumber(int errno_value, FilePart part = FilePart::kFile);

// Raises the file error that fits errno (see FileErrorNumber); never returns.
[[noreturn]] void RaiseFileError(int errno_value, FilePart part = FilePart::kFile);

}  // namespace orvane
