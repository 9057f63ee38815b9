// The type library's enumerations, built from the control's constant table.
#include "py_enums.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "orvane/dispatch.h"

namespace py = pybind11;

namespace orvane::python {

void DefineEnumerations(py::module_& module) {
  std::vector<std::string> order;
  std::map<std::string, py::list> members;
  for (const EnumConstant& constant : QuorvelEnumConstants()) {
    if (!members.count(constant.enum_name)) order.push_back(constant.enum_name);
    members[constant.enum_name].append(py::make_tuple(constant.name, constant.value));
  }
  py::object int_enum = py::module_::import("enum").attr("IntEnum");
  for (const std::string& name : order) {
    py::object enumeration = int_enum(name, members[name], py::arg("module") = "orvane");
    module.attr(name.c_str()) = enumeration;
    for (const py::handle member : enumeration) {
      module.attr(member.attr("name")) = member;
    }
  }
}

}  // namespace orvane::python
