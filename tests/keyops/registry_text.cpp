// Test helpers over the registry API.
#include "keyops/registry_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <vector>

#include "support/wine.h"

namespace orvane::testing {
namespace {

constexpr DWORD kAccess = 0x3F;

struct Key {
  HKEY handle = nullptr;
  ~Key() {
    if (handle != nullptr) RegCloseKey(handle);
  }
  bool Open(HKEY root, const std::string& path) {
    return RegOpenKeyExA(root, path.c_str(), 0, kAccess, &handle) == ERROR_SUCCESS;
  }
};

std::string Hex(const BYTE* data, DWORD size) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text;
  for (DWORD i = 0; i < size; ++i) {
    text += kDigits[data[i] >> 4];
    text += kDigits[data[i] & 15];
  }
  return text;
}

// A string with exactly one terminator prints as "text"; anything else as
// its type number and hex bytes.
std::string DataText(DWORD type, const BYTE* data, DWORD size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  if (type == REG_SZ && size > 0 && bytes.find('\0') == size - 1) return "\"" + bytes.substr(0, size - 1) + "\"";
  return std::to_string(type) + ":" + Hex(data, size);
}

void AppendValues(HKEY key, std::string& out) {
  for (DWORD i = 0;; ++i) {
    std::vector<char> name(20000);
    std::vector<BYTE> data(1 << 16);
    DWORD name_length = static_cast<DWORD>(name.size());
    DWORD size = static_cast<DWORD>(data.size());
    DWORD type = 0;
    if (RegEnumValueA(key, i, name.data(), &name_length, nullptr, &type, data.data(), &size) != ERROR_SUCCESS) {
      return;
    }
    out += "\"" + std::string(name.data(), name_length) + "\"=" + DataText(type, data.data(), size) + "\n";
  }
}

void AppendTree(HKEY root, const std::string& path, const std::string& relative, std::string& out) {
  Key key;
  if (!key.Open(root, path)) {
    out += "<missing>\n";
    return;
  }
  out += "[" + relative + "]\n";
  AppendValues(key.handle, out);
  for (DWORD i = 0;; ++i) {
    char name[2048];
    DWORD length = sizeof name;
    if (RegEnumKeyExA(key.handle, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) return;
    const std::string child(name, length);
    AppendTree(root, path.empty() ? child : path + "\\" + child, relative.empty() ? child : relative + "\\" + child,
               out);
  }
}

std::string WithLinesSorted(const std::string& listing) {
  std::istringstream in(listing);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  std::sort(lines.begin(), lines.end());
  std::string out;
  for (const std::string& line : lines) out += line + "\n";
  return out;
}

// The listing with the value lines of each key sorted.
std::string WithValuesSorted(const std::string& listing) {
  std::istringstream in(listing);
  std::string out;
  std::vector<std::string> values;
  const auto flush = [&] {
    std::sort(values.begin(), values.end());
    for (const std::string& line : values) out += line + "\n";
    values.clear();
  };
  for (std::string line; std::getline(in, line);) {
    if (line.starts_with("\"")) {
      values.push_back(line);
    } else {
      flush();
      out += line + "\n";
    }
  }
  flush();
  return out;
}

}  // namespace

::testing::AssertionResult TreesMatch(const char* actual_expression, const char* expected_expression,
                                      const std::string& actual, const std::string& expected) {
  const bool same = RunningUnderWine() ? WithValuesSorted(actual) == WithValuesSorted(expected) : actual == expected;
  if (same) return ::testing::AssertionSuccess();
  return ::testing::internal::EqFailure(actual_expression, expected_expression, actual, expected, false);
}

::testing::AssertionResult RowsMatch(const char* actual_expression, const char* expected_expression,
                                     const std::string& actual, const std::string& expected) {
  const bool same = RunningUnderWine() ? WithLinesSorted(actual) == WithLinesSorted(expected) : actual == expected;
  if (same) return ::testing::AssertionSuccess();
  return ::testing::internal::EqFailure(actual_expression, expected_expression, actual, expected, false);
}

void PutKey(HKEY root, const std::string& path) {
  HKEY key = nullptr;
  DWORD disposition = 0;
  ASSERT_EQ(RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, kAccess, nullptr, &key, &disposition), 0) << path;
  RegCloseKey(key);
}

void PutValue(HKEY root, const std::string& path, const std::string& name, DWORD type, const std::string& data) {
  HKEY key = nullptr;
  DWORD disposition = 0;
  ASSERT_EQ(RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, kAccess, nullptr, &key, &disposition), 0) << path;
  EXPECT_EQ(RegSetValueExA(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.data()),
                           static_cast<DWORD>(data.size())),
            0);
  RegCloseKey(key);
}

void PutString(HKEY root, const std::string& path, const std::string& name, const std::string& text) {
  PutValue(root, path, name, REG_SZ, std::string(text.c_str(), text.size() + 1));
}

bool KeyThere(HKEY root, const std::string& path) {
  Key key;
  return key.Open(root, path);
}

std::string TreeText(HKEY root, const std::string& path) {
  std::string out;
  AppendTree(root, path, "", out);
  return out;
}

std::string StringAt(HKEY root, const std::string& path, const std::string& name) {
  Key key;
  if (!key.Open(root, path)) return "<missing>";
  char data[4096];
  DWORD size = sizeof data;
  DWORD type = 0;
  if (RegQueryValueExA(key.handle, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data), &size) != 0) {
    return "<missing>";
  }
  return std::string(data, size > 0 && data[size - 1] == '\0' ? size - 1 : size);
}

int SubKeyCount(HKEY root, const std::string& path) {
  Key key;
  if (!key.Open(root, path)) return -1;
  DWORD sub_keys = 0;
  if (RegQueryInfoKeyA(key.handle, nullptr, nullptr, nullptr, &sub_keys, nullptr, nullptr, nullptr, nullptr,
                       nullptr, nullptr, nullptr) != 0) {
    return -1;
  }
  return static_cast<int>(sub_keys);
}

}  // namespace orvane::testing
