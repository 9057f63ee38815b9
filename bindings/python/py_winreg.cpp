// The functions of orvane.winreg (see py_winreg.h).
#include "py_winreg.h"

#include <string>

#include "env_expand.h"
#include "py_hkey.h"
#include "py_regdata.h"
#include "py_winerror.h"
#include "py_winreg_calls.h"
#include "py_winreg_constants.h"

namespace py = pybind11;

namespace orvane::python {
namespace {

constexpr LONG kBadNetPath = 53;

}  // namespace

void DefineWinreg(py::module_& parent) {
  py::module_ m = parent.def_submodule(
      "winreg",
      "Python's winreg module over this system's registry: a program written for Windows\n"
      "runs unchanged with `import orvane.winreg as winreg`. Keys, values and data are\n"
      "winreg's; errors are OSError with `winerror` (FileNotFoundError for a missing key\n"
      "or value). LoadKey and SaveKey read and write Windows hive files. What this\n"
      "registry cannot do: ConnectRegistry reaches the local computer only\n"
      "(another name raises FileNotFoundError 53, as an unreachable computer does), the\n"
      "KEY_WOW64_* flags change nothing (one registry view) and the reflection functions\n"
      "raise NotImplementedError, as on 32-bit Windows.");
  py::module_::import("sys").attr("modules")[py::str(parent.attr("__name__")) + py::str(".winreg")] = m;
  DefineWinregConstants(m);
  DefineKeyType(m);
  m.attr("error") = py::reinterpret_borrow<py::object>(PyExc_OSError);

  const py::object read = py::int_(KEY_READ);
  const py::object write = py::int_(KEY_WRITE);
  m.def(
      "CloseKey",
      [](const py::object& hkey) { CloseKeyArgument(hkey); },
      py::arg("hkey"), py::pos_only(), "CloseKey(hkey, /)\n\nCloses a key opened before (a key object or its number).");
  m.def(
      "ConnectRegistry",
      [](const py::object& computer_name, const py::object& key) {
        const HKEY root = KeyArgument(key);
        if (!computer_name.is_none() && !IsLocalComputer(NameArgument(computer_name, false))) {
          RaiseWinError(kBadNetPath);
        }
        if (!IsPredefined(root)) RaiseWinError(ERROR_INVALID_HANDLE);
        return RootKey(root);
      },
      py::arg("computer_name"), py::arg("key"), py::pos_only(),
      "ConnectRegistry(computer_name, key, /) -> PyHKEY\n\n"
      "The predefined key `key` of the computer `computer_name` (r'\\\\name'); None or this\n"
      "computer's name gives the local one. Another computer cannot be reached: OSError 53.");
  m.def(
      "CreateKey",
      [](const py::object& key, const py::object& sub_key) { return CreateKeyEx(key, sub_key, py::int_(0), py::int_(KEY_ALL_ACCESS)); },
      py::arg("key"), py::arg("sub_key"), py::pos_only(),
      "CreateKey(key, sub_key, /) -> PyHKEY\n\n"
      "Creates the key `sub_key` below `key` (with any missing keys above it) or opens it\n"
      "when it exists. With a predefined `key`, sub_key None returns that key.");
  m.def("CreateKeyEx", &CreateKeyEx, py::arg("key"), py::arg("sub_key"), py::arg("reserved") = 0,
        py::arg("access") = write,
        "CreateKeyEx(key, sub_key, reserved=0, access=KEY_WRITE) -> PyHKEY\n\n"
        "CreateKey with the access the returned handle has.");
  m.def(
      "DeleteKey",
      [](const py::object& key, const py::object& sub_key) {
        const HKEY handle = KeyArgument(key);
        const std::string path = NameArgument(sub_key, false);
        Registry([&] { return RegDeleteKeyA(handle, path.c_str()); });
      },
      py::arg("key"), py::arg("sub_key"), py::pos_only(),
      "DeleteKey(key, sub_key, /)\n\nDeletes the key `sub_key` with its values; a key with sub-keys is not deleted\n"
      "(OSError 5).");
  m.def(
      "DeleteKeyEx",
      [](const py::object& key, const py::object& sub_key, const py::object& access, const py::object& reserved) {
        const HKEY handle = KeyArgument(key);
        const std::string path = NameArgument(sub_key, false);
        DwordArgument(access);    // one registry view: the WOW64 flags change nothing
        DwordArgument(reserved);  // ignored, as Wine's RegDeleteKeyExW does
        Registry([&] { return RegDeleteKeyA(handle, path.c_str()); });
      },
      py::arg("key"), py::arg("sub_key"), py::arg("access") = KEY_WOW64_64KEY, py::arg("reserved") = 0,
      "DeleteKeyEx(key, sub_key, access=KEY_WOW64_64KEY, reserved=0)\n\n"
      "DeleteKey; this registry has one view, so the KEY_WOW64_* flags of `access` change\n"
      "nothing; `reserved` is ignored.");
  m.def(
      "DeleteValue",
      [](const py::object& key, const py::object& value) {
        const HKEY handle = KeyArgument(key);
        const std::string name = NameArgument(value, true);
        Registry([&] { return RegDeleteValueA(handle, NameOrNull(name, value)); });
      },
      py::arg("key"), py::arg("value"), py::pos_only(),
      "DeleteValue(key, value, /)\n\nDeletes the value `value` (None: the default value) of `key`.");
  m.def("EnumKey", &EnumKey, py::arg("key"), py::arg("index"), py::pos_only(),
        "EnumKey(key, index, /) -> str\n\nThe name of the sub-key at `index`; OSError 259 past the last one.");
  m.def("EnumValue", &EnumValue, py::arg("key"), py::arg("index"), py::pos_only(),
        "EnumValue(key, index, /) -> (name, data, type)\n\n"
        "The value at `index`: its name, data (str, int, bytes, list[str] or None, by\n"
        "type) and type (REG_*); OSError 259 past the last one.");
  m.def(
      "ExpandEnvironmentStrings",
      [](const py::object& text) {
        return NameToPython(ExpandEnvironment(NameArgument(text, false)));
      },
      py::arg("string"), py::pos_only(),
      "ExpandEnvironmentStrings(string, /) -> str\n\n"
      "Replaces each %NAME% by the environment variable NAME (found ignoring letter case\n"
      "when no variable has the exact name); unset ones stay as written.");
  m.def(
      "FlushKey",
      [](const py::object& key) {
        const HKEY handle = KeyArgument(key);
        Registry([&] { return RegFlushKey(handle); });
      },
      py::arg("key"), py::pos_only(), "FlushKey(key, /)\n\nWrites the changes made so far to the store's file.");
  m.def(
      "LoadKey",
      [](const py::object& key, const py::object& sub_key, const py::object& file_name) {
        const HKEY handle = KeyArgument(key);
        const std::string name = NameArgument(sub_key, false);
        const std::string file = NameArgument(file_name, false);
        Registry([&] { return RegLoadKeyA(handle, name.c_str(), file.c_str()); });
      },
      py::arg("key"), py::arg("sub_key"), py::arg("file_name"), py::pos_only(),
      "LoadKey(key, sub_key, file_name, /)\n\n"
      "Loads the Windows hive file `file_name` as the new key `sub_key` directly below `key`\n"
      "(HKEY_LOCAL_MACHINE or HKEY_USERS), for every program on the store until it is\n"
      "unloaded (orvane-reg unload); each change to it is written to the file.\n");
  m.def("OpenKey", &OpenKey, py::arg("key"), py::arg("sub_key"), py::arg("reserved") = 0, py::arg("access") = read,
        "OpenKey(key, sub_key, reserved=0, access=KEY_READ) -> PyHKEY\n\n"
        "Opens the existing key `sub_key` below `key` (None or '': `key` again) with the access\n"
        "`access`; FileNotFoundError when it is missing.");
  m.def("OpenKeyEx", &OpenKey, py::arg("key"), py::arg("sub_key"), py::arg("reserved") = 0, py::arg("access") = read,
        "OpenKeyEx(key, sub_key, reserved=0, access=KEY_READ) -> PyHKEY\n\nThe same as OpenKey.");
  m.def(
      "QueryInfoKey",
      [](const py::object& key) {
        const HKEY handle = KeyArgument(key);
        DWORD sub_keys = 0;
        DWORD values = 0;
        FILETIME written{};
        Registry([&] {
          return RegQueryInfoKeyA(handle, nullptr, nullptr, nullptr, &sub_keys, nullptr, nullptr, &values, nullptr,
                                  nullptr, nullptr, &written);
        });
        const uint64_t time = (uint64_t{written.dwHighDateTime} << 32) | written.dwLowDateTime;
        return py::make_tuple(sub_keys, values, time);
      },
      py::arg("key"), py::pos_only(),
      "QueryInfoKey(key, /) -> (sub_keys, values, last_modified)\n\n"
      "The number of sub-keys and values of `key` and when it was last written, in units of\n"
      "100 ns since 1 January 1601 (UTC).");
  m.def("QueryValue", &QueryValue, py::arg("key"), py::arg("sub_key"), py::pos_only(),
        "QueryValue(key, sub_key, /) -> str\n\n"
        "The default (unnamed) value of the key `sub_key` below `key` (None or '': `key`) as\n"
        "a string; '' when it has none.");
  m.def(
      "QueryValueEx",
      &QueryValueEx, py::arg("key"), py::arg("name"), py::pos_only(),
      "QueryValueEx(key, name, /) -> (data, type)\n\n"
      "The data (str, int, bytes, list[str] or None, by type) and type (REG_*) of the value\n"
      "`name` (None or '': the default value); FileNotFoundError when it is missing.");
  m.def(
      "SaveKey",
      [](const py::object& key, const py::object& file_name) {
        const HKEY handle = KeyArgument(key);
        const std::string file = NameArgument(file_name, false);
        Registry([&] { return RegSaveKeyA(handle, file.c_str(), nullptr); });
      },
      py::arg("key"), py::arg("file_name"), py::pos_only(),
      "SaveKey(key, file_name, /)\n\n"
      "Writes `key` and its subtree to the new Windows hive file `file_name` (an existing\n"
      "file raises FileExistsError, winerror 183).");
  m.def("SetValue", &SetValue, py::arg("key"), py::arg("sub_key"), py::arg("type"), py::arg("value"), py::pos_only(),
        "SetValue(key, sub_key, type, value, /)\n\n"
        "Sets the default value of the key `sub_key` below `key` (created when missing; None\n"
        "or '': `key`) to the str `value`; `type` must be REG_SZ.");
  m.def(
      "SetValueEx",
      [](const py::object& key, const py::object& value_name, const py::object&, const py::object& type,
         const py::object& value) { SetValueEx(key, value_name, type, value); },
      py::arg("key"), py::arg("value_name"), py::arg("reserved"), py::arg("type"), py::arg("value"), py::pos_only(),
      "SetValueEx(key, value_name, reserved, type, value, /)\n\n"
      "Stores `value` as the value `value_name` (None: the default value) of type `type`:\n"
      "REG_SZ and REG_EXPAND_SZ a str, REG_MULTI_SZ a list of str, REG_DWORD and REG_QWORD\n"
      "an int, other types bytes (any buffer); None stores empty data. `reserved` is\n"
      "ignored.");
  for (const char* name : {"DisableReflectionKey", "EnableReflectionKey", "QueryReflectionKey"}) {
    m.def(
        name,
        [](const py::object& key) -> py::object {
          KeyArgument(key);
          PyErr_SetString(PyExc_NotImplementedError, "this registry has one view, as 32-bit Windows has");
          throw py::error_already_set();
        },
        py::arg("key"), py::pos_only(),
        (std::string(name) + "(key, /)\n\nRaises NotImplementedError: this registry has one view, as 32-bit Windows.")
            .c_str());
  }
}

}  // namespace orvane::python
