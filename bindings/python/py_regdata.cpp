// Conversions between registry data and Python objects (see py_regdata.h).
#include "py_regdata.h"

#include <stdexcept>

namespace py = pybind11;

namespace orvane::python {
namespace {

[[noreturn]] void CannotStore(DWORD type) {
  throw py::value_error("the data cannot be stored as registry type " + std::to_string(type));
}

std::string Utf8(const py::handle& text) {
  py::object bytes =
      py::reinterpret_steal<py::object>(PyUnicode_AsEncodedString(text.ptr(), "utf-8", "surrogateescape"));
  if (!bytes) throw py::error_already_set();
  return std::string(PyBytes_AS_STRING(bytes.ptr()), static_cast<size_t>(PyBytes_GET_SIZE(bytes.ptr())));
}

uint64_t ReadNumber(std::string_view data, unsigned bytes) {
  uint64_t number = 0;
  for (unsigned i = 0; i < bytes && i < data.size(); ++i) {
    number |= uint64_t{static_cast<unsigned char>(data[i])} << (8 * i);
  }
  return number;
}

}  // namespace

std::string DataFromPython(const py::handle& value, DWORD type) {
  switch (type) {
    case REG_SZ:
    case REG_EXPAND_SZ: {
      if (value.is_none()) return std::string(1, '\0');
      if (!PyUnicode_Check(value.ptr())) CannotStore(type);
      return Utf8(value) + '\0';
    }
    case REG_MULTI_SZ: {
      std::string data;
      if (!value.is_none()) {
        if (!PyList_Check(value.ptr())) CannotStore(type);
        for (const py::handle item : value.cast<py::list>()) {
          if (!PyUnicode_Check(item.ptr())) CannotStore(type);
          data += Utf8(item) + '\0';
        }
      }
      return data + '\0';
    }
    case REG_DWORD:
    case REG_QWORD: {
      const unsigned bits = type == REG_DWORD ? 32 : 64;
      uint64_t number = 0;
      if (!value.is_none()) {
        if (!PyLong_Check(value.ptr())) CannotStore(type);
        number = PyLong_AsUnsignedLongLong(value.ptr());
        if (PyErr_Occurred()) throw py::error_already_set();
        if (bits == 32 && number > 0xFFFFFFFFu) throw std::overflow_error("int too big for REG_DWORD");
      }
      std::string data(bits / 8, '\0');
      for (unsigned i = 0; i < bits / 8; ++i) data[i] = static_cast<char>((number >> (8 * i)) & 0xFF);
      return data;
    }
    default: {
      if (value.is_none()) return {};
      if (!PyObject_CheckBuffer(value.ptr())) {
        throw py::type_error(std::string("Objects of type '") + Py_TYPE(value.ptr())->tp_name +
                             "' can not be used as binary registry values");
      }
      Py_buffer buffer;
      if (PyObject_GetBuffer(value.ptr(), &buffer, PyBUF_SIMPLE) != 0) throw py::error_already_set();
      std::string data(static_cast<const char*>(buffer.buf), static_cast<size_t>(buffer.len));
      PyBuffer_Release(&buffer);
      return data;
    }
  }
}

py::object DataToPython(std::string_view data, DWORD type) {
  switch (type) {
    case REG_SZ:
    case REG_EXPAND_SZ: return NameToPython(data.substr(0, data.find('\0')));
    case REG_MULTI_SZ: {
      py::list strings;
      while (!data.empty()) {
        const size_t end = data.find('\0');
        const std::string_view item = data.substr(0, end);
        if (item.empty()) break;
        strings.append(NameToPython(item));
        data.remove_prefix(end == std::string_view::npos ? data.size() : end + 1);
      }
      return strings;
    }
    case REG_DWORD: return py::int_(ReadNumber(data, 4));
    case REG_QWORD: return py::int_(ReadNumber(data, 8));
    default:
      if (data.empty()) return py::none();
      return py::bytes(data.data(), data.size());
  }
}

std::string NameArgument(const py::handle& name, bool none_ok) {
  if (name.is_none() && none_ok) return {};
  if (!PyUnicode_Check(name.ptr())) {
    throw py::type_error(std::string("a str is required, not '") + Py_TYPE(name.ptr())->tp_name + "'");
  }
  std::string text = Utf8(name);
  if (text.find('\0') != std::string::npos) throw py::value_error("embedded null character");
  return text;
}

py::str NameToPython(std::string_view name) {
  return py::reinterpret_steal<py::str>(
      PyUnicode_DecodeUTF8(name.data(), static_cast<Py_ssize_t>(name.size()), "surrogateescape"));
}

DWORD DwordArgument(const py::handle& number) {
  if (!PyLong_Check(number.ptr())) {
    throw py::type_error(std::string("an integer is required, not '") + Py_TYPE(number.ptr())->tp_name + "'");
  }
  const unsigned long long value = PyLong_AsUnsignedLongLong(number.ptr());
  if (PyErr_Occurred()) throw py::error_already_set();
  if (value > 0xFFFFFFFFu) throw std::overflow_error("Python int too large to convert to C unsigned long");
  return static_cast<DWORD>(value);
}

}  // namespace orvane::python
