// The file-type methods through the control: the keys and default values
// they leave under HKEY_CLASSES_ROOT (which is the local machine's
// SOFTWARE\Classes), the extension written back, what they delete and
// what they refuse, and that none of them is journalled.
#include <gtest/gtest.h>

#include "keyops/journal_fixture.h"
#include "orvane/dispatch.h"
#include "orvane/quorvel.h"
#include "registry/expect_error.h"

namespace orvane {
namespace {

using namespace testing::tree_helpers;

const HKEY kClasses = HKEY_CLASSES_ROOT;

class FileTypesTest : public testing::JournalTest {
 protected:
  FileTypesTest() {
    control_.UndoEnabled(true);
  }

  std::string Register(std::string extension, std::string description = "Text file",
                       std::string icon = "notepad.exe,0") {
    bool overwrite = false;
    control_.RegisterExtension(extension, description, icon, overwrite);
    return extension;
  }
  void AddCommand(std::string extension, std::string name, bool predefined, std::string text = "&Open",
                  std::string command = "notepad.exe %1") {
    bool overwrite = false;
    control_.AddExtCommand(extension, name, text, command, predefined, overwrite);
  }

  NullContainer container_;
  Quorvel control_{container_};
};

TEST_F(FileTypesTest, RegisterExtensionWritesTheExtensionClassAndIcon) {
  EXPECT_EQ(Register("txt"), ".txt");
  EXPECT_EQ(TreeText(kClasses, ".txt"), "[]\n\"\"=\"txt-ORV\"\n");
  EXPECT_EQ(TreeText(kClasses, "txt-ORV"), "[]\n\"\"=\"Text file\"\n[DefaultIcon]\n\"\"=\"notepad.exe,0\"\n");
  // The classes root is the local machine's SOFTWARE\Classes.
  EXPECT_EQ(TreeText(HKEY_LOCAL_MACHINE, "SOFTWARE\\Classes\\.txt"), "[]\n\"\"=\"txt-ORV\"\n");
  EXPECT_EQ(Register(".txt", "Plain text", "other.ico"), ".txt");
  EXPECT_EQ(TreeText(kClasses, "txt-ORV"), "[]\n\"\"=\"Plain text\"\n[DefaultIcon]\n\"\"=\"other.ico\"\n");
  EXPECT_EQ(RecordCount(), -1);
}

TEST_F(FileTypesTest, AddExtCommandWritesTheShellKeysBelowTheGivenExtension) {
  Register("txt");
  AddCommand("txt", "open", true);
  AddCommand("txt", "print", false, "&Print", "notepad.exe /p %1");
  EXPECT_EQ(TreeText(kClasses, "txt-ORV\\Shell"),
            "[]\n\"\"=\"open\"\n[open]\n\"\"=\"&Open\"\n[open\\command]\n\"\"=\"notepad.exe %1\"\n"
            "[print]\n\"\"=\"&Print\"\n[print\\command]\n\"\"=\"notepad.exe /p %1\"\n");
  // The extension is taken as given: with its dot it names another class.
  AddCommand(".txt", "edit", false);
  EXPECT_TRUE(KeyThere(kClasses, ".txt-ORV\\Shell\\edit\\command"));
  EXPECT_FALSE(KeyThere(kClasses, "txt-ORV\\Shell\\edit"));
  EXPECT_EQ(RecordCount(), -1);
}

TEST_F(FileTypesTest, DelExtCommandRemovesTheCommandAndLeavesTheDefaultCommand) {
  Register("txt");
  AddCommand("txt", "open", true);
  AddCommand("txt", "print", false);
  std::string extension = "txt";
  std::string name = "open";
  control_.DelExtCommand(extension, name);
  EXPECT_EQ(extension, ".txt");
  EXPECT_FALSE(KeyThere(kClasses, "txt-ORV\\Shell\\open"));
  EXPECT_TRUE(KeyThere(kClasses, "txt-ORV\\Shell\\print"));
  EXPECT_EQ(testing::StringAt(kClasses, "txt-ORV\\Shell", ""), "open");
  extension = ".txt";
  EXPECT_ERROR_NUMBER(control_.DelExtCommand(extension, name), 60002);
  EXPECT_EQ(RecordCount(), -1);
}

TEST_F(FileTypesTest, UnregisterExtensionRemovesBothKeysWithEverythingBelow) {
  Register("txt");
  AddCommand("txt", "open", true);
  std::string extension = "txt";
  control_.UnregisterExtension(extension);
  EXPECT_EQ(extension, ".txt");
  EXPECT_FALSE(KeyThere(kClasses, ".txt"));
  EXPECT_FALSE(KeyThere(kClasses, "txt-ORV"));
  EXPECT_EQ(RecordCount(), -1);
}

// The extension key goes first: without it nothing is deleted; without
// the class key the extension key is gone when the error comes.
TEST_F(FileTypesTest, UnregisterExtensionRaisesForEachMissingKey) {
  std::string extension = "abc";
  PutString(kClasses, "abc-ORV", "", "class only");
  EXPECT_ERROR_NUMBER(control_.UnregisterExtension(extension), 60002);
  EXPECT_TRUE(KeyThere(kClasses, "abc-ORV"));
  PutString(kClasses, ".xyz", "", "xyz-ORV");
  extension = "xyz";
  EXPECT_ERROR_NUMBER(control_.UnregisterExtension(extension), 60002);
  EXPECT_FALSE(KeyThere(kClasses, ".xyz"));
}

TEST_F(FileTypesTest, EmptyExtensionBecomesADotWithClassDashOrv) {
  EXPECT_EQ(Register(""), ".");
  EXPECT_EQ(TreeText(kClasses, "."), "[]\n\"\"=\"-ORV\"\n");
  EXPECT_TRUE(KeyThere(kClasses, "-ORV\\DefaultIcon"));
}

TEST_F(FileTypesTest, UndoAfterTheMethodsDoesNotReverseThem) {
  std::string extension = "keep";
  control_.SetKey();  // one record of its own
  Register(extension);
  AddCommand(extension, "open", true);
  int16_t steps = 1;
  control_.Undo(steps);
  EXPECT_TRUE(KeyThere(kClasses, "keep-ORV\\Shell\\open\\command"));
  EXPECT_EQ(RecordCount(), 0);
}

}  // namespace
}  // namespace orvane
