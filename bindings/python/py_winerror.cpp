// OSError with winerror for registry statuses (see py_winerror.h).
#include "py_winerror.h"

#include <cerrno>
#include <string>

namespace py = pybind11;

namespace orvane::python {
namespace {

struct StatusText {
  LONG status;
  int error_number;
  const char* message;
};

// The statuses the store and this module return, with the errno a Windows
// C library maps them to (EINVAL for the rest) and the system's message.
constexpr StatusText kStatuses[] = {
    {ERROR_FILE_NOT_FOUND, ENOENT, "The system cannot find the file specified"},
    {ERROR_ACCESS_DENIED, EACCES, "Access is denied"},
    {ERROR_INVALID_HANDLE, EBADF, "The handle is invalid"},
    {ERROR_OUTOFMEMORY, ENOMEM, "Not enough memory resources are available to complete this operation"},
    {53, ENOENT, "The network path was not found"},
    {ERROR_INVALID_PARAMETER, EINVAL, "The parameter is incorrect"},
    {ERROR_DISK_FULL, ENOSPC, "There is not enough space on the disk"},
    {120, EINVAL, "This function is not supported on this system"},
    {32, EACCES, "The process cannot access the file because it is being used by another process"},
    {ERROR_BAD_PATHNAME, ENOENT, "The specified path is invalid"},
    {183, EEXIST, "Cannot create a file when that file already exists"},
    {ERROR_BUSY, EINVAL, "The requested resource is in use"},
    {ERROR_MORE_DATA, EINVAL, "More data is available"},
    {ERROR_NO_MORE_ITEMS, EINVAL, "No more data is available"},
    {ERROR_NOACCESS, EINVAL, "Invalid access to memory location"},
    {ERROR_BADDB, EINVAL, "The configuration registry database is corrupt"},
    {ERROR_BADKEY, EINVAL, "The configuration registry key is invalid"},
    {ERROR_CANTOPEN, EINVAL, "The configuration registry key could not be opened"},
    {ERROR_CANTREAD, EINVAL, "The configuration registry key could not be read"},
    {ERROR_CANTWRITE, EINVAL, "The configuration registry key could not be written"},
    {ERROR_KEY_DELETED, EINVAL, "Illegal operation attempted on a registry key that has been marked for deletion"},
};

}  // namespace

void RaiseWinError(LONG status) {
  int error_number = EINVAL;
  std::string message = "Registry status " + std::to_string(status);
  for (const StatusText& known : kStatuses) {
    if (known.status == status) {
      error_number = known.error_number;
      message = known.message;
    }
  }
  // OSError(errno, strerror) is constructed as the subclass for errno.
  py::object error = py::reinterpret_steal<py::object>(
      PyObject_CallFunction(PyExc_OSError, "is", error_number, message.c_str()));
  if (!error) throw py::error_already_set();
  error.attr("winerror") = status;
  PyErr_SetObject(reinterpret_cast<PyObject*>(Py_TYPE(error.ptr())), error.ptr());
  throw py::error_already_set();
}

}  // namespace orvane::python
