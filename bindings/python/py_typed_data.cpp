// Typed forms of the control's value data (see py_typed_data.h).
#include "py_typed_data.h"

#include <cstdint>
#include <string>

namespace py = pybind11;

namespace orvane::python {
namespace {

constexpr int32_t kMultiStringType = 7;

// Types whose data the control holds as hexadecimal text.
bool IsHexType(int32_t type) { return type != 1 && type != 2 && type != 4 && type != kMultiStringType; }

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The bytes of hexadecimal `text`; `data` itself when it is no such text.
py::object BytesOfHex(const py::object& data, const std::string& text) {
  std::string bytes;
  for (size_t i = 0; i + 1 < text.size(); i += 2) {
    const int high = HexDigit(text[i]);
    const int low = HexDigit(text[i + 1]);
    if (high < 0 || low < 0) return data;
    bytes += static_cast<char>(high * 16 + low);
  }
  if (text.size() % 2 != 0) return data;
  return py::bytes(bytes);
}

std::string HexOfBytes(const py::object& data) {
  static constexpr char kDigits[] = "0123456789abcdef";
  const py::object copied = py::reinterpret_steal<py::object>(PyBytes_FromObject(data.ptr()));
  if (!copied) throw py::error_already_set();
  const std::string bytes = copied.cast<std::string>();
  std::string text;
  for (const char byte : bytes) {
    text += kDigits[static_cast<unsigned char>(byte) >> 4];
    text += kDigits[static_cast<unsigned char>(byte) & 0xF];
  }
  return text;
}

py::object EntriesOfText(const py::str& text) {
  if (py::len(text) == 0) return py::list();
  return text.attr("split")("|");
}

py::str TextOfEntries(const py::sequence& entries) {
  for (const py::handle entry : entries) {
    if (!py::isinstance<py::str>(entry)) throw py::type_error("the entries of a multi-string must be str");
    const py::object holds = entry.attr("__contains__");
    if (holds(py::str("|")).cast<bool>() || holds(py::str(std::string(1, '\0'))).cast<bool>()) {
      throw py::value_error("an entry of a multi-string cannot hold '|' or NUL: " +
                            py::repr(entry).cast<std::string>());
    }
  }
  return py::str("|").attr("join")(entries);
}

bool IsBuffer(const py::object& data) { return !py::isinstance<py::str>(data) && PyObject_CheckBuffer(data.ptr()); }

bool IsEntryList(const py::object& data) { return py::isinstance<py::list>(data) || py::isinstance<py::tuple>(data); }

// Row [name, data, type] with its data converted; any other row (a type
// that is no 32-bit number included) as it is.
py::object ConvertRow(const py::handle& row, DataConversion convert) {
  if (!py::isinstance<py::list>(row) || py::len(row) != 3) return py::reinterpret_borrow<py::object>(row);
  py::list converted = py::reinterpret_steal<py::list>(PySequence_List(row.ptr()));
  const py::object type = converted[2];
  if (!py::isinstance<py::int_>(type)) return converted;
  int overflow = 0;
  const long number = PyLong_AsLongAndOverflow(type.ptr(), &overflow);
  if (overflow != 0 || number < INT32_MIN || number > INT32_MAX) return converted;
  converted[1] = convert(converted[1], static_cast<int32_t>(number));
  return converted;
}

}  // namespace

py::object TypedData(const py::object& data, int32_t type) {
  if (!py::isinstance<py::str>(data)) return data;
  if (type == kMultiStringType) return EntriesOfText(data);
  if (IsHexType(type) && data.attr("isascii")().cast<bool>()) return BytesOfHex(data, data.cast<std::string>());
  return data;
}

py::object TextData(const py::object& data, int32_t type) {
  if (type == kMultiStringType && IsEntryList(data)) return TextOfEntries(data);
  if (IsHexType(type) && IsBuffer(data)) return py::str(HexOfBytes(data));
  return data;
}

py::object ConvertRows(const py::object& rows, DataConversion convert) {
  if (!py::isinstance<py::list>(rows)) return rows;
  py::list converted;
  for (const py::handle row : rows) converted.append(ConvertRow(row, convert));
  const py::object table_type = py::module_::import("orvane").attr("Table");
  if (py::isinstance(rows, table_type)) {
    return table_type(converted, py::arg("lower_bounds") = rows.attr("lower_bounds"));
  }
  return converted;
}

}  // namespace orvane::python
