// The Python module orvane: the Quorvel control, its enumerations and
// errors, the choice of the registry store, and orvane.winreg (Python's
// winreg module over the store, py_winreg.h). Controls made here show no
// interactive dialog unless asked to (Quorvel(dialogs=...)): their container
// answers the batch style, which comes before ORVANE_DIALOGS.
#include <pybind11/pybind11.h>
#include <pybind11/stl/filesystem.h>

#include <filesystem>
#include <string>

#include "orvane/version.h"
#include "store/registry_store.h"
#include "py_enums.h"
#include "py_errors.h"
#include "py_quorvel.h"
#include "py_variant.h"
#include "py_winreg.h"

namespace py = pybind11;

PYBIND11_MODULE(orvane, module) {
  py::options options;
  options.disable_function_signatures();  // the docstrings give the member table's signatures
  module.doc() =
      "The Orvane registry-editing component: the Quorvel control, its registry store, and\n"
      "orvane.winreg, Python's winreg module over that store.";
  module.attr("__version__") = ORVANE_VERSION_STRING;
  orvane::python::DefineValueTypes(module);
  orvane::python::DefineErrors(module);
  orvane::python::DefineEnumerations(module);
  orvane::python::DefineQuorvel(module);
  orvane::python::DefineWinreg(module);

  module.def(
      "select_store",
      [](const std::filesystem::path& file) {
        const long status = orvane::platform::SelectRegistryStore(std::filesystem::absolute(file));
        if (status != 0) {
          throw py::value_error("cannot use the registry store " + file.string() + " (status " +
                                std::to_string(status) + ")");
        }
      },
      py::arg("file"),
      "Switches this process (and the programs it starts) to the registry store in `file`,\n"
      "created when missing.");
  module.def(
      "store_path", [] { return orvane::platform::CurrentRegistryPath(); },
      "The path of the registry store in use (empty before the first registry call).");
}
