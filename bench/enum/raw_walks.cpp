// The raw registry walks the listing and counting benchmarks compare with.
#include "bench/enum/raw_walks.h"

#include <vector>

namespace orvane::bench {
namespace {

constexpr REGSAM kAccess = 0x3F;

// An open key that closes itself.
class Key {
 public:
  Key(HKEY root, const std::string& path, bool create = false) {
    DWORD disposition = 0;
    if (create) {
      RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, kAccess, nullptr, &key_, &disposition);
    } else {
      RegOpenKeyExA(root, path.c_str(), 0, kAccess, &key_);
    }
  }
  ~Key() {
    if (key_ != nullptr) RegCloseKey(key_);
  }
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

void Counts(HKEY key, DWORD& sub_keys, DWORD& values) {
  sub_keys = values = 0;
  RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &sub_keys, nullptr, nullptr, &values, nullptr, nullptr, nullptr,
                   nullptr);
}

std::string ChildName(HKEY key, DWORD index) {
  char name[2048];
  DWORD length = sizeof name;
  RegEnumKeyExA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr);
  return std::string(name, length);
}

}  // namespace

void PutValues(HKEY root, const std::string& path, int count) {
  const Key key(root, path, true);
  for (int i = 0; i < count; ++i) {
    const std::string name = "value" + std::to_string(i);
    RegSetValueExA(key.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(name.c_str()),
                   static_cast<DWORD>(name.size() + 1));
  }
}

void PutSubKeys(HKEY root, const std::string& path, int count) {
  const Key key(root, path, true);
  for (int i = 0; i < count; ++i) Key(key.get(), "key" + std::to_string(i), true);
}

void PutTree(HKEY root, const std::string& path, int fan_out, int fan_out2) {
  const Key key(root, path, true);
  for (int i = 0; i < fan_out; ++i) PutSubKeys(key.get(), "child" + std::to_string(i), fan_out2);
}

size_t RawValueWalk(HKEY root, const std::string& path) {
  const Key key(root, path);
  DWORD sub_keys = 0, values = 0;
  Counts(key.get(), sub_keys, values);
  size_t total = 0;
  std::vector<BYTE> data;
  for (DWORD i = 0; i < values; ++i) {
    char name[2048];
    DWORD length = sizeof name, type = 0, size = 0;
    RegEnumValueA(key.get(), i, name, &length, nullptr, &type, nullptr, &size);
    data.resize(size_t{size} + 1);
    length = sizeof name;
    RegEnumValueA(key.get(), i, name, &length, nullptr, &type, data.data(), &size);
    total += size;
  }
  return total;
}

size_t RawKeyWalk(HKEY root, const std::string& path) {
  const Key key(root, path);
  DWORD sub_keys = 0, values = 0;
  Counts(key.get(), sub_keys, values);
  size_t total = 0;
  for (DWORD i = 0; i < sub_keys; ++i) total += ChildName(key.get(), i).size();
  return total;
}

size_t RawCountWalk(HKEY root, const std::string& path) {
  const Key key(root, path);
  DWORD sub_keys = 0, values = 0;
  Counts(key.get(), sub_keys, values);
  size_t total = sub_keys;
  for (DWORD i = 0; i < sub_keys; ++i) {
    const std::string name = ChildName(key.get(), i);
    total += RawCountWalk(root, path.empty() ? name : path + "\\" + name);
  }
  return total;
}

}  // namespace orvane::bench
