// The key objects of orvane.winreg (see py_hkey.h).
#include "py_hkey.h"

#include <cstdint>
#include <cstdio>
#include <string>

#include "py_winerror.h"

namespace py = pybind11;

namespace orvane::python {
namespace {

constexpr uint64_t kFirstRoot = 0x80000000u;
constexpr uint64_t kRootCount = 0x10;

// The number Python sees for `handle`: the roots' 32-bit values, any other
// handle's bits.
uint64_t NumberOf(HKEY handle) {
  const auto bits = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(handle));
  return IsPredefined(handle) ? bits & 0xFFFFFFFFu : bits;
}

// The handle for a number: the roots sign-extended, as the store takes them.
HKEY HandleOf(uint64_t number) {
  if (number - kFirstRoot < kRootCount) {
    return reinterpret_cast<HKEY>(static_cast<intptr_t>(static_cast<int32_t>(static_cast<uint32_t>(number))));
  }
  return reinterpret_cast<HKEY>(static_cast<uintptr_t>(number));
}

class PyHKey {
 public:
  explicit PyHKey(HKEY handle) : handle_(handle) {}
  ~PyHKey() {
    if (handle_ == nullptr) return;
    py::gil_scoped_release unlocked;
    RegCloseKey(handle_);
  }
  PyHKey(const PyHKey&) = delete;
  PyHKey& operator=(const PyHKey&) = delete;

  HKEY handle() const { return handle_; }
  uint64_t number() const { return NumberOf(handle_); }

  void Close() {
    HKEY handle = handle_;
    if (handle == nullptr) return;
    handle_ = nullptr;
    LONG status;
    {
      py::gil_scoped_release unlocked;
      status = RegCloseKey(handle);
    }
    CheckStatus(status);
  }

  uint64_t Detach() {
    const uint64_t number = this->number();
    handle_ = nullptr;
    return number;
  }

 private:
  HKEY handle_;
};

}  // namespace

bool IsPredefined(HKEY handle) {
  const auto value = static_cast<int64_t>(reinterpret_cast<intptr_t>(handle));
  return static_cast<uint64_t>(value - static_cast<int32_t>(kFirstRoot)) < kRootCount;
}

void DefineKeyType(py::module_& module) {
  py::class_<PyHKey> type(module, "PyHKEY",
                          "A registry key handle, closed when the object is closed, leaves a `with`\n"
                          "block or is destroyed. True while it holds a handle; int() gives the\n"
                          "handle's number, which every function accepts in its place.");
  type.def("Close", &PyHKey::Close, "Close()\n\nCloses the handle; nothing happens when it is already closed.")
      .def("Detach", &PyHKey::Detach,
           "Detach() -> int\n\nHands the handle over: returns its number (0 when closed or detached) and\n"
           "leaves it open, no longer owned by this object.")
      .def_property_readonly("handle", &PyHKey::number, "The handle's number (0 when closed or detached).")
      .def("__int__", &PyHKey::number)
      .def("__bool__", [](const PyHKey& self) { return self.handle() != nullptr; })
      .def("__enter__", [](py::object self) { return self; })
      .def("__exit__", [](PyHKey& self, const py::args&) {
        self.Close();
        return false;
      })
      .def("__repr__", [](const PyHKey& self) {
        char text[40];
        std::snprintf(text, sizeof text, "<PyHKEY:0x%llX>", static_cast<unsigned long long>(self.number()));
        return std::string(text);
      });
  module.attr("HKEYType") = type;
}

HKEY KeyArgument(py::handle argument, bool none_ok) {
  if (argument.is_none() && none_ok) return nullptr;
  if (py::isinstance<PyHKey>(argument)) return argument.cast<PyHKey&>().handle();
  if (PyLong_Check(argument.ptr())) {
    const unsigned long long number = PyLong_AsUnsignedLongLongMask(argument.ptr());
    if (PyErr_Occurred()) throw py::error_already_set();
    return HandleOf(number);
  }
  throw py::type_error("The object is not a PyHKEY object");
}

void CloseKeyArgument(py::handle argument) {
  if (py::isinstance<PyHKey>(argument)) {
    argument.cast<PyHKey&>().Close();
    return;
  }
  const HKEY handle = KeyArgument(argument);
  LONG status;
  {
    py::gil_scoped_release unlocked;
    status = RegCloseKey(handle);
  }
  CheckStatus(status);
}

py::object OwnedKey(HKEY handle, REGSAM access) {
  // Such a number would come back from int() as a root: take another handle
  // to the same key first (the store never hands out one handle twice).
  while (NumberOf(handle) - kFirstRoot < kRootCount) {
    HKEY other = nullptr;
    LONG status;
    {
      py::gil_scoped_release unlocked;
      status = RegOpenKeyExA(handle, "", 0, access, &other);
      RegCloseKey(handle);
    }
    CheckStatus(status);
    handle = other;
  }
  return py::cast(new PyHKey(handle), py::return_value_policy::take_ownership);
}

py::object RootKey(HKEY handle) { return py::cast(new PyHKey(handle), py::return_value_policy::take_ownership); }

}  // namespace orvane::python
