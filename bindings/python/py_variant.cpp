// Python objects to Variants and back (see py_variant.h).
#include "py_variant.h"

#include <pybind11/eval.h>

#include <limits>
#include <string>
#include <vector>

namespace py = pybind11;

namespace orvane::python {
namespace {

// One level of array nesting while it lives; a level past kMaxArrayDepth
// raises ValueError instead of recursing further (a list that contains
// itself would never end, a very deep one would exhaust the stack).
class Nesting {
 public:
  explicit Nesting(int& depth) : depth_(depth) {
    if (depth_ == kMaxArrayDepth) {
      throw py::value_error("arrays nested more than " + std::to_string(kMaxArrayDepth) +
                            " levels deep (or a list that contains itself) cannot be passed to the control");
    }
    ++depth_;
  }
  ~Nesting() { --depth_; }
  Nesting(const Nesting&) = delete;
  Nesting& operator=(const Nesting&) = delete;

 private:
  int& depth_;
};

// Held for the life of the process (never destroyed after the interpreter).
py::object& g_null = *new py::object();        // orvane.Null
py::object& g_array_type = *new py::object();  // orvane.Array
py::object& g_table_type = *new py::object();  // orvane.Table

// The Python classes are plain Python so that they behave as lists do.
constexpr const char* kValueTypesSource = R"py(
class NullType:
    """The Null value of the control's Variants (not Empty, which is None)."""
    _instance = None
    def __new__(cls):
        if cls._instance is None:
            cls._instance = super().__new__(cls)
        return cls._instance
    def __repr__(self):
        return "orvane.Null"
    def __bool__(self):
        return False

class ByRef:
    """A by-reference argument: pass ByRef(value) where a method may write
    an argument back; after the call `value` holds what the method left."""
    def __init__(self, value=None):
        self.value = value
    def __repr__(self):
        return "orvane.ByRef(%r)" % (self.value,)

class Array(list):
    """A one-dimensional array: a list whose first element has index `lower`."""
    def __init__(self, items=(), lower=0):
        super().__init__(items)
        self.lower = lower
    def __repr__(self):
        return "orvane.Array(%s, lower=%d)" % (list.__repr__(self), self.lower)

class Table(list):
    """A two-dimensional array as a list of rows; `lower_bounds` holds the
    lower bounds of the row index and of the column index."""
    def __init__(self, rows=(), lower_bounds=(0, 0)):
        super().__init__(list(row) for row in rows)
        self.lower_bounds = tuple(lower_bounds)
    def __repr__(self):
        return "orvane.Table(%s, lower_bounds=%r)" % (list.__repr__(self), self.lower_bounds)
)py";

std::string Utf8(const py::handle& text) {
  py::bytes encoded = py::reinterpret_steal<py::bytes>(
      PyUnicode_AsEncodedString(text.ptr(), "utf-8", "surrogateescape"));
  if (!encoded) throw py::error_already_set();
  return std::string(encoded);
}

int32_t LowerBound(const py::handle& object, const char* attribute, size_t index) {
  if (!py::hasattr(object, attribute)) return 0;
  py::object value = object.attr(attribute);
  if (py::isinstance<py::tuple>(value)) return py::cast<int32_t>(value.cast<py::tuple>()[index]);
  return py::cast<int32_t>(value);
}

bool IsSequence(const py::handle& object) {
  return py::isinstance<py::list>(object) || py::isinstance<py::tuple>(object);
}

// A list of lists of one length (at least one row) is a table of rows.
bool IsTable(const py::sequence& rows) {
  if (py::isinstance(rows, g_table_type)) return true;
  if (py::isinstance(rows, g_array_type) || py::len(rows) == 0) return false;
  size_t width = 0;
  for (size_t i = 0; i < py::len(rows); ++i) {
    py::object row = rows[i];
    if (!py::isinstance<py::list>(row)) return false;
    if (i == 0) width = py::len(row);
    if (py::len(row) != width) return false;
  }
  return true;
}

Variant ToVariantAt(const py::handle& object, int& depth);

Variant TableToVariant(const py::sequence& rows, int& depth) {
  const int32_t row_lower = LowerBound(rows, "lower_bounds", 0);
  const int32_t column_lower = LowerBound(rows, "lower_bounds", 1);
  const auto height = static_cast<int32_t>(py::len(rows));
  const auto width = height == 0 ? 0 : static_cast<int32_t>(py::len(rows[0]));
  SafeArray array(VarType::kVariant, {{row_lower, row_lower + height - 1}, {column_lower, column_lower + width - 1}});
  for (int32_t i = 0; i < height; ++i) {
    py::sequence row = rows[static_cast<size_t>(i)];
    if (static_cast<int32_t>(py::len(row)) != width) throw py::value_error("the rows of a table differ in length");
    for (int32_t j = 0; j < width; ++j) {
      array.set(row_lower + i, column_lower + j, ToVariantAt(row[static_cast<size_t>(j)], depth));
    }
  }
  return Variant::Array(std::move(array));
}

Variant ListToVariant(const py::sequence& items, int& depth) {
  const int32_t lower = LowerBound(items, "lower", 0);
  const auto count = static_cast<int32_t>(py::len(items));
  SafeArray array(VarType::kVariant, {{lower, lower + count - 1}});
  for (int32_t i = 0; i < count; ++i) array.set(lower + i, ToVariantAt(items[static_cast<size_t>(i)], depth));
  return Variant::Array(std::move(array));
}

py::object FromVariantAt(const Variant& value, int& depth);

py::object ArrayToPython(const SafeArray& array, int& depth) {
  if (array.dimensions() == 1) {
    py::list items;
    for (int32_t i = array.lower(1); i <= array.upper(1); ++i) items.append(FromVariantAt(array.at(i), depth));
    return g_array_type(items, py::arg("lower") = array.lower(1));
  }
  py::list rows;
  for (int32_t i = array.lower(1); i <= array.upper(1); ++i) {
    py::list row;
    for (int32_t j = array.lower(2); j <= array.upper(2); ++j) row.append(FromVariantAt(array.at(i, j), depth));
    rows.append(row);
  }
  return g_table_type(rows, py::arg("lower_bounds") = py::make_tuple(array.lower(1), array.lower(2)));
}

Variant ToVariantAt(const py::handle& object, int& depth) {
  if (object.is_none()) return Variant();
  if (object.is(g_null)) return Variant::Null();
  if (py::isinstance<py::bool_>(object)) return Variant::Boolean(object.cast<bool>());
  if (py::isinstance<py::int_>(object)) {
    const long long value = PyLong_AsLongLong(object.ptr());
    if (value == -1 && PyErr_Occurred()) {
      PyErr_Clear();
      return Variant::Double(PyLong_AsDouble(object.ptr()));
    }
    if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max()) {
      return Variant::Double(static_cast<double>(value));
    }
    return Variant::Long(static_cast<int32_t>(value));
  }
  if (py::isinstance<py::float_>(object)) return Variant::Double(object.cast<double>());
  if (py::isinstance<py::str>(object)) return Variant::String(Utf8(object));
  if (py::isinstance<py::bytes>(object)) return Variant::String(object.cast<std::string>());
  if (IsSequence(object)) {
    const Nesting level(depth);
    py::sequence items = py::reinterpret_borrow<py::sequence>(object);
    return IsTable(items) ? TableToVariant(items, depth) : ListToVariant(items, depth);
  }
  throw py::type_error("cannot pass a " + std::string(py::str(object.get_type().attr("__name__"))) +
                       " to the control");
}

py::object FromVariantAt(const Variant& value, int& depth) {
  if (value.is_array()) {
    const Nesting level(depth);
    return ArrayToPython(value.array(), depth);
  }
  switch (value.type()) {
    case VarType::kEmpty: return py::none();
    case VarType::kNull: return g_null;
    case VarType::kBoolean: return py::bool_(value.boolean());
    case VarType::kByte: return py::int_(value.byte());
    case VarType::kInteger: return py::int_(value.integer());
    case VarType::kLong: return py::int_(value.long_value());
    case VarType::kDouble: return py::float_(value.double_value());
    case VarType::kString: {
      const std::string& bytes = value.string();
      return py::reinterpret_steal<py::object>(
          PyUnicode_DecodeUTF8(bytes.data(), static_cast<Py_ssize_t>(bytes.size()), "surrogateescape"));
    }
    default: return py::none();
  }
}

}  // namespace

void DefineValueTypes(py::module_& module) {
  py::dict scope;
  scope["__name__"] = "orvane";
  py::exec(kValueTypesSource, scope);
  g_null = scope["NullType"]();
  g_array_type = scope["Array"];
  g_table_type = scope["Table"];
  module.attr("NullType") = scope["NullType"];
  module.attr("Null") = g_null;
  module.attr("Array") = g_array_type;
  module.attr("Table") = g_table_type;
  module.attr("ByRef") = scope["ByRef"];
}

Variant ToVariant(const py::handle& object) {
  int depth = 0;
  return ToVariantAt(object, depth);
}

py::object FromVariant(const Variant& value) {
  int depth = 0;
  return FromVariantAt(value, depth);
}

}  // namespace orvane::python
