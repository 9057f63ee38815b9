// The measured registry workloads; see store_workloads.h.
#include "store_workloads.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace bench {
namespace {

constexpr REGSAM kAccess = 0x3F;  // what the component asks for on every open
constexpr DWORD kNameBuffer = 2048;

void Set(HKEY key, const char* name, DWORD type, std::string_view bytes) {
  RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()));
}

// The five values every key of a tree carries, one of each common type.
void WriteFiveValues(HKEY key, int number) {
  const std::string text = std::string("string value ") + std::to_string(number);
  Set(key, "s", REG_SZ, std::string_view(text.c_str(), text.size() + 1));
  const std::string expand = std::string("%SystemRoot%\\file") + std::to_string(number);
  Set(key, "e", REG_EXPAND_SZ, std::string_view(expand.c_str(), expand.size() + 1));
  Set(key, "b", REG_BINARY, std::string_view("\x00\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0a\x0b\x0c\x0d\x0e\x0f", 16));
  const DWORD dword = static_cast<DWORD>(number);
  Set(key, "d", REG_DWORD, std::string_view(reinterpret_cast<const char*>(&dword), 4));
  Set(key, "m", REG_MULTI_SZ, std::string_view("one\0two\0three\0\0", 15));
}

bool EnumKey(HKEY key, DWORD index, char* name, DWORD& length) {
  length = kNameBuffer;
  return RegEnumKeyExA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

DWORD MaxDataLength(HKEY key) {
  DWORD max_data = 0;
  RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &max_data, nullptr,
                   nullptr);
  return max_data;
}

// Reads every value of `key` in index order, handing each to
// `use(name, type, data, size)`.
template <class Use>
void ForEachValue(HKEY key, Use use) {
  std::vector<BYTE> data(MaxDataLength(key) + 1);
  char name[kNameBuffer];
  for (DWORD index = 0;; ++index) {
    DWORD length = kNameBuffer;
    DWORD type = 0;
    DWORD size = static_cast<DWORD>(data.size());
    if (RegEnumValueA(key, index, name, &length, nullptr, &type, data.data(), &size) != ERROR_SUCCESS) break;
    use(name, type, data.data(), size);
  }
}

}  // namespace

OpenKey& OpenKey::operator=(OpenKey&& other) noexcept {
  if (this != &other) {
    if (handle_ != nullptr) RegCloseKey(handle_);
    handle_ = other.handle_;
    other.handle_ = nullptr;
  }
  return *this;
}

OpenKey::~OpenKey() {
  if (handle_ != nullptr) RegCloseKey(handle_);
}

HKEY MustCreate(HKEY parent, const std::string& path) {
  HKEY key = nullptr;
  DWORD disposition = 0;
  const LONG result = RegCreateKeyExA(parent, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, kAccess, nullptr,
                                      &key, &disposition);
  if (result != ERROR_SUCCESS) {
    std::fprintf(stderr, "cannot create key %s: error %ld\n", path.c_str(), static_cast<long>(result));
    std::abort();
  }
  return key;
}

std::vector<std::string> BuildTree(HKEY parent, const std::string& name, int keys, int fan_out) {
  OpenKey root(MustCreate(parent, name));
  std::vector<std::string> paths{""};
  paths.reserve(keys);
  WriteFiveValues(root.get(), 0);
  // Key j's children are keys fan_out*j+1 ... fan_out*j+fan_out.
  for (int j = 0; fan_out * j + 1 < keys; ++j) {
    OpenKey key(j == 0 ? nullptr : MustCreate(root.get(), paths[j]));
    HKEY handle = j == 0 ? root.get() : key.get();
    for (int c = 0; c < fan_out && fan_out * j + 1 + c < keys; ++c) {
      char child[16];
      std::snprintf(child, sizeof child, "k%d", c);
      OpenKey created(MustCreate(handle, child));
      WriteFiveValues(created.get(), static_cast<int>(paths.size()));
      paths.push_back(paths[j].empty() ? std::string(child) : paths[j] + "\\" + child);
    }
  }
  return paths;
}

void BuildWideKey(HKEY parent, const std::string& name, int count) {
  OpenKey wide(MustCreate(parent, name));
  char child[32];
  for (int i = 0; i < count; ++i) {
    std::snprintf(child, sizeof child, "w%05d", i);
    OpenKey created(MustCreate(wide.get(), child));
  }
}

DWORD OpenQueryClose(HKEY root, const std::string& path) {
  OpenKey key;
  if (RegOpenKeyExA(root, path.c_str(), 0, kAccess, key.Out()) != ERROR_SUCCESS) return 0;
  BYTE data[256];
  DWORD type = 0;
  DWORD size = sizeof data;
  RegQueryValueExA(key.get(), "s", nullptr, &type, data, &size);
  return size;
}

void CreateKeySetValue(HKEY parent, const std::string& name) {
  OpenKey key(MustCreate(parent, name));
  Set(key.get(), "s", REG_SZ, std::string_view("new value", 10));
}

int64_t WalkTree(HKEY key) {
  ForEachValue(key, [](const char*, DWORD, const BYTE*, DWORD) {});
  char name[kNameBuffer];
  int64_t visited = 1;
  DWORD length = 0;
  for (DWORD index = 0; EnumKey(key, index, name, length); ++index) {
    OpenKey child;
    if (RegOpenKeyExA(key, name, 0, kAccess, child.Out()) == ERROR_SUCCESS) visited += WalkTree(child.get());
  }
  return visited;
}

int64_t CopyTree(HKEY source, HKEY target) {
  ForEachValue(source, [target](const char* name, DWORD type, const BYTE* data, DWORD size) {
    RegSetValueExA(target, name, 0, type, data, size);
  });
  char name[kNameBuffer];
  int64_t copied = 1;
  DWORD length = 0;
  for (DWORD index = 0; EnumKey(source, index, name, length); ++index) {
    OpenKey from;
    if (RegOpenKeyExA(source, name, 0, kAccess, from.Out()) != ERROR_SUCCESS) continue;
    OpenKey to(MustCreate(target, name));
    copied += CopyTree(from.get(), to.get());
  }
  return copied;
}

int64_t DeleteTree(HKEY parent, const std::string& name) {
  int64_t deleted = 0;
  {
    OpenKey key;
    if (RegOpenKeyExA(parent, name.c_str(), 0, kAccess, key.Out()) != ERROR_SUCCESS) return 0;
    char child[kNameBuffer];
    DWORD length = 0;
    // Index 0 each time: the indexes move up as keys go.
    while (EnumKey(key.get(), 0, child, length)) {
      const int64_t below = DeleteTree(key.get(), std::string(child, length));
      if (below == 0) break;
      deleted += below;
    }
  }
  return RegDeleteKeyA(parent, name.c_str()) == ERROR_SUCCESS ? deleted + 1 : 0;
}

int64_t EnumerateSubKeys(HKEY key) {
  char name[kNameBuffer];
  DWORD length = 0;
  int64_t count = 0;
  while (EnumKey(key, static_cast<DWORD>(count), name, length)) ++count;
  return count;
}

uint32_t Sequence::Next(uint32_t bound) {
  state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
  return static_cast<uint32_t>((state_ >> 33) % bound);
}

}  // namespace bench
