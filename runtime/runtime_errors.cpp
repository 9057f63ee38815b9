// The runtime's standard error table and the errno-to-error mapping of
// file operations.
#include "orvane/runtime_errors.h"

#include <algorithm>
#include <cerrno>
#include <iterator>

namespace orvane {
namespace {

struct MessageEntry {
  int32_t number;
  const char* message;
};

// Sorted by number.
constexpr MessageEntry kMessages[] = {
    {kErrInvalidProcedureCall, "Invalid procedure call or argument"},
    {kErrOverflow, "Overflow"},
    {kErrOutOfMemory, "Out of memory"},
    {kErrSubscript, "Subscript out of range"},
    {kErrDivisionByZero, "Division by zero"},
    {kErrTypeMismatch, "Type mismatch"},
    {kErrBadFileName, "Bad file name or number"},
    {kErrFileNotFound, "File not found"},
    {kErrBadFileMode, "Bad file mode"},
    {kErrFileAlreadyOpen, "File already open"},
    {kErrDeviceIo, "Device I/O error"},
    {kErrFileExists, "File already exists"},
    {kErrDiskFull, "Disk full"},
    {kErrInputPastEnd, "Input past end of file"},
    {kErrTooManyFiles, "Too many files"},
    {kErrPermissionDenied, "Permission denied"},
    {kErrRenameAcrossDrives, "Can't rename with different drive"},
    {kErrPathFileAccess, "Path/File access error"},
    {kErrPathNotFound, "Path not found"},
    {kErrObjectNotSet, "Object variable or With block variable not set"},
    {kErrInvalidUseOfNull, "Invalid use of Null"},
    {kErrObjectRequired, "Object required"},
    {kErrMemberNotFound, "Object doesn't support this property or method"},
    {kErrArgumentNotOptional, "Argument not optional"},
    {kErrWrongArgumentCount, "Wrong number of arguments or invalid property assignment"},
};

constexpr const char* kUnknownMessage = "Application-defined or object-defined error";

struct ErrnoEntry {
  int errno_value;
  int32_t number;
};

// errno values that map the same way in both parts of a path. Some are
// absent on some systems, hence the guards.
constexpr ErrnoEntry kErrnoMap[] = {
    {ENOTDIR, kErrPathNotFound},
    {EACCES, kErrPermissionDenied},
    {EPERM, kErrPermissionDenied},
    {EROFS, kErrPermissionDenied},
    {EBUSY, kErrPermissionDenied},
#ifdef ETXTBSY
    {ETXTBSY, kErrPermissionDenied},
#endif
    {ENOSPC, kErrDiskFull},
#ifdef EDQUOT
    {EDQUOT, kErrDiskFull},
#endif
    {EIO, kErrDeviceIo},
    {EEXIST, kErrFileExists},
    {EMFILE, kErrTooManyFiles},
    {ENFILE, kErrTooManyFiles},
    {EXDEV, kErrRenameAcrossDrives},
    {ENOMEM, kErrOutOfMemory},
    {EBADF, kErrBadFileName},
};

}  // namespace

const char* RuntimeErrorMessage(int32_t number) {
  auto it = std::lower_bound(std::begin(kMessages), std::end(kMessages), number,
                             [](const MessageEntry& e, int32_t n) { return e.number < n; });
  if (it == std::end(kMessages) || it->number != number) return kUnknownMessage;
  return it->message;
}

ErrorRecord RuntimeErrorRecord(int32_t number) {
  return ErrorRecord{number, kRuntimeErrorSource, RuntimeErrorMessage(number), "", 0};
}

void RaiseRuntimeError(int32_t number) { throw Error(RuntimeErrorRecord(number)); }

int32_t FileErrorNumber(int errno_value, FilePart part) {
  if (errno_value == ENOENT) return part == FilePart::kFile ? kErrFileNotFound : kErrPathNotFound;
  for (const ErrnoEntry& entry : kErrnoMap) {
    if (entry.errno_value == errno_value) return entry.number;
  }
  return kErrPathFileAccess;
}

void RaiseFileError(int errno_value, FilePart part) { RaiseRuntimeError(FileErrorNumber(errno_value, part)); }

}  // namespace orvane
