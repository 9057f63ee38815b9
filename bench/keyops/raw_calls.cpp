// Raw registry-call baselines.
#include "bench/keyops/raw_calls.h"

#include <vector>

namespace orvane::bench {
namespace {

constexpr REGSAM kAccess = 0x3F;

HKEY Open(HKEY root, const std::string& path) {
  HKEY key = nullptr;
  RegOpenKeyExA(root, path.c_str(), 0, kAccess, &key);
  return key;
}

HKEY Create(HKEY root, const std::string& path) {
  HKEY key = nullptr;
  DWORD disposition = 0;
  RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, kAccess, nullptr, &key, &disposition);
  return key;
}

std::vector<std::string> Children(HKEY key) {
  std::vector<std::string> names;
  char name[2048];
  for (DWORD i = 0;; ++i) {
    DWORD length = sizeof name;
    if (RegEnumKeyExA(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.emplace_back(name, length);
  }
  return names;
}

void CopyValues(HKEY from, HKEY to) {
  std::vector<BYTE> data(4096);
  char name[2048];
  for (DWORD i = 0;; ++i) {
    DWORD length = sizeof name;
    DWORD size = static_cast<DWORD>(data.size());
    DWORD type = 0;
    if (RegEnumValueA(from, i, name, &length, nullptr, &type, data.data(), &size) != ERROR_SUCCESS) break;
    RegSetValueExA(to, std::string(name, length).c_str(), 0, type, data.data(), size);
  }
}

}  // namespace

void BuildTree(HKEY root, const std::string& path, int fan_out, int fan_out2) {
  auto put = [&](const std::string& key_path) {
    HKEY key = Create(root, key_path);
    static const char kText[] = "some string data";
    RegSetValueExA(key, "v", 0, REG_SZ, reinterpret_cast<const BYTE*>(kText), sizeof kText);
    RegCloseKey(key);
  };
  put(path);
  for (int i = 0; i < fan_out; ++i) {
    const std::string child = path + "\\k" + std::to_string(i);
    put(child);
    for (int j = 0; j < fan_out2; ++j) put(child + "\\g" + std::to_string(j));
  }
}

void RawCopy(HKEY root, const std::string& from, const std::string& to) {
  HKEY source = Open(root, from);
  HKEY destination = Create(root, to);
  CopyValues(source, destination);
  for (const std::string& name : Children(source)) RawCopy(root, from + "\\" + name, to + "\\" + name);
  RegCloseKey(destination);
  RegCloseKey(source);
}

void RawDelete(HKEY root, const std::string& path) {
  HKEY key = Open(root, path);
  for (const std::string& name : Children(key)) {
    RawDelete(root, path + "\\" + name);
  }
  RegCloseKey(key);
  const size_t slash = path.rfind('\\');
  HKEY parent = slash == std::string::npos ? root : Open(root, path.substr(0, slash));
  RegDeleteKeyA(parent, path.substr(slash == std::string::npos ? 0 : slash + 1).c_str());
  if (parent != root) RegCloseKey(parent);
}

std::string RawReadString(HKEY root, const std::string& path, const std::string& name) {
  HKEY key = Open(root, path);
  DWORD type = 0;
  DWORD size = 0;
  RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size);
  std::string data(size, '\0');
  RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
  RegCloseKey(key);
  if (!data.empty()) data.pop_back();
  return data;
}

}  // namespace orvane::bench
