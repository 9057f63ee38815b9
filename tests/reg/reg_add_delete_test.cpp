// reg add and reg delete on a private store: the data of each type as
// stored, the questions before overwriting or deleting, and the failures.
#include "store/registry_store.h"
#include "platform/win32_registry.h"
#include "reg/reg_fixture.h"
#include "tools/reg/reg_key_name.h"
#include "tools/reg/reg_store.h"

namespace orvane::reg::testing {
namespace {

using namespace std::string_literals;

// The stored value `name` of `key`, or nothing.
std::optional<Value> Stored(const std::string& key, const std::string& name) {
  regedit::KeyHandle handle;
  if (OpenKey(*ParseKeyName(key), KEY_READ, &handle) != ERROR_SUCCESS) return std::nullopt;
  LONG status = ERROR_SUCCESS;
  return ReadValue(handle.get(), name, &status);
}

bool KeyExists(const std::string& key) {
  regedit::KeyHandle handle;
  return OpenKey(*ParseKeyName(key), KEY_READ, &handle) == ERROR_SUCCESS;
}

using RegAdd = RegTest;
using RegDelete = RegTest;

const std::string kKey = "HKCU\\Software\\A";

TEST_F(RegAdd, StoresEachTypesBytes) {
  struct Case {
    std::vector<std::string> switches;
    DWORD type;
    std::string bytes;
  };
  const std::vector<Case> cases = {
      {{"/d", "text"}, REG_SZ, std::string("text\0", 5)},
      {{"/t", "reg_expand_sz", "/d", "%X%"}, REG_EXPAND_SZ, std::string("%X%\0", 4)},
      {{"/t", "REG_NONE", "/d", "n"}, REG_NONE, std::string("n\0", 2)},
      {{"/t", "REG_DWORD", "/d", "4294967295"}, REG_DWORD, "\xff\xff\xff\xff"},
      {{"/t", "REG_DWORD", "/d", "0x10"}, REG_DWORD, std::string("\x10\0\0\0", 4)},
      {{"/t", "REG_DWORD"}, REG_DWORD, std::string(4, '\0')},
      {{"/t", "REG_QWORD", "/d", "0x100000000"}, REG_QWORD, std::string("\0\0\0\0\x01\0\0\0", 8)},
      {{"/t", "REG_BINARY", "/d", "fF0"}, REG_BINARY, std::string("\x0f\xf0", 2)},
      {{"/t", "REG_BINARY"}, REG_BINARY, ""},
      {{"/t", "REG_MULTI_SZ", "/d", "a\\0bc"}, REG_MULTI_SZ, std::string("a\0bc\0\0", 6)},
      {{"/t", "REG_MULTI_SZ", "/d", "a#bc#", "/s", "#"}, REG_MULTI_SZ, std::string("a\0bc\0\0", 6)},
      {{"/t", "REG_MULTI_SZ", "/d", ""}, REG_MULTI_SZ, std::string("\0", 1)},
      // Words after a switch that takes one are its value, whatever they look like.
      {{"/d", "/?"}, REG_SZ, std::string("/?\0", 3)},
      {{"/d", "-f"}, REG_SZ, std::string("-f\0", 3)},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"add", kKey, "/v", "v", "/f"};
    args.insert(args.end(), c.switches.begin(), c.switches.end());
    EXPECT_EQ(Ok(args), kDone) << c.switches.back();
    EXPECT_EQ(Stored(kKey, "v"), (Value{"v", c.type, c.bytes})) << c.switches.back();
  }
}

TEST_F(RegAdd, AKeyAloneGetsNoDefaultValue) {
  EXPECT_EQ(Ok({"add", "HKLM\\Software\\A\\B\\C"}), kDone);
  EXPECT_TRUE(KeyExists("HKEY_LOCAL_MACHINE\\Software\\A\\B\\C"));
  EXPECT_EQ(Stored("HKLM\\Software\\A\\B\\C", ""), std::nullopt);
  EXPECT_EQ(Ok({"add", "HKLM\\Software\\A\\B\\C", "/ve", "/d", "d"}), kDone);
  EXPECT_EQ(Stored("HKLM\\Software\\A\\B\\C", ""), (Value{"", REG_SZ, std::string("d\0", 2)}));
}

TEST_F(RegAdd, OverwritesOnlyAfterYes) {
  Ok({"add", kKey, "/v", "v", "/d", "old"});
  RunResult result = Run({"add", kKey, "/v", "v", "/d", "new"}, "maybe\nNo\n");
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out,
            "Value v exists, overwrite(Yes/No)? Value v exists, overwrite(Yes/No)? "
            "The operation was canceled by the user.\n");
  EXPECT_EQ(Stored(kKey, "v")->data, std::string("old\0", 4));
  // The end of the input answers No.
  EXPECT_EQ(Run({"add", kKey, "/v", "v", "/d", "new"}).status, 0);
  EXPECT_EQ(Stored(kKey, "v")->data, std::string("old\0", 4));

  result = Run({"add", kKey, "/v", "v", "/d", "new"}, "y\n");
  EXPECT_EQ(result.out, std::string("Value v exists, overwrite(Yes/No)? ") + kDone);
  EXPECT_EQ(Stored(kKey, "v")->data, std::string("new\0", 4));
}

TEST_F(RegAdd, InvalidDataChangesNothing) {
  struct Case {
    std::vector<std::string> switches;
    std::string error;
  };
  const std::vector<Case> cases = {
      {{"/t", "REG_DWORD", "/d", "abc"}, "ERROR: The data for the type REG_DWORD is not valid.\n"},
      {{"/t", "REG_DWORD", "/d", "4294967296"}, "ERROR: The data for the type REG_DWORD is not valid.\n"},
      {{"/t", "REG_DWORD", "/d", "-1"}, "ERROR: The data for the type REG_DWORD is not valid.\n"},
      {{"/t", "REG_QWORD", "/d", "0x"}, "ERROR: The data for the type REG_QWORD is not valid.\n"},
      {{"/t", "REG_BINARY", "/d", "zz"}, "ERROR: The data for the type REG_BINARY is not valid.\n"},
      {{"/t", "REG_MULTI_SZ", "/d", "a\\0\\0b"}, "ERROR: The data for the type REG_MULTI_SZ is not valid.\n"},
      {{"/t", "REG_FOO", "/d", "1"}, "ERROR: Invalid type REG_FOO.\n"},
      {{"/t", "REG_LINK", "/d", "1"}, "ERROR: Invalid type REG_LINK.\n"},
      {{"/d", "x", "/s", "#"}, "ERROR: Invalid syntax.\nType \"orvane-reg ADD /?\" for usage.\n"},
      {{"/d", "x\0y"s}, "ERROR: Invalid syntax.\nType \"orvane-reg ADD /?\" for usage.\n"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"add", kKey, "/v", "v", "/f"};
    args.insert(args.end(), c.switches.begin(), c.switches.end());
    const RunResult result = Run(args);
    EXPECT_EQ(result.status, 1) << c.switches.back();
    EXPECT_EQ(result.err, c.error) << c.switches.back();
    EXPECT_FALSE(KeyExists(kKey)) << c.switches.back();
  }
}

// Key names hold 255 UTF-16 units, whatever their UTF-8 bytes (`é` is one
// unit, two bytes); a key or value name holding a NUL is refused whole.
TEST_F(RegAdd, NamesCountUtf16UnitsAndANulIsRefused) {
  std::string e128, e256;
  for (int i = 0; i < 128; ++i) e128 += "\xC3\xA9";
  for (int i = 0; i < 256; ++i) e256 += "\xC3\xA9";
  EXPECT_EQ(Ok({"add", "HKCU\\Software\\" + e128, "/f"}), kDone);
  EXPECT_TRUE(KeyExists("HKCU\\Software\\" + e128));
  EXPECT_EQ(Run({"add", "HKCU\\Software\\" + e256, "/f"}).status, 1);
  EXPECT_FALSE(KeyExists("HKCU\\Software\\" + e256));
  EXPECT_EQ(Ok({"add", "HKCU\\Software\\T", "/v", "keep", "/d", "kept", "/f"}), kDone);
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"add", "HKCU\\Software\\T\0zzz"s, "/v", "keep", "/d", "x", "/f"},
        std::vector<std::string>{"add", "HKCU\\Software\\T", "/v", "keep\0junk"s, "/d", "x", "/f"},
        std::vector<std::string>{"delete", "HKCU\\Software\\T\0zzz"s, "/f"}}) {
    const RunResult result = Run(args);
    EXPECT_EQ(result.status, 1) << args[0];
    EXPECT_EQ(result.err.substr(0, 23), "ERROR: Invalid syntax.\n") << args[0];
  }
  EXPECT_EQ(Stored("HKCU\\Software\\T", "keep")->data, "kept\0"s);
}

TEST_F(RegDelete, AValueTheDefaultOrAllValuesAfterYes) {
  Ok({"add", kKey, "/ve", "/d", "d"});
  Ok({"add", kKey, "/v", "x", "/d", "1"});
  Ok({"add", kKey, "/v", "y", "/d", "2"});
  Ok({"add", kKey + "\\Sub", "/v", "z", "/d", "3"});

  RunResult result = Run({"delete", kKey, "/v", "x"}, "n\n");
  EXPECT_EQ(result.out, "Delete the registry value x (Yes/No)? The operation was canceled by the user.\n");
  EXPECT_TRUE(Stored(kKey, "x"));
  result = Run({"delete", kKey, "/v", "X"}, "yes\n");
  EXPECT_EQ(result.out, std::string("Delete the registry value X (Yes/No)? ") + kDone);
  EXPECT_FALSE(Stored(kKey, "x"));

  EXPECT_EQ(Ok({"delete", kKey, "/ve", "/f"}), kDone);
  EXPECT_FALSE(Stored(kKey, ""));
  EXPECT_TRUE(Stored(kKey, "y"));

  result = Run({"delete", kKey, "/va"}, "y\n");
  EXPECT_EQ(result.out,
            std::string("Delete all values under the registry key HKEY_CURRENT_USER\\Software\\A (Yes/No)? ") + kDone);
  EXPECT_FALSE(Stored(kKey, "y"));
  EXPECT_TRUE(Stored(kKey + "\\Sub", "z"));
}

TEST_F(RegDelete, AKeyWithItsSubtreeAfterYes) {
  Ok({"add", kKey + "\\Sub\\Deeper", "/v", "z", "/d", "3"});
  RunResult result = Run({"delete", kKey}, "");
  EXPECT_EQ(result.out,
            "Permanently delete the registry key HKEY_CURRENT_USER\\Software\\A (Yes/No)? \n"
            "The operation was canceled by the user.\n");
  EXPECT_TRUE(KeyExists(kKey + "\\Sub\\Deeper"));
  EXPECT_EQ(Ok({"delete", "HKEY_CURRENT_USER\\Software\\A", "/f"}), kDone);
  EXPECT_FALSE(KeyExists(kKey));
  EXPECT_TRUE(KeyExists("HKCU\\Software"));
}

TEST_F(RegDelete, MissingThingsRootsAndBadSwitchesFail) {
  const std::string not_found = "ERROR: The system was unable to find the specified registry key or value.\n";
  Ok({"add", kKey, "/v", "x", "/d", "1"});
  RunResult result = Run({"delete", kKey + "\\Missing", "/f"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, not_found);
  // A missing value fails before any question is asked.
  result = Run({"delete", kKey, "/v", "missing"}, "y\n");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, not_found);
  result = Run({"delete", "HKCU", "/f"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "ERROR: A root key cannot be deleted.\n");
  result = Run({"delete", kKey, "/v", "x", "/va", "/f"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "ERROR: Invalid syntax.\nType \"orvane-reg DELETE /?\" for usage.\n");
  EXPECT_TRUE(Stored(kKey, "x"));
}

// A read-only key deep inside is met after the keys before it are gone:
// the deletion fails whole, every key and value stays.
TEST_F(RegDelete, AKeyHoldingAReadOnlyKeyDeepInsideStaysWhole) {
  Ok({"add", kKey + "\\a", "/v", "x", "/d", "1"});
  Ok({"add", kKey + "\\b\\locked", "/v", "y", "/d", "2"});
  Ok({"add", kKey + "\\c", "/v", "z", "/d", "3"});
  ASSERT_EQ(platform::SetRegistryKeyReadOnly(HKEY_CURRENT_USER, "Software\\A\\b\\locked", true), ERROR_SUCCESS);
  const RunResult result = Run({"delete", kKey, "/f"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "ERROR: Access is denied.\n");
  EXPECT_EQ(Stored(kKey + "\\a", "x"), (Value{"x", REG_SZ, std::string("1\0", 2)}));
  EXPECT_EQ(Stored(kKey + "\\b\\locked", "y"), (Value{"y", REG_SZ, std::string("2\0", 2)}));
  EXPECT_EQ(Stored(kKey + "\\c", "z"), (Value{"z", REG_SZ, std::string("3\0", 2)}));
}

TEST_F(RegDelete, AReadOnlyKeyIsNeitherChangedNorDeleted) {
  Ok({"add", kKey, "/v", "x", "/d", "1"});
  ASSERT_EQ(platform::SetRegistryKeyReadOnly(HKEY_CURRENT_USER, "Software\\A", true), ERROR_SUCCESS);
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"delete", kKey, "/f"},
           {"delete", kKey, "/v", "x", "/f"},
           {"delete", kKey, "/va", "/f"},
           {"add", kKey, "/v", "x", "/d", "2", "/f"},
       }) {
    const RunResult result = Run(args);
    EXPECT_EQ(result.status, 1) << args[0] << ' ' << args.size();
    EXPECT_EQ(result.err, "ERROR: Access is denied.\n") << args[0] << ' ' << args.size();
  }
  EXPECT_EQ(Stored(kKey, "x"), (Value{"x", REG_SZ, std::string("1\0", 2)}));
}

}  // namespace
}  // namespace orvane::reg::testing
