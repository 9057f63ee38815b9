// The editor's commands and model on a private store: every change goes
// through the control (its errors in the message line, its undo journal
// named in the status line), find with its matches, replace with a preview,
// export and import through the regedit program.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/win32_registry.h"
#include "support/temp_registry.h"
#include "user_key_probe.h"
#include "tools/regedit/editor/editor_commands.h"
#include "tools/regedit/editor/editor_control.h"
#include "tools/regedit/editor/editor_model.h"
#include "tools/regedit/editor/value_display.h"

namespace orvane::regedit::editor {
namespace {

using namespace std::string_literals;

constexpr const char* kKey = "HKEY_CURRENT_USER\\Software\\Ed";

// The stored type and bytes of a value, "missing" when it cannot be read.
std::string Stored(const std::string& path, const std::string& name) {
  const testing::StoredValue value = testing::ReadUserValue(path, name);
  if (!value.missing.empty()) return value.missing;
  return DisplayType(value.type) + ":" + value.data;
}

bool KeyExists(const std::string& path) { return testing::UserKeyExists(path); }

class EditorCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &software_,
                              nullptr),
              0);
    RegCloseKey(software_);
    model_.JumpTo("HKEY_CURRENT_USER\\Software");
    model_.NewKey("Ed");
    ASSERT_FALSE(model_.message_is_error()) << model_.message();
  }

  // Selects the value `name` of the selected key in the values pane.
  void SelectValue(const std::string& name) {
    model_.Focus(Pane::kValues);
    for (size_t i = 0; i < model_.values().size(); ++i) {
      if (model_.values()[i].name == name) model_.SelectValue(i);
    }
    ASSERT_EQ(model_.SelectedValue()->name, name);
  }

  TempRegistry registry_;
  HKEY software_ = nullptr;
  EditorControl control_;
  EditorCommands commands_{control_.control()};
  EditorModel model_{commands_};
};

TEST_F(EditorCommandsTest, ANewKeyIsSelectedAndRecordedForUndo) {
  EXPECT_EQ(model_.tree().SelectedPath(), kKey);
  EXPECT_TRUE(KeyExists("Software\\Ed"));
  EXPECT_EQ(model_.StatusLine(), std::string(kKey) + "   Undo: create key");
  model_.Undo();
  EXPECT_EQ(model_.message(), "Undone: create key");
  EXPECT_FALSE(KeyExists("Software\\Ed"));
  EXPECT_EQ(model_.tree().SelectedPath(), "HKEY_CURRENT_USER\\Software");
  model_.Undo();
  EXPECT_TRUE(model_.message_is_error());
  EXPECT_EQ(model_.message(), "Nothing to undo.");
}

TEST_F(EditorCommandsTest, AValueOfEachTypeIsWrittenFromWhatWasTyped) {
  model_.NewValue("S", REG_SZ, "text");
  model_.NewValue("E", REG_EXPAND_SZ, "%HOME%\\x");
  model_.NewValue("M", REG_MULTI_SZ, "one\ntwo");
  model_.NewValue("D", REG_DWORD, "0x2a");
  model_.NewValue("B", REG_BINARY, "01 ff");
  EXPECT_FALSE(model_.message_is_error()) << model_.message();
  EXPECT_EQ(Stored("Software\\Ed", "S"), "REG_SZ:text\0"s);
  EXPECT_EQ(Stored("Software\\Ed", "E"), "REG_EXPAND_SZ:%HOME%\\x\0"s);
  EXPECT_EQ(Stored("Software\\Ed", "M"), "REG_MULTI_SZ:one\0two\0\0"s);
  EXPECT_EQ(Stored("Software\\Ed", "D"), "REG_DWORD:\x2a\0\0\0"s);
  EXPECT_EQ(Stored("Software\\Ed", "B"), "REG_BINARY:\x01\xff"s);
  ASSERT_EQ(model_.values().size(), 6u);
  EXPECT_EQ(model_.SelectedValue()->name, "B");
  EXPECT_EQ(ColumnsOf(model_.values()[4]).data, "0x0000002a (42)");
  EXPECT_EQ(model_.StatusLine(), std::string(kKey) + "   Undo: create value");
}

TEST_F(EditorCommandsTest, EditRenameAndDeleteOfValuesAreUndoneOneByOne) {
  model_.NewValue("Size", REG_DWORD, "7");
  SelectValue("Size");
  model_.EditValue("4294967295");
  EXPECT_EQ(Stored("Software\\Ed", "Size"), "REG_DWORD:\xff\xff\xff\xff"s);
  EXPECT_EQ(model_.StatusLine(), std::string(kKey) + "   Undo: change value");
  model_.RenameValue("Width");
  EXPECT_EQ(Stored("Software\\Ed", "Size"), "missing");
  EXPECT_EQ(model_.SelectedValue()->name, "Width");
  model_.DeleteValue();
  EXPECT_EQ(Stored("Software\\Ed", "Width"), "missing");
  model_.Undo();
  EXPECT_EQ(model_.message(), "Undone: delete value");
  EXPECT_EQ(Stored("Software\\Ed", "Width"), "REG_DWORD:\xff\xff\xff\xff"s);
  model_.Undo();
  EXPECT_EQ(model_.message(), "Undone: rename value");
  model_.Undo();
  EXPECT_EQ(model_.message(), "Undone: change value");
  EXPECT_EQ(Stored("Software\\Ed", "Size"), "REG_DWORD:\x07\0\0\0"s);
}

TEST_F(EditorCommandsTest, RenameAndDeleteOfKeysKeepTheTreeInStep) {
  model_.NewKey("Child");
  model_.RenameKey("Renamed");
  EXPECT_FALSE(model_.message_is_error()) << model_.message();
  EXPECT_EQ(model_.tree().SelectedPath(), std::string(kKey) + "\\Renamed");
  EXPECT_TRUE(KeyExists("Software\\Ed\\Renamed"));
  EXPECT_FALSE(KeyExists("Software\\Ed\\Child"));
  model_.DeleteKey();
  EXPECT_FALSE(KeyExists("Software\\Ed\\Renamed"));
  EXPECT_EQ(model_.tree().SelectedPath(), kKey);
  model_.Undo();
  EXPECT_EQ(model_.message(), "Undone: delete key");
  EXPECT_TRUE(KeyExists("Software\\Ed\\Renamed"));
}

TEST_F(EditorCommandsTest, TheControlsErrorsAreShownWithNumberAndTextAndChangeNothing) {
  model_.NewKey("A");
  model_.JumpTo(kKey);
  model_.NewKey("B");
  model_.RenameKey("A");  // a sibling of that name exists
  EXPECT_TRUE(model_.message_is_error());
  EXPECT_EQ(model_.message().rfind("Error 60134: ", 0), 0u) << model_.message();
  EXPECT_TRUE(KeyExists("Software\\Ed\\B"));
  model_.JumpTo("HKEY_CURRENT_USER");
  model_.DeleteKey();  // a root's contents are never deleted
  EXPECT_EQ(model_.message().rfind("Error 60007: ", 0), 0u) << model_.message();
  model_.JumpTo(kKey);
  model_.NewValue("D", REG_DWORD, "forty");
  EXPECT_TRUE(model_.message_is_error());
  EXPECT_EQ(Stored("Software\\Ed", "D"), "missing");
  model_.NewValue("S", REG_SZ, "x");
  model_.NewValue("S", REG_SZ, "y");
  EXPECT_EQ(model_.message(), "The value S already exists.");
  EXPECT_EQ(Stored("Software\\Ed", "S"), "REG_SZ:x\0"s);
  model_.NewKey("A");
  EXPECT_EQ(model_.message(), "The key " + std::string(kKey) + "\\A already exists.");
  model_.NewKey("x\\y");
  EXPECT_TRUE(model_.message_is_error());
  EXPECT_FALSE(KeyExists("Software\\Ed\\x"));
}

TEST_F(EditorCommandsTest, FindListsTheMatchesAndJumpsToThemOneByOne) {
  model_.NewKey("needle key");
  model_.JumpTo(kKey);
  model_.NewValue("has needle", REG_SZ, "plain");
  model_.NewValue("other", REG_SZ, "a needle inside");
  model_.NewValue("number", REG_DWORD, "1");
  FindRequest request;
  request.text = "NEEDLE";
  model_.Find(request);
  ASSERT_EQ(model_.matches().size(), 3u);
  EXPECT_EQ(model_.matches()[0].kind, MatchKind::kValueName);
  EXPECT_EQ(model_.matches()[0].value_name, "has needle");
  EXPECT_EQ(model_.matches()[1].kind, MatchKind::kValueData);
  EXPECT_EQ(model_.matches()[1].data_text, "a needle inside");
  EXPECT_EQ(model_.matches()[2].kind, MatchKind::kKey);
  EXPECT_EQ(model_.matches()[2].key_path, std::string(kKey) + "\\needle key");
  EXPECT_EQ(model_.message(), "Match 1 of 3 (value)");
  EXPECT_EQ(model_.SelectedValue()->name, "has needle");
  EXPECT_EQ(model_.focus(), Pane::kValues);
  model_.NextMatch(-1);  // wraps to the last
  EXPECT_EQ(model_.tree().SelectedPath(), std::string(kKey) + "\\needle key");
  EXPECT_EQ(model_.focus(), Pane::kTree);
  model_.NextMatch(1);
  EXPECT_EQ(model_.SelectedValue()->name, "has needle");
  request.whole = true;
  request.text = "needle";
  model_.JumpTo(kKey);
  model_.Find(request);
  EXPECT_TRUE(model_.matches().empty());
  EXPECT_EQ(model_.message(), "No match for \"needle\"");
}

TEST_F(EditorCommandsTest, ReplacePreviewsEveryChangeThenChangesThemWithoutAJournalRecord) {
  model_.NewKey("old key");
  model_.JumpTo(kKey);
  model_.NewValue("old name", REG_SZ, "keep");
  model_.NewValue("data", REG_SZ, "old old");
  model_.NewValue("list", REG_MULTI_SZ, "old\nold");
  FindRequest request;
  request.text = "old";
  std::vector<ReplaceChange> preview = model_.PreviewReplace(request, "new");
  ASSERT_EQ(preview.size(), 4u);
  EXPECT_EQ(preview[0].before + ">" + preview[0].after, "old name>new name");
  EXPECT_EQ(preview[1].before + ">" + preview[1].after, "old old>new old");  // string data: first only
  EXPECT_EQ(preview[2].before + ">" + preview[2].after, "old old>new new");  // multi-string: every entry
  EXPECT_EQ(preview[3].before + ">" + preview[3].after, "old key>new key");
  EXPECT_EQ(Stored("Software\\Ed", "data"), "REG_SZ:old old\0"s);  // the preview changed nothing
  EXPECT_TRUE(KeyExists("Software\\Ed\\old key"));
  const std::string undo_before = model_.StatusLine();
  model_.Replace(request, "new");
  EXPECT_EQ(model_.message(), "Replaced 4 items");
  EXPECT_EQ(Stored("Software\\Ed", "data"), "REG_SZ:new old\0"s);
  EXPECT_EQ(Stored("Software\\Ed", "new name"), "REG_SZ:keep\0"s);
  EXPECT_TRUE(KeyExists("Software\\Ed\\new key"));
  EXPECT_EQ(model_.StatusLine(), undo_before);  // nothing was recorded
}

TEST_F(EditorCommandsTest, ExportWritesTheSelectedKeyAndImportBringsItBack) {
  const char* saved = std::getenv("PATH");
  const std::string saved_path = saved ? saved : "";
  setenv("PATH", std::filesystem::path(REGEDIT_PROGRAM).parent_path().c_str(), 1);
  model_.NewValue("S", REG_SZ, "text");
  const std::string file = (registry_.path() / "out.reg").string();
  model_.Export(file, false);
  EXPECT_EQ(model_.message(), "Exported to " + file);
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  EXPECT_NE(text.str().find("[" + std::string(kKey) + "]\r\n\"S\"=\"text\""), std::string::npos) << text.str();
  model_.DeleteKey();
  EXPECT_FALSE(KeyExists("Software\\Ed"));
  model_.Import(file);
  EXPECT_EQ(model_.message(), "Imported " + file);
  EXPECT_EQ(Stored("Software\\Ed", "S"), "REG_SZ:text\0"s);
  model_.Import((registry_.path() / "missing.reg").string());
  EXPECT_TRUE(model_.message_is_error());
  EXPECT_EQ(model_.message().rfind("The import of ", 0), 0u) << model_.message();
  setenv("PATH", saved_path.c_str(), 1);
}

// "Load hive..." on a selected root shows the hive's keys there and selects
// it; changes made in the editor reach the file; "Unload hive" takes it away.
TEST_F(EditorCommandsTest, LoadAndUnloadHiveOnTheSelectedRoot) {
  model_.JumpTo(kKey);
  model_.NewValue("S", REG_SZ, "x");
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Ed", 0, KEY_READ, &key), 0);
  const std::string file = (registry_.path() / "ed.hiv").string();
  ASSERT_EQ(RegSaveKeyA(key, file.c_str(), nullptr), 0);
  RegCloseKey(key);
  model_.LoadHive(file, "Mounted");
  EXPECT_TRUE(model_.message_is_error());  // not on a root
  model_.JumpTo("HKEY_LOCAL_MACHINE");
  model_.LoadHive(file, "Mounted");
  ASSERT_FALSE(model_.message_is_error()) << model_.message();
  EXPECT_EQ(model_.tree().SelectedPath(), "HKEY_LOCAL_MACHINE\\Mounted");
  EXPECT_EQ(model_.values().back().name, "S");
  model_.NewValue("T", REG_SZ, "y");
  model_.UnloadHive();
  ASSERT_FALSE(model_.message_is_error()) << model_.message();
  EXPECT_EQ(model_.tree().SelectedPath(), "HKEY_LOCAL_MACHINE");
  EXPECT_FALSE(model_.JumpTo("HKEY_LOCAL_MACHINE\\Mounted"));
  ASSERT_EQ(RegLoadKeyA(HKEY_USERS, "Again", file.c_str()), 0);
  char data[8] = {};
  DWORD size = sizeof data;
  ASSERT_EQ(RegOpenKeyExA(HKEY_USERS, "Again", 0, KEY_READ, &key), 0);
  EXPECT_EQ(RegQueryValueExA(key, "T", nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size), 0);
  EXPECT_STREQ(data, "y");
  RegCloseKey(key);
  EXPECT_EQ(RegUnLoadKeyA(HKEY_USERS, "Again"), 0);
}

TEST_F(EditorCommandsTest, CopyingThePathKeepsItForPasting) {
  EXPECT_EQ(model_.CopyPath(), kKey);
  EXPECT_EQ(model_.clipboard(), kKey);
  EXPECT_EQ(model_.message(), "Copied " + std::string(kKey));
}

}  // namespace
}  // namespace orvane::regedit::editor
