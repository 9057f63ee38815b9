// The journal is the control's own bookkeeping: Find and Replace over the
// registry leave it alone, the key methods refuse to delete, move or
// rename it, and Undo drops, once, a record whose saved data is gone.
#include <gtest/gtest.h>

#include <string>

#include "keyops/journal_fixture.h"
#include "orvane/container.h"
#include "orvane/quorvel.h"
#include "registry/expect_error.h"
#include "registry/nt_platform.h"
#include "registry/scoped_key.h"
#include "support/read_only_key.h"

namespace orvane {
namespace {

using namespace testing::tree_helpers;

class JournalGuardTest : public testing::JournalTest {
 protected:
  JournalGuardTest() {
    SetNtPlatformForTesting(true);
    control_.UndoEnabled(true);
  }

  // The current key is `path` under HKEY_LOCAL_MACHINE.
  void AtMachineKey(const std::string& path) { control_.GlobalKeyPath("HKEY_LOCAL_MACHINE\\" + path); }
  static std::string Journals() { return TreeText(HKEY_LOCAL_MACHINE, kProductKeyPath); }

  NullContainer container_;
  Quorvel control_{container_};
};

TEST_F(JournalGuardTest, WholeRegistryReplaceLeavesTheJournalsAndUndoStillWorks) {
  PutString(HKEY_CURRENT_USER, "Software\\App\\needle", "needle", "needle data");
  // Another process's journal, holding the text too.
  PutString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Orvane\\Undo-7\\Undo#0", "KeyPath", "Software\\needle");
  control_.GlobalKeyPath("HKEY_CURRENT_USER\\Software\\App\\needle");
  control_.DeleteKey();
  const std::string journals = Journals();
  ASSERT_NE(journals.find("needle data"), std::string::npos);

  int32_t window = 0;
  Variant reserved = Variant::Long(0);
  const Variant found = control_.Find("needle", 1, true, true, true, reserved, true, window);
  EXPECT_TRUE(found.is_empty() || found.array().elements().empty());
  EXPECT_EQ(control_.Replace("needle", "pin", 1, true, true, true, reserved, true, window), 0);
  EXPECT_TREE_EQ(Journals(), journals);

  control_.Undo(1);
  EXPECT_TREE_EQ(TreeText(HKEY_CURRENT_USER, "Software\\App"), "[]\n[needle]\n\"needle\"=\"needle data\"\n");
  // A replace that starts inside the product key changes nothing there either.
  AtMachineKey(kProductKeyPath);
  EXPECT_EQ(control_.Replace("Undo", "Redo", 1, true, true, true, reserved, false, window), 0);
}

// Each key method on each journal key: refused with 60131, nothing changed.
TEST_F(JournalGuardTest, KeyMethodsRefuseTheJournalKeys) {
  control_.GlobalKeyPath("HKEY_CURRENT_USER\\Software\\K");
  control_.SetKey();  // a journal with one record
  PutString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Orvane\\TempUndo-9\\Parked", "v", "1");
  const std::string journal = JournalKeyPath();
  enum class Method { kDelete, kMove, kRename };
  const struct {
    Method method;
    std::string path;
  } cases[] = {
      {Method::kDelete, journal},
      {Method::kDelete, journal + "\\Undo#0"},
      {Method::kDelete, "software\\orvane\\tempundo-9\\Parked"},
      {Method::kMove, kProductKeyPath},
      {Method::kMove, journal},
      {Method::kMove, "SOFTWARE\\Orvane\\TempUndo-9"},
      {Method::kRename, kProductKeyPath},
      {Method::kRename, journal},
      {Method::kRename, journal + "\\Undo#0"},
  };
  for (bool undo : {true, false}) {
    control_.UndoEnabled(undo);
    for (const auto& [method, path] : cases) {
      SCOPED_TRACE(path + (undo ? " (undo on)" : " (undo off)"));
      const std::string before = TreeText(HKEY_LOCAL_MACHINE, "SOFTWARE");
      AtMachineKey(path);
      std::string new_name = "Elsewhere";
      switch (method) {
        case Method::kDelete:
          EXPECT_ERROR_NUMBER(control_.DeleteKey(), 60131);
          break;
        case Method::kMove:
          EXPECT_ERROR_NUMBER(control_.MoveKey(static_cast<int32_t>(0x80000001), "Software\\Moved"), 60131);
          break;
        case Method::kRename:
          EXPECT_ERROR_NUMBER(control_.RenameKey(new_name), 60131);
          break;
      }
      EXPECT_TREE_EQ(TreeText(HKEY_LOCAL_MACHINE, "SOFTWARE"), before);
    }
  }
  // HKEY_LOCAL_MACHINE\SOFTWARE holds the key behind HKEY_CLASSES_ROOT: 60005.
  AtMachineKey("SOFTWARE");
  EXPECT_ERROR_NUMBER(control_.MoveKey(static_cast<int32_t>(0x80000003), "Soft"), 60005);
  // Keys of the product key that are not journals stay the caller's.
  PutKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Orvane\\Settings");
  AtMachineKey("SOFTWARE\\Orvane\\Settings");
  std::string renamed = "Options";
  control_.RenameKey(renamed);
  EXPECT_TRUE(KeyThere(HKEY_LOCAL_MACHINE, "SOFTWARE\\Orvane\\Options"));
}

TEST_F(JournalGuardTest, UndoDropsARecordWhoseParkedDataIsGoneOnce) {
  PutString(HKEY_CURRENT_USER, "Software\\K", "v", "old");
  control_.GlobalKeyPath("HKEY_CURRENT_USER\\Software\\K");
  control_.ValueName("v");
  control_.Value(Variant::String("new"));
  control_.SetValue();  // record 1: the value replaced, "old" parked
  PutKey(HKEY_CURRENT_USER, "Software\\K\\Gone");
  control_.SubKeyPath("Software\\K\\Gone");
  control_.DeleteKey();  // record 0: the key deleted, its copy parked
  ASSERT_EQ(RecordCount(), 2);
  // Another program removes the parked copy of record 0.
  ScopedKey record;
  ASSERT_EQ(record.Open(HKEY_LOCAL_MACHINE, JournalKeyPath() + "\\Undo#0"), ERROR_SUCCESS);
  ASSERT_EQ(RegDeleteKeyA(record.get(), "OldValue"), ERROR_SUCCESS);
  record.Close();

  EXPECT_ERROR_NUMBER(control_.Undo(1), 60102);
  EXPECT_EQ(RecordCount(), 1);
  EXPECT_FALSE(KeyThere(HKEY_CURRENT_USER, "Software\\K\\Gone"));
  control_.Undo(1);  // the next record undoes as usual
  EXPECT_EQ(testing::StringAt(HKEY_CURRENT_USER, "Software\\K", "v"), "old");
  EXPECT_EQ(RecordCount(), 0);
}

TEST_F(JournalGuardTest, AnUndoStepThatCannotBeDoneRaisesAndKeepsItsRecord) {
  PutKey(HKEY_CURRENT_USER, "Software\\K");
  control_.GlobalKeyPath("HKEY_CURRENT_USER\\Software\\K");
  // A name that is not UTF-8 is undone by the same bytes.
  control_.ValueName("a\xE9" "b");
  control_.Value(Variant::String("x"));
  control_.SetValue();
  control_.Undo(1);
  EXPECT_TREE_EQ(TreeText(HKEY_CURRENT_USER, "Software\\K"), "[]\n");
  control_.SetValue();
  ASSERT_EQ(testing::SetKeyReadOnly(HKEY_CURRENT_USER, "Software\\K", true), ERROR_SUCCESS);
  EXPECT_ERROR_NUMBER(control_.Undo(1), 60005);
  EXPECT_EQ(RecordCount(), 1);
  ASSERT_EQ(testing::SetKeyReadOnly(HKEY_CURRENT_USER, "Software\\K", false), ERROR_SUCCESS);
  control_.Undo(1);
  EXPECT_TREE_EQ(TreeText(HKEY_CURRENT_USER, "Software\\K"), "[]\n");
}

}  // namespace
}  // namespace orvane
