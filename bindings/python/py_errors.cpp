// The Python exceptions of the control's errors (see py_errors.h).
#include "py_errors.h"

#include <pybind11/eval.h>

#include "orvane/runtime_errors.h"

namespace py = pybind11;

namespace orvane::python {
namespace {

constexpr const char* kErrorsSource = R"py(
class RegistryError(OSError):
    """An error raised by the control: the number, description, source,
    help file and help context of its error record. An OSError whose args
    are (number, description); errno is None, as the number is the
    control's, not the C library's."""
    def __init__(self, number, description, source="", helpfile="", helpcontext=0):
        super().__init__(number, description)
        self.errno = None
        self.strerror = description
        self.number = number
        self.description = description
        self.source = source
        self.helpfile = helpfile
        self.helpcontext = helpcontext
    def __str__(self):
        return "%s (error %d)" % (self.description, self.number)

class RegistryOverflowError(RegistryError, OverflowError):
    """The runtime's error 6, Overflow."""

class RegistryTypeError(RegistryError, TypeError):
    """The runtime's errors 13 (Type mismatch), 449 and 450 (arguments)."""

class RegistryIndexError(RegistryError, IndexError):
    """The runtime's error 9, Subscript out of range."""
)py";

py::object& g_registry_error = *new py::object();
py::object& g_overflow_error = *new py::object();
py::object& g_type_error = *new py::object();
py::object& g_index_error = *new py::object();

const py::object& ClassFor(int32_t number) {
  switch (number) {
    case kErrOverflow: return g_overflow_error;
    case kErrTypeMismatch:
    case kErrArgumentNotOptional:
    case kErrWrongArgumentCount: return g_type_error;
    case kErrSubscript: return g_index_error;
    default: return g_registry_error;
  }
}

}  // namespace

void DefineErrors(py::module_& module) {
  py::dict scope;
  scope["__name__"] = "orvane";
  py::exec(kErrorsSource, scope);
  g_registry_error = scope["RegistryError"];
  g_overflow_error = scope["RegistryOverflowError"];
  g_type_error = scope["RegistryTypeError"];
  g_index_error = scope["RegistryIndexError"];
  for (const char* name : {"RegistryError", "RegistryOverflowError", "RegistryTypeError", "RegistryIndexError"}) {
    module.attr(name) = scope[name];
  }
}

void RaisePythonError(const Error& error) {
  const ErrorRecord& record = error.record();
  auto text = [](const std::string& bytes) {
    return py::reinterpret_steal<py::object>(
        PyUnicode_DecodeUTF8(bytes.data(), static_cast<Py_ssize_t>(bytes.size()), "replace"));
  };
  py::object exception = ClassFor(record.number)(record.number, text(record.description), text(record.source),
                                                 text(record.help_file), record.help_context);
  PyErr_SetObject(exception.get_type().ptr(), exception.ptr());
  throw py::error_already_set();
}

}  // namespace orvane::python
