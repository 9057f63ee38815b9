// The bodies of orvane.winreg's functions that take more than one registry
// call or convert data (see py_winreg.h for the module): each takes the
// Python arguments as winreg does, makes its calls without the interpreter
// lock and raises a failure as OSError with winerror (py_winerror.h).
#pragma once

#include <pybind11/pybind11.h>

#include <string>

#include "platform/win32_registry.h"
#include "py_winerror.h"

namespace orvane::python {

// Runs the registry call `call` without the interpreter lock; raises its
// failure status.
template <typename Call>
void Registry(Call call) {
  LONG status;
  {
    pybind11::gil_scoped_release unlocked;
    status = call();
  }
  CheckStatus(status);
}

// A name argument for the Win32 call: nullptr when Python passed None.
inline const char* NameOrNull(const std::string& name, const pybind11::handle& given) {
  return given.is_none() ? nullptr : name.c_str();
}

pybind11::object OpenKey(const pybind11::object& key, const pybind11::object& sub_key,
                         const pybind11::object& reserved, const pybind11::object& access);
pybind11::object CreateKeyEx(const pybind11::object& key, const pybind11::object& sub_key,
                             const pybind11::object& reserved, const pybind11::object& access);
pybind11::tuple EnumValue(const pybind11::object& key, const pybind11::object& index);
pybind11::str EnumKey(const pybind11::object& key, const pybind11::object& index);
pybind11::tuple QueryValueEx(const pybind11::object& key, const pybind11::object& name);
pybind11::str QueryValue(const pybind11::object& key, const pybind11::object& sub_key);
// SetValueEx without its ignored `reserved`.
void SetValueEx(const pybind11::object& key, const pybind11::object& value_name, const pybind11::object& type,
                const pybind11::object& value);
void SetValue(const pybind11::object& key, const pybind11::object& sub_key, const pybind11::object& type,
              const pybind11::object& value);

// Whether `name` (with or without leading backslashes) is this computer:
// empty, its host name (also without the domain) or "localhost".
bool IsLocalComputer(std::string name);

}  // namespace orvane::python
