// While undo is on, a method that records its change refuses with 60005 and
// changes nothing when the journal cannot be written (the product key made
// read-only by administration): the old data must survive, not be replaced
// by a change that has no record.
#include <gtest/gtest.h>

#include "control/control_fixture.h"
#include "keyops/registry_text.h"
#include "store/registry_store.h"
#include "registry/expect_error.h"
#include "undo/journal.h"

namespace orvane {
namespace {

using testing::KeyThere;
using testing::PutString;
using testing::PutValue;
using testing::TreeText;

class UnwritableJournal : public ControlTest {
 protected:
  UnwritableJournal() {
    PutValue(HKEY_CURRENT_USER, "Software\\Kept", "v", REG_BINARY, std::string("\x01\x02\x03", 3));
    PutString(HKEY_CURRENT_USER, "Software\\Kept", "w", "other");
    PutString(HKEY_CURRENT_USER, "Software\\Target", "d", "destination");
    testing::PutKey(HKEY_LOCAL_MACHINE, kProductKeyPath);
    control_.UndoEnabled(true);
    EXPECT_EQ(platform::SetRegistryKeyReadOnly(HKEY_LOCAL_MACHINE, kProductKeyPath, true), ERROR_SUCCESS);
    control_.GlobalKeyPath("HKEY_CURRENT_USER\\Software\\Kept");
    control_.ValueName("v");
    kept_ = TreeText(HKEY_CURRENT_USER, "Software");
  }

  // The whole of HKEY_CURRENT_USER\Software is exactly as it was.
  void ExpectUnchanged() { EXPECT_EQ(TreeText(HKEY_CURRENT_USER, "Software"), kept_); }

  std::string kept_;
};

TEST_F(UnwritableJournal, DeleteValueRefusesAndKeepsTheValue) {
  EXPECT_ERROR_NUMBER(control_.DeleteValue(), 60005);
  ExpectUnchanged();
  EXPECT_NE(kept_.find("\"v\"=3:010203"), std::string::npos) << kept_;
}

TEST_F(UnwritableJournal, SetValueOverAnExistingValueRefusesAndKeepsItsBytes) {
  control_.Value(Variant::String("replacement"));
  int32_t mode = 0;
  EXPECT_ERROR_NUMBER(control_.SetValue(mode), 60005);
  ExpectUnchanged();
}

TEST_F(UnwritableJournal, MoveValueOverAnExistingDestinationRefusesAndKeepsBoth) {
  int32_t root = static_cast<int32_t>(0x80000001u);
  std::string path = "Software\\Target";
  std::string name = "d";
  EXPECT_ERROR_NUMBER(control_.MoveValue(root, path, name), 60005);
  ExpectUnchanged();
}

TEST_F(UnwritableJournal, OtherRecordedMethodsRefuseBeforeChangingAnything) {
  std::string renamed = "renamed";
  EXPECT_ERROR_NUMBER(control_.RenameValue(renamed), 60005);
  int32_t root = static_cast<int32_t>(0x80000001u);
  std::string path = "Software\\Target";
  std::string name = "copied";
  EXPECT_ERROR_NUMBER(control_.CopyValue(root, path, name), 60005);
  control_.GlobalKeyPath("HKEY_CURRENT_USER\\Software\\Made\\Here");
  EXPECT_ERROR_NUMBER(control_.SetKey(), 60005);
  EXPECT_FALSE(KeyThere(HKEY_CURRENT_USER, "Software\\Made"));
  ExpectUnchanged();
}

TEST_F(UnwritableJournal, AWritableJournalLetsTheSameChangeThroughWithItsRecord) {
  ASSERT_EQ(platform::SetRegistryKeyReadOnly(HKEY_LOCAL_MACHINE, kProductKeyPath, false), ERROR_SUCCESS);
  control_.DeleteValue();
  EXPECT_EQ(TreeText(HKEY_LOCAL_MACHINE, JournalKeyPath() + "\\Undo#0\\OldValue"), "[]\n\"v\"=3:010203\n");
}

}  // namespace
}  // namespace orvane
