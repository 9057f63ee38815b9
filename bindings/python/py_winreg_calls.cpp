// Multi-call bodies of orvane.winreg's functions (see py_winreg_calls.h).
#include "py_winreg_calls.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>

#include "py_hkey.h"
#include "py_regdata.h"

namespace py = pybind11;

namespace orvane::python {

py::object OpenKey(const py::object& key, const py::object& sub_key, const py::object& reserved,
                   const py::object& access) {
  const HKEY parent = KeyArgument(key);
  const std::string path = NameArgument(sub_key, true);
  const DWORD options = DwordArgument(reserved);
  const REGSAM desired = DwordArgument(access);
  HKEY opened = nullptr;
  Registry([&] { return RegOpenKeyExA(parent, path.c_str(), options, desired, &opened); });
  return OwnedKey(opened, desired);
}

py::object CreateKeyEx(const py::object& key, const py::object& sub_key, const py::object& reserved,
                       const py::object& access) {
  const HKEY parent = KeyArgument(key);
  if (sub_key.is_none() && IsPredefined(parent)) return RootKey(parent);
  const std::string path = NameArgument(sub_key, true);
  const DWORD zero = DwordArgument(reserved);
  const REGSAM desired = DwordArgument(access);
  HKEY created = nullptr;
  Registry([&] {
    return RegCreateKeyExA(parent, path.c_str(), zero, nullptr, REG_OPTION_NON_VOLATILE, desired, nullptr, &created,
                           nullptr);
  });
  return OwnedKey(created, desired);
}

// The data of the value `name` of `key`, and its type.
namespace {

std::string ReadValue(HKEY key, const char* name, DWORD* type) {
  std::string data;
  for (;;) {
    DWORD size = 0;
    Registry([&] { return RegQueryValueExA(key, name, nullptr, type, nullptr, &size); });
    data.resize(size + 1);  // never an empty buffer
    LONG status;
    {
      py::gil_scoped_release unlocked;
      status = RegQueryValueExA(key, name, nullptr, type, reinterpret_cast<BYTE*>(data.data()), &size);
    }
    if (status == ERROR_MORE_DATA) continue;  // it grew meanwhile
    CheckStatus(status);
    data.resize(size);
    return data;
  }
}

void WriteValue(HKEY key, const char* name, DWORD type, const std::string& data) {
  Registry([&] {
    return RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(data.data()),
                          static_cast<DWORD>(data.size()));
  });
}

}  // namespace

void SetValueEx(const py::object& key, const py::object& value_name, const py::object& type,
                const py::object& value) {
  const HKEY handle = KeyArgument(key);
  const std::string name = NameArgument(value_name, true);
  const DWORD value_type = DwordArgument(type);
  WriteValue(handle, NameOrNull(name, value_name), value_type, DataFromPython(value, value_type));
}

py::tuple EnumValue(const py::object& key, const py::object& index) {
  const HKEY handle = KeyArgument(key);
  const DWORD at = DwordArgument(index);
  DWORD name_size = 0;
  DWORD data_size = 0;
  Registry([&] {
    return RegQueryInfoKeyA(handle, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &name_size,
                            &data_size, nullptr, nullptr);
  });
  std::string name(name_size + 1, '\0');
  std::string data(data_size + 1, '\0');
  for (;;) {
    DWORD name_length = static_cast<DWORD>(name.size());
    DWORD data_length = static_cast<DWORD>(data.size());
    DWORD type = REG_NONE;
    LONG status;
    {
      py::gil_scoped_release unlocked;
      status = RegEnumValueA(handle, at, name.data(), &name_length, nullptr, &type,
                             reinterpret_cast<BYTE*>(data.data()), &data_length);
    }
    if (status == ERROR_MORE_DATA) {  // changed meanwhile
      name.resize(name.size() * 2);
      data.resize(std::max<size_t>(data.size() * 2, data_length + 1));
      continue;
    }
    CheckStatus(status);
    return py::make_tuple(NameToPython(std::string_view(name.data(), name_length)),
                          DataToPython(std::string_view(data.data(), data_length), type), type);
  }
}

py::str EnumKey(const py::object& key, const py::object& index) {
  const HKEY handle = KeyArgument(key);
  const DWORD at = DwordArgument(index);
  std::string name(1024, '\0');
  for (;;) {
    DWORD length = static_cast<DWORD>(name.size());
    LONG status;
    {
      py::gil_scoped_release unlocked;
      status = RegEnumKeyExA(handle, at, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
    }
    if (status == ERROR_MORE_DATA) {
      name.resize(name.size() * 2);
      continue;
    }
    CheckStatus(status);
    return NameToPython(std::string_view(name.data(), length));
  }
}

py::str QueryValue(const py::object& key, const py::object& sub_key) {
  HKEY handle = KeyArgument(key);
  const std::string path = NameArgument(sub_key, true);
  HKEY opened = nullptr;
  if (!path.empty()) {
    Registry([&] { return RegOpenKeyExA(handle, path.c_str(), 0, KEY_QUERY_VALUE, &opened); });
    handle = opened;
  }
  // Closes the sub-key's handle however the read ends.
  struct Closer {
    HKEY key;
    ~Closer() {
      if (key != nullptr) RegCloseKey(key);
    }
  } closer{opened};
  DWORD type = REG_NONE;
  DWORD size = 0;
  LONG status;
  {
    py::gil_scoped_release unlocked;
    status = RegQueryValueExA(handle, nullptr, nullptr, &type, nullptr, &size);
  }
  if (status == ERROR_FILE_NOT_FOUND) return py::str("");  // no default value: an empty string
  CheckStatus(status);
  const std::string data = ReadValue(handle, nullptr, &type);
  return NameToPython(std::string_view(data).substr(0, data.find('\0')));
}

void SetValue(const py::object& key, const py::object& sub_key, const py::object& type, const py::object& value) {
  const HKEY handle = KeyArgument(key);
  const std::string path = NameArgument(sub_key, true);
  if (DwordArgument(type) != REG_SZ) throw py::type_error("type must be winreg.REG_SZ");
  if (!PyUnicode_Check(value.ptr())) {
    throw py::type_error(std::string("value must be str, not ") + Py_TYPE(value.ptr())->tp_name);
  }
  const std::string data = DataFromPython(value, REG_SZ);
  HKEY target = handle;
  if (!path.empty()) {
    Registry([&] {
      return RegCreateKeyExA(handle, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr,
                             &target, nullptr);
    });
  }
  LONG status;
  {
    py::gil_scoped_release unlocked;
    status = RegSetValueExA(target, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.data()),
                            static_cast<DWORD>(data.size()));
    if (target != handle) RegCloseKey(target);
  }
  CheckStatus(status);
}

bool IsLocalComputer(std::string name) {
  name.erase(0, name.find_first_not_of('\\'));
  char host[256] = {};
  gethostname(host, sizeof host - 1);
  const std::string full(host);
  const auto same = [&name](const std::string& other) {
    return name.size() == other.size() && std::equal(name.begin(), name.end(), other.begin(), [](char a, char b) {
             return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
           });
  };
  return name.empty() || same(full) || same(full.substr(0, full.find('.'))) || same("localhost");
}

py::tuple QueryValueEx(const py::object& key, const py::object& name) {
  const HKEY handle = KeyArgument(key);
  const std::string value_name = NameArgument(name, true);
  DWORD type = REG_NONE;
  const std::string data = ReadValue(handle, NameOrNull(value_name, name), &type);
  return py::make_tuple(DataToPython(data, type), type);
}

}  // namespace orvane::python
