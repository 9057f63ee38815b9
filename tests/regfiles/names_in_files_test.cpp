// Names in registration files: every name the store holds comes back byte
// for byte through Export/Import and Backup/Restore, or the file is
// refused, naming the key, and the old file stays. A value whose name is
// not UTF-8 is found by the same bytes.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "editor_fixture.h"
#include "keyops/registry_text.h"
#include "registry/expect_error.h"
#include "support/program_output.h"

namespace orvane {
namespace {

using testing::KeyThere;
using testing::PutString;
using testing::TreeText;

constexpr const char* kTop = "Software\\Names";
const HKEY kUser = HKEY_CURRENT_USER;

class NamesInFilesTest : public EditorTest {
 protected:
  NamesInFilesTest() { UseOurEditor(); }

  void AtKey(const std::string& path) { control_.GlobalKeyPath("HKEY_CURRENT_USER\\" + path); }
  // Waits for an editor the control does not wait for, until `path`
  // under HKEY_CURRENT_USER exists (or no longer does).
  static void AwaitKey(const std::string& path, bool there) {
    for (int i = 0; i < 400 && KeyThere(kUser, path) != there; ++i) Pause();
  }
  std::string BackupFile() const { return In("Registry.orv"); }
  static void Write(const std::string& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
  }
};

TEST_F(NamesInFilesTest, KeyNamesWithLineBreaksAreRefusedNamingTheKeyAndTheOldFilesStay) {
  const struct {
    std::string name;
    std::string shown;  // as the message names it
  } cases[] = {
      {"x]\r\n\"inj\"=\"evil\"\r\n[HKEY_CLASSES_ROOT", "x]\\r\\n\"inj\"=\"evil\"\\r\\n[HKEY_CLASSES_ROOT"},
      {"bare\nLF", "bare\\nLF"},
  };
  for (const auto& [name, shown] : cases) {
    SCOPED_TRACE(shown);
    const std::string key = std::string(kTop) + "\\" + name;
    PutString(kUser, key, "own", "value");
    Write(In("old.reg"), "old export\r\n");
    AtKey(kTop);
    EXPECT_ERROR_NUMBER(control_.Export(In("old.reg")), 60111);
    EXPECT_EQ(ReadText(In("old.reg")), "old export\r\n");
    Write(BackupFile(), "old backup\r\n");
    EXPECT_ERROR_NUMBER(control_.Backup(), 60111);
    EXPECT_EQ(ReadText(BackupFile()), "old backup\r\n");

    const testing::ProgramOutput run =
        testing::RunProgram(REGEDIT_PROGRAM, {"/E", In("direct.reg"), "HKEY_CURRENT_USER\\Software"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("HKEY_CURRENT_USER\\" + std::string(kTop) + "\\" + shown), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(In("direct.reg")));
    AtKey(kTop);
    control_.DeleteKey();
    control_.Undo(0);  // and its parked copy
  }
}

TEST_F(NamesInFilesTest, NamesThatAreNotUtf8ComeBackByteForByte) {
  const std::string creme = "cr\xC3\xA8me";
  PutString(kUser, std::string(kTop) + "\\a\xE9" "b", creme, creme);
  PutString(kUser, kTop, "v\xE9", "raw name");
  PutString(kUser, kTop, "café", "caf\xC3\xA9");
  const std::string tree = TreeText(kUser, kTop);

  AtKey(kTop);
  control_.Export(In("names.reg"));
  control_.DeleteKey();
  control_.Import(In("names.reg"));
  AwaitKey(kTop, true);
  EXPECT_TREE_EQ(TreeText(kUser, kTop), tree);

  control_.Backup();
  PutString(kUser, "Software\\Later", "v", "1");
  control_.Restore();
  AwaitKey("Software\\Later", false);
  EXPECT_FALSE(KeyThere(kUser, "Software\\Later"));
  EXPECT_TREE_EQ(TreeText(kUser, kTop), tree);
}

TEST_F(NamesInFilesTest, AValueNameThatIsNotUtf8IsFoundByTheSameBytes) {
  PutString(kUser, kTop, "keep", "1");
  AtKey(kTop);
  control_.ValueName("a\xE9" "b");
  control_.Value(Variant::String("first"));
  control_.SetValue();
  control_.Value(Variant::String("second"));
  control_.SetValue();
  EXPECT_TREE_EQ(TreeText(kUser, kTop), "[]\n\"keep\"=\"1\"\n\"a\xE9" "b\"=\"second\"\n");
  control_.DeleteValue();
  EXPECT_TREE_EQ(TreeText(kUser, kTop), "[]\n\"keep\"=\"1\"\n");
}

}  // namespace
}  // namespace orvane
