// The members a typed control converts (see py_typed_members.h).
#include "py_typed_members.h"

#include <cstdint>
#include <optional>
#include <string>

#include "platform/win32_registry.h"
#include "py_typed_data.h"

namespace py = pybind11;

namespace orvane::python {
namespace {

// The registry type of the control's current value; none when it cannot be
// queried (the value went away since it was read).
std::optional<int32_t> StoredValueType(const Quorvel& control) {
  HKEY key = nullptr;
  const HKEY root = reinterpret_cast<HKEY>(static_cast<intptr_t>(control.hKey()));
  if (RegOpenKeyExA(root, control.SubKeyPath().c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return {};
  DWORD type = 0;
  const LONG status = RegQueryValueExA(key, control.ValueName().c_str(), nullptr, &type, nullptr, nullptr);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS) return {};
  return static_cast<int32_t>(type);
}

py::object Empty(const char* type_name) { return py::module_::import("orvane").attr(type_name)(); }

}  // namespace

py::object ControlArgument(const MemberInfo& member, size_t index, const py::object& passed) {
  if (member.name == "SetAllValues" && index == 0) return ConvertRows(passed, TextData);
  return passed;
}

py::object TypedOutput(const MemberInfo& member, size_t index, const py::object& output) {
  const bool result = index == member.params.size();
  if (member.name == "SetAllValues" && index == 0) return ConvertRows(output, TypedData);
  if (member.name == "GetAllValues" && result) {
    return output.is_none() ? Empty("Table") : ConvertRows(output, TypedData);
  }
  if (member.name == "GetAllKeys" && result && output.is_none()) return Empty("Array");
  return output;
}

void AfterTypedMember(Quorvel& control, const MemberInfo& member) {
  if (member.name != "GetValue") return;
  const std::optional<int32_t> stored = StoredValueType(control);
  if (!stored || *stored == control.ValueType()) return;
  const Variant value = control.Value();
  control.ValueType(*stored);  // resets Value for the new type
  control.Value(value);
}

}  // namespace orvane::python
