// Helpers of the conformance tests; see registry_fixture.h.
#include "registry_fixture.h"

#include <cstdint>

#include "support/wine.h"

namespace conformance {
namespace {

constexpr const char* kTestsRoot = "Software\\OrvaneTests";

bool IsPredefined(HKEY handle) {
  const auto value = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(handle));
  return value >= 0x80000000u && value <= 0x80000006u;
}

std::vector<std::string> EnumerateNames(HKEY key, bool sub_keys) {
  std::vector<std::string> names;
  for (DWORD index = 0;; ++index) {
    char name[kNameBuffer];
    DWORD length = kNameBuffer;
    const LONG result = sub_keys
        ? RegEnumKeyExA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr)
        : RegEnumValueA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (result == ERROR_NO_MORE_ITEMS) break;
    if (result != ERROR_SUCCESS) {
      ADD_FAILURE() << "enumeration stopped at index " << index << " with " << result;
      break;
    }
    names.emplace_back(name, length);
  }
  return names;
}

}  // namespace

bool RunningUnderWine() { return orvane::testing::RunningUnderWine(); }

bool AnsiCodePageIsUtf8() {
#ifdef _WIN32
  return GetACP() == CP_UTF8;
#else
  return true;
#endif
}

Key& Key::operator=(Key&& other) noexcept {
  if (this != &other) {
    Close();
    handle_ = other.Release();
  }
  return *this;
}

HKEY* Key::Out() {
  Close();
  return &handle_;
}

LONG Key::Close() {
  LONG result = ERROR_SUCCESS;
  if (handle_ != nullptr && !IsPredefined(handle_)) result = RegCloseKey(handle_);
  handle_ = nullptr;
  return result;
}

HKEY Key::Release() {
  HKEY handle = handle_;
  handle_ = nullptr;
  return handle;
}

LONG CreateKey(HKEY parent, const std::string& path, Key& out, DWORD* disposition) {
  DWORD ignored = 0;
  return RegCreateKeyExA(parent, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, kAccess, nullptr,
                         out.Out(), disposition != nullptr ? disposition : &ignored);
}

LONG OpenKey(HKEY parent, const std::string& path, Key& out) {
  return RegOpenKeyExA(parent, path.c_str(), 0, kAccess, out.Out());
}

Key MustCreate(HKEY parent, const std::string& path) {
  Key key;
  const LONG result = CreateKey(parent, path, key);
  EXPECT_EQ(result, ERROR_SUCCESS) << "creating " << path;
  return key;
}

LONG SetValue(HKEY key, const char* name, DWORD type, std::string_view bytes) {
  return RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                        static_cast<DWORD>(bytes.size()));
}

LONG SetString(HKEY key, const char* name, const std::string& text) {
  return SetValue(key, name, REG_SZ, std::string_view(text.c_str(), text.size() + 1));
}

LONG SetDword(HKEY key, const char* name, DWORD number) {
  return SetValue(key, name, REG_DWORD, std::string_view(reinterpret_cast<const char*>(&number), 4));
}

Query QueryValue(HKEY key, const char* name, DWORD buffer_size) {
  Query query;
  query.data.assign(buffer_size, kFill);
  query.size = buffer_size;
  query.type = 0xDEADBEEF;
  query.result = RegQueryValueExA(key, name, nullptr, &query.type,
                                  reinterpret_cast<BYTE*>(query.data.data()), &query.size);
  return query;
}

Query QueryNoBuffer(HKEY key, const char* name) {
  Query query;
  query.size = 0xDEADBEEF;
  query.type = 0xDEADBEEF;
  query.result = RegQueryValueExA(key, name, nullptr, &query.type, nullptr, &query.size);
  return query;
}

Query QueryWhole(HKEY key, const char* name) {
  const Query sizing = QueryNoBuffer(key, name);
  if (sizing.result != ERROR_SUCCESS) return sizing;
  Query query = QueryValue(key, name, sizing.size);
  if (query.result == ERROR_SUCCESS) query.data.resize(query.size);
  return query;
}

std::vector<std::string> SubKeyNames(HKEY key) { return EnumerateNames(key, true); }

std::vector<std::string> ValueNames(HKEY key) { return EnumerateNames(key, false); }

LONG DeleteTree(HKEY parent, const std::string& path) {
  Key key;
  const LONG opened = OpenKey(parent, path, key);
  if (opened != ERROR_SUCCESS) return opened;
  // Always delete the first sub-key: indexes shift as keys go.
  for (;;) {
    char name[kNameBuffer];
    DWORD length = kNameBuffer;
    if (RegEnumKeyExA(key.get(), 0, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    if (DeleteTree(key.get(), std::string(name, length)) != ERROR_SUCCESS) break;
  }
  key.Close();
  return RegDeleteKeyA(parent, path.c_str());
}

std::string CurrentTestName() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  return std::string(info->test_suite_name()) + "." + info->name();
}

std::vector<std::string> KindsOfThisBuild() {
#ifdef _WIN32
  return {"system"};
#else
  return {"sqlite", "wine"};
#endif
}

void RegistryTest::SetUp() {
#ifndef _WIN32
  registry_.emplace(GetParam());  // the real registry is used as it is
#endif
  base_path_ = std::string(kTestsRoot) + "\\" + CurrentTestName();
  DeleteTree(HKEY_CURRENT_USER, base_path_);  // a leftover of an interrupted run
  ASSERT_EQ(CreateKey(HKEY_CURRENT_USER, base_path_, base_), ERROR_SUCCESS);
}

void RegistryTest::TearDown() {
  base_.Close();
  EXPECT_EQ(DeleteTree(HKEY_CURRENT_USER, base_path_), ERROR_SUCCESS);
  Key tests_root;
  if (OpenKey(HKEY_CURRENT_USER, kTestsRoot, tests_root) == ERROR_SUCCESS && SubKeyNames(tests_root.get()).empty()) {
    tests_root.Close();
    RegDeleteKeyA(HKEY_CURRENT_USER, kTestsRoot);
  }
}

}  // namespace conformance
