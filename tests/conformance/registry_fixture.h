// Fixture and helpers for the registry conformance tests. The tests speak the
// Win32 registry API only, so the same source runs against every kind of
// store this build has (Linux, a fresh store of each kind per test) and
// against the real API (Windows build under Wine). Each test works below a
// key of its own, which is removed afterwards. Every suite is instantiated
// once per kind with ORVANE_CONFORMANCE_KINDS(Suite).
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win32_registry.h"
#include "support/temp_registry.h"


namespace conformance {

// Every open and create asks for this access, as the component does.
constexpr REGSAM kAccess = 0x3F;
// Name buffers of the component's enumerations hold 2048 characters.
constexpr DWORD kNameBuffer = 2048;

// True when the process runs on Wine rather than on Windows or our store.
// Used only to skip an assertion where Windows is documented to behave like
// our store and Wine does not.
bool RunningUnderWine();

// True when the ANSI functions take UTF-8 (code page 65001), as our store
// always does and Windows does for a process whose manifest asks for it.
// Tests of names beyond ASCII need it: in another code page their bytes
// are other characters.
bool AnsiCodePageIsUtf8();

// An open registry key, closed at destruction. Predefined roots are never
// closed.
class Key {
 public:
  Key() = default;
  explicit Key(HKEY handle) : handle_(handle) {}
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
  Key(Key&& other) noexcept : handle_(other.Release()) {}
  Key& operator=(Key&& other) noexcept;
  ~Key() { Close(); }

  HKEY get() const { return handle_; }
  // Closes any handle held and returns the slot for an API call to fill.
  HKEY* Out();
  // Closes the handle now; returns RegCloseKey's result (0 if none held).
  LONG Close();
  HKEY Release();

 private:
  HKEY handle_ = nullptr;
};

LONG CreateKey(HKEY parent, const std::string& path, Key& out, DWORD* disposition = nullptr);
LONG OpenKey(HKEY parent, const std::string& path, Key& out);
// Creates a key that the test needs; reports a failure when it cannot.
Key MustCreate(HKEY parent, const std::string& path);

LONG SetValue(HKEY key, const char* name, DWORD type, std::string_view bytes);
// Writes a string value with its terminating zero, as the component does.
LONG SetString(HKEY key, const char* name, const std::string& text);
LONG SetDword(HKEY key, const char* name, DWORD number);

// The outcome of one RegQueryValueExA call.
struct Query {
  LONG result = -1;
  DWORD type = 0;
  DWORD size = 0;     // the size the call reported
  std::string data;   // the whole buffer after the call (buffer_size bytes)
};
constexpr char kFill = 'x';  // buffers are pre-filled with this byte
// Queries into a buffer of buffer_size bytes filled with kFill.
Query QueryValue(HKEY key, const char* name, DWORD buffer_size);
// Queries with no data buffer: type and size only.
Query QueryNoBuffer(HKEY key, const char* name);
// Queries into a buffer of exactly the size the value needs; data holds the
// reported size's bytes.
Query QueryWhole(HKEY key, const char* name);

// Names of all sub-keys / values by index, until 259; a failure is reported
// when the enumeration ends with another code.
std::vector<std::string> SubKeyNames(HKEY key);
std::vector<std::string> ValueNames(HKEY key);

// Deletes a key and its whole subtree with the API's own calls. Returns the
// result of deleting the key itself.
LONG DeleteTree(HKEY parent, const std::string& path);

// A unique name for a key of the current test, e.g. "ResultCodes.MissingKey".
std::string CurrentTestName();

// The kinds of store the conformance tests run against in this build:
// "sqlite" (our store) and "wine" (a Wine prefix) on Linux, "system" (the
// real registry) on Windows.
std::vector<std::string> KindsOfThisBuild();

// Each test gets a fresh store of the kind it is instantiated with (Linux)
// and its own key below HKEY_CURRENT_USER\Software\OrvaneTests, removed at
// the end.
class RegistryTest : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override;
  void TearDown() override;

  HKEY Base() const { return base_.get(); }
  // The path of Base() below HKEY_CURRENT_USER.
  const std::string& BasePath() const { return base_path_; }

 private:
  std::optional<TempRegistry> registry_;
  std::string base_path_;
  Key base_;
};

}  // namespace conformance

#define ORVANE_CONFORMANCE_KINDS(suite)                                                                \
  INSTANTIATE_TEST_SUITE_P(Kinds, suite, ::testing::ValuesIn(::conformance::KindsOfThisBuild()), \
                           [](const ::testing::TestParamInfo<std::string>& kind) { return kind.param; })
