// The hosting runtime's own standard errors, raised as orvane::Error with
// the runtime's usual numbers and messages.
#pragma once

#include <cstdint>

#include "orvane/error.h"

namespace orvane {

enum RuntimeErrorNumber : int32_t {
  kErrOverflow = 6,            // "Overflow"
  kErrSubscript = 9,           // "Subscript out of range"
  kErrTypeMismatch = 13,       // "Type mismatch"
  kErrBadFileName = 52,        // "Bad file name or number"
  kErrFileNotFound = 53,       // "File not found"
  kErrFileAlreadyOpen = 55,    // "File already open"
  kErrDeviceIo = 57,           // "Device I/O error"
  kErrFileExists = 58,         // "File already exists"
  kErrDiskFull = 61,           // "Disk full"
  kErrPermissionDenied = 70,   // "Permission denied"
  kErrPathFileAccess = 75,     // "Path/File access error"
  kErrPathNotFound = 76,       // "Path not found"
  kErrInvalidUseOfNull = 94,   // "Invalid use of Null"
  kErrInvalidProcedureCall = 5,  // "Invalid procedure call or argument"
  kErrArgumentNotOptional = 449,  // "Argument not optional"
  kErrWrongArgumentCount = 450,   // "Wrong number of arguments or invalid property assignment"
  kErrMemberNotFound = 438,       // "Object doesn't support this property or method"
};

// Raises the runtime error with its standard message; never returns.
[[noreturn]] void RaiseRuntimeError(int32_t number);

// The standard message of a runtime error number.
const char* RuntimeErrorMessage(int32_t number);

// Raises the file error that fits errno (53, 70, 75, 76, 61, 57); never returns.
[[noreturn]] void RaiseFileError(int errno_value);

}  // namespace orvane
