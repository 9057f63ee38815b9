// The full-screen editor in a real terminal (tmux): walking the tree,
// creating, editing, renaming and deleting keys and values, find, undo,
// export, jump, help, resizing, and the About box's registry editor button.
// The screen text and the registry are checked after each step. Skipped
// where tmux is missing.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/win32_registry.h"
#include "regedit/tmux_driver.h"
#include "support/temp_registry.h"
#include "user_key_probe.h"

namespace orvane {
namespace {

using namespace std::string_literals;
using testing::TmuxDriver;

// The stored type number and bytes of a value, "missing" when unreadable.
std::string Stored(const std::string& path, const std::string& name) {
  const testing::StoredValue value = testing::ReadUserValue(path, name);
  if (!value.missing.empty()) return value.missing;
  return std::to_string(value.type) + ":" + value.data;
}

bool KeyExists(const std::string& path) { return testing::UserKeyExists(path); }

class EditorTerminal : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!TmuxDriver::Available()) GTEST_SKIP() << "tmux is not installed; the terminal tests are skipped";
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Walk\\Deep", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr),
              0);
    RegCloseKey(key);
  }

  // Starts `program` (regedit without arguments by default) on this test's store.
  void Open(int width, int height, std::vector<std::string> argv = {REGEDIT_PROGRAM}) {
    tmux_ = std::make_unique<TmuxDriver>(registry_.path(), width, height);
    ASSERT_TRUE(tmux_->Start({"ORVANE_REGISTRY=" + registry_.file().string(), "TERM=xterm"}, argv));
  }

  // Sends `keys`, then waits for `expected` on the screen.
  void Step(const std::vector<std::string>& keys, const std::string& expected) {
    tmux_->Keys(keys);
    ASSERT_TRUE(tmux_->WaitFor(expected)) << "waiting for: " << expected << "\n" << tmux_->Screen();
  }
  // Types `text` literally, then presses Enter and waits for `expected`.
  void Answer(const std::string& text, const std::string& expected) {
    tmux_->Type(text);
    Step({"Enter"}, expected);
  }

  TempRegistry registry_;
  std::unique_ptr<TmuxDriver> tmux_;
};

TEST_F(EditorTerminal, WalkCreateEditRenameDeleteFindUndoAndExport) {
  ASSERT_NO_FATAL_FAILURE(Open(100, 30));
  ASSERT_TRUE(tmux_->WaitFor("+ HKEY_LOCAL_MACHINE")) << tmux_->Screen();
  ASSERT_TRUE(tmux_->WaitFor(" HKEY_CLASSES_ROOT  "));  // the status line
  // Walk to the key with the arrows.
  Step({"Down", "Right"}, "- HKEY_CURRENT_USER");
  Step({"Down"}, " HKEY_CURRENT_USER\\Software  ");
  Step({"Right", "Down"}, " HKEY_CURRENT_USER\\Software\\Walk  ");
  // A new key under it.
  Step({"k"}, "New key under HKEY_CURRENT_USER\\Software\\Walk:");
  Answer("Made", "Created key HKEY_CURRENT_USER\\Software\\Walk\\Made");
  ASSERT_TRUE(tmux_->WaitFor("Undo: create key"));
  EXPECT_TRUE(KeyExists("Software\\Walk\\Made"));
  // A value of each type.
  struct NewValue {
    int position;
    std::string name, data, shown, stored;
  };
  const std::vector<NewValue> values = {
      {0, "S", "text", "REG_SZ", "1:text\0"s},
      {1, "E", "%TEMP%\\x", "REG_EXPAND_SZ", "2:%TEMP%\\x\0"s},
      {3, "D", "0x2a", "0x0000002a (42)", "4:\x2a\0\0\0"s},
      {5, "B", "01 ff 7e", "01 ff 7e", "3:\x01\xff\x7e"s},
  };
  for (const NewValue& value : values) {
    Step({"v"}, "Type of the new value");
    for (int i = 0; i < value.position; ++i) tmux_->Keys({"Down"});
    Step({"Enter"}, "Name of the new value:");
    Answer(value.name, "Data of " + value.name);
    tmux_->Keys({"C-u"});
    Answer(value.data, "Created value " + value.name);
    ASSERT_TRUE(tmux_->WaitFor(value.shown)) << tmux_->Screen();
    EXPECT_EQ(Stored("Software\\Walk\\Made", value.name), value.stored);
  }
  Step({"v"}, "Type of the new value");
  Step({"Down", "Down", "Enter"}, "Name of the new value:");
  Answer("M", "one entry a line");
  tmux_->Type("one");
  tmux_->Keys({"Enter"});
  tmux_->Type("two");
  Step({"C-d"}, "Created value M");
  ASSERT_TRUE(tmux_->WaitFor("REG_MULTI_SZ  one two"));
  EXPECT_EQ(Stored("Software\\Walk\\Made", "M"), "7:one\0two\0\0"s);
  // Edit, rename and delete the string value in the values pane.
  Step({"Tab", "Home", "Down", "e"}, "Data of S: text");
  tmux_->Keys({"C-u"});
  Answer("changed", "Wrote value S");
  ASSERT_TRUE(tmux_->WaitFor("REG_SZ        changed"));
  EXPECT_EQ(Stored("Software\\Walk\\Made", "S"), "1:changed\0"s);
  Step({"r"}, "Rename value to: S");
  tmux_->Keys({"C-u"});
  Answer("S2", "Renamed value to S2");
  EXPECT_EQ(Stored("Software\\Walk\\Made", "S"), "missing");
  Step({"d"}, "Delete the value S2? (y/n)");
  Step({"y"}, "Deleted value S2");
  EXPECT_EQ(Stored("Software\\Walk\\Made", "S2"), "missing");
  // Undo brings it back, naming what it undid.
  Step({"u"}, "Undone: delete value");
  EXPECT_EQ(Stored("Software\\Walk\\Made", "S2"), "1:changed\0"s);
  ASSERT_TRUE(tmux_->WaitFor("Undo: rename value"));
  // Find below the key.
  Step({"f"}, "Find:");
  Answer("two", "Look at k=keys");
  Step({"Enter"}, "Match 1 of 1 (data)");
  // Export the key.
  const std::string file = (registry_.path() / "made.reg").string();
  Step({"x"}, "Export HKEY_CURRENT_USER\\Software\\Walk\\Made to file:");
  Answer(file, "Exported to " + file);
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  EXPECT_NE(text.str().find("[HKEY_CURRENT_USER\\Software\\Walk\\Made]\r\n\"E\""), std::string::npos) << text.str();
  // Rename and delete the key in the tree pane.
  Step({"Tab", "r"}, "Rename key to: Made");
  tmux_->Keys({"C-u"});
  Answer("Done", "Renamed key to Done");
  EXPECT_TRUE(KeyExists("Software\\Walk\\Done"));
  EXPECT_FALSE(KeyExists("Software\\Walk\\Made"));
  Step({"d"}, "Delete the key HKEY_CURRENT_USER\\Software\\Walk\\Done and all its sub-keys? (y/n)");
  Step({"y"}, "Deleted key HKEY_CURRENT_USER\\Software\\Walk\\Done");
  EXPECT_FALSE(KeyExists("Software\\Walk\\Done"));
  Step({"u"}, "Undone: delete key");
  EXPECT_EQ(Stored("Software\\Walk\\Done", "M"), "7:one\0two\0\0"s);
  // Quit.
  tmux_->Keys({"q"});
  for (int i = 0; i < 1500 && tmux_->Running(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_FALSE(tmux_->Running());
}

TEST_F(EditorTerminal, JumpErrorsHelpAndResizeAtEightyByTwentyFour) {
  ASSERT_NO_FATAL_FAILURE(Open(80, 24));
  ASSERT_TRUE(tmux_->WaitFor("+ HKEY_LOCAL_MACHINE")) << tmux_->Screen();
  Step({"g"}, "Go to key: HKEY_CLASSES_ROOT");
  tmux_->Keys({"C-u"});
  Answer("hkcu\\software\\walk\\deep", " HKEY_CURRENT_USER\\Software\\Walk\\Deep ");
  ASSERT_TRUE(tmux_->WaitFor("      + Deep"));  // shown in the tree, three levels in
  // The control's error, with its number, in the message line.
  Step({"r"}, "Rename key to: Deep");
  tmux_->Keys({"C-u"});
  Answer("", "Error 60134: The destination key already exists");  // the parent's own path
  EXPECT_TRUE(KeyExists("Software\\Walk\\Deep"));
  Step({"c"}, "Copied HKEY_CURRENT_USER\\Software\\Walk\\Deep");
  Step({"?"}, "Keys of the registry editor");
  Step({"Escape"}, "Copied HKEY_CURRENT_USER");
  tmux_->Keys({"Escape"});
  Step({"m"}, "Export registry");
  Step({"Escape"}, " HKEY_CURRENT_USER\\Software\\Walk\\Deep ");
  // A wider terminal: the panes are drawn again to its new width.
  const std::string title = " Registry Editor   F1 Help  F10 Menu  Tab Pane  q Quit";
  tmux_->Resize(120, 40);
  ASSERT_TRUE(tmux_->WaitFor(title + std::string(120 - title.size(), ' ') + "\n")) << tmux_->Screen();
  tmux_->Resize(80, 24);
  ASSERT_TRUE(tmux_->WaitFor(title + std::string(80 - title.size(), ' ') + "\n")) << tmux_->Screen();
  EXPECT_TRUE(tmux_->Running());
}

// Pop-ups hold their widest line inside the border (the type menu, the
// list of matches, the menu with each entry's keys); the type menu has
// QWORD; a command key that closes the help runs; a prompt's old text
// (and a multi-string's) is selected: typing replaces it, End keeps it, Up
// brings it back. The border shows as "x" on this terminal.
TEST_F(EditorTerminal, PopUpsHelpAndPromptsWithAnOldText) {
  HKEY key = nullptr;
  ASSERT_EQ(
      RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\EdDemo", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr), 0);
  ASSERT_EQ(RegSetValueExA(key, "Greeting", 0, REG_SZ, reinterpret_cast<const BYTE*>("Hello"), 6), 0);
  ASSERT_EQ(RegSetValueExA(key, "List", 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>("a\0b\0"), 5), 0);
  RegCloseKey(key);
  ASSERT_NO_FATAL_FAILURE(Open(100, 30));
  ASSERT_TRUE(tmux_->WaitFor("+ HKEY_LOCAL_MACHINE")) << tmux_->Screen();
  const struct {
    std::vector<std::string> keys;
    std::string typed, expected;
  } steps[] = {
      {{"g"}, "HKCU\\Software\\EdDemo", "Go to key: HKCU\\Software\\EdDemo"},
      {{"Enter"}, "", " HKEY_CURRENT_USER\\Software\\EdDemo "},
      {{"v"}, "", "x Expandable string (REG_EXPAND_SZ) x"},
      {{"Down", "Down", "Down", "Down", "Enter"}, "Q", "Name of the new value: Q"},
      {{"Enter"}, "0x100000000", "Data of Q (decimal, or 0x and hex): 0x100000000"},
      {{"Enter"}, "", "REG_QWORD     0x0000000100000000 (429"},
      {{"f"}, "Greet", "Find: Greet"},
      {{"Enter", "Enter"}, "", "Match 1 of 1"},
      {{"l"}, "", "x HKEY_CURRENT_USER\\Software\\EdDemo : Greeting x"},
      {{"Escape", "F10"}, "", "x Find              f, Ctrl-F x"},
      {{"Escape", "F1"}, "", "Keys of the registry editor"},
      {{"k"}, "", "New key under HKEY_CURRENT_USER\\Software\\EdDemo:"},
      {{"Escape", "e"}, "Bye", "Data of Greeting: Bye"},
      {{"Enter", "e"}, "x", "Data of Greeting: x"},
      {{"Up", "End"}, "!", "Data of Greeting: Bye!"},
      {{"Enter"}, "", "REG_SZ        Bye!"},
      {{"Down", "e"}, "c", "Edit List, one entry a line"},
      {{"C-d"}, "", "REG_MULTI_SZ  c "},
  };
  for (const auto& step : steps) {
    tmux_->Keys(step.keys);
    if (!step.typed.empty()) tmux_->Type(step.typed);
    ASSERT_TRUE(tmux_->WaitFor(step.expected)) << "waiting for: " << step.expected << "\n" << tmux_->Screen();
  }
  EXPECT_EQ(Stored("Software\\EdDemo", "Q"), "11:\0\0\0\0\1\0\0\0"s);
  EXPECT_EQ(Stored("Software\\EdDemo", "Greeting"), "1:Bye!\0"s);
  EXPECT_EQ(Stored("Software\\EdDemo", "List"), "7:c\0\0"s);
}

// Names and data holding CR, LF and escape sequences (one clears the screen,
// one sets the window's title) are shown in the script form quorvel's Print
// uses; none reaches the terminal raw: the rows around them stay, and the
// title stays the pane's own. A name being edited shows its control
// characters as reverse-video caret letters (CR LF as M J).
TEST_F(EditorTerminal, ControlCharactersInNamesAndDataNeverReachTheScreenRaw) {
  const std::string title_sequence = "\x1b]2;OWNED\x07";
  for (const std::string& name : std::vector<std::string>{"Row\r\nBreak", "Title" + title_sequence, "Zafter"}) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, ("Software\\Walk\\" + name).c_str(), 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr),
              0);
    const std::string data = "\x1b[2J\x1b[H" + title_sequence + "wiped\r\n";
    ASSERT_EQ(RegSetValueExA(key, "v\n", 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                             static_cast<DWORD>(data.size() + 1)),
              0);
    RegCloseKey(key);
  }
  ASSERT_NO_FATAL_FAILURE(Open(100, 30));
  const std::string title = tmux_->PaneTitle();
  ASSERT_TRUE(tmux_->WaitFor("+ HKEY_LOCAL_MACHINE")) << tmux_->Screen();
  Step({"g"}, "Go to key:");
  tmux_->Keys({"C-u"});
  Answer("HKCU\\Software\\Walk", " HKEY_CURRENT_USER\\Software\\Walk ");
  Step({"Right"}, "+ Zafter");
  const std::string screen = tmux_->Screen();
  EXPECT_NE(screen.find("+ Deep"), std::string::npos) << screen;
  EXPECT_NE(screen.find("+ \"Row\" & Chr(13) & Chr(10) & \"Bre"), std::string::npos) << screen;  // as wide as the pane
  EXPECT_NE(screen.find("+ \"Title\" & Chr(27) & \"]2;OWNED\" &"), std::string::npos) << screen;
  Step({"Down", "Down"}, " \"HKEY_CURRENT_USER\\Software\\Walk\\Row\" & Chr(13) & Chr(10) & \"Break\"");
  ASSERT_TRUE(tmux_->WaitFor("\"v\" & Chr(10)")) << tmux_->Screen();
  ASSERT_TRUE(tmux_->WaitFor("Chr(27) & \"[2J\" & Chr(27)")) << tmux_->Screen();
  EXPECT_NE(tmux_->Screen().find("Registry Editor"), std::string::npos);  // the screen was not cleared
  Step({"r"}, "Rename key to: RowMJBreak");
  EXPECT_NE(tmux_->Screen().find("+ Zafter"), std::string::npos) << tmux_->Screen();
  Step({"Escape"}, "+ Zafter");
  EXPECT_EQ(tmux_->PaneTitle(), title);
}

#ifdef QUORVEL_PROGRAM
TEST_F(EditorTerminal, TheAboutBoxButtonRunsTheEditorInItsTerminalAndWaitsForIt) {
  // A shell around the host keeps the pane until the test has read the
  // host's last output; the host's arguments pass through it unchanged.
  ASSERT_NO_FATAL_FAILURE(Open(100, 30, {"/bin/sh", "-c", "\"$@\"; echo \"ended $?\"; read x", "sh", QUORVEL_PROGRAM,
                                         "-e", "Print \"after\""}));
  ASSERT_TRUE(tmux_->WaitFor("< Quorvel... >")) << tmux_->Screen();
  Step({"q"}, "Registry Editor   F1 Help");  // the dialog gave the screen to the editor
  EXPECT_EQ(tmux_->Screen().find("About Orvane"), std::string::npos);
  Step({"k"}, "New key under HKEY_CLASSES_ROOT:");
  Answer("FromAbout", "Created key HKEY_CLASSES_ROOT\\FromAbout");
  Step({"q"}, "About Orvane");  // back in the dialog once the editor ended
  EXPECT_EQ(tmux_->Screen().find("after"), std::string::npos);  // the host still waits for the dialog
  Step({"Enter"}, "String \"after\"\nended 0");
  HKEY key = nullptr;
  EXPECT_EQ(RegOpenKeyExA(HKEY_CLASSES_ROOT, "FromAbout", 0, KEY_READ, &key), 0);
  RegCloseKey(key);
}
#endif

}  // namespace
}  // namespace orvane
