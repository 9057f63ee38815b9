// The layout of every kind of record, read straight from the store: which
// values each action code writes, in which order, from which cell of the
// location table, and which codes take the parked data as "OldValue".
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "keyops/journal_fixture.h"
#include "registry/expect_error.h"
#include "undo/record.h"

namespace orvane {
namespace {

using enum UndoActionCode;
using Fields = std::vector<std::pair<std::string, std::string>>;

struct LayoutCase {
  UndoActionCode code;
  const char* hex;
  Fields fields;
  bool old_value;
};

// Three slots with every cell distinct; roots of slot 0 and 1 differ.
const LocationTable kTable = {
    {"-2147483647", "p0", "n0"}, {"-2147483646", "p1", "n1"}, {"", "p2", "n2"}};

const Fields kKey = {{"hKey", "-2147483647"}, {"KeyPath", "p0"}};
const Fields kValue = {{"hKey", "-2147483647"}, {"KeyPath", "p0"}, {"ValueName", "n0"}};
const Fields kMoveValue = {{"hKey", "-2147483647"},    {"KeyPath", "p0"},    {"ValueName", "n0"},
                           {"NewhKey", "-2147483646"}, {"NewKeyPath", "p1"}, {"NewValueName", "n1"}};
const Fields kRenameKey = {
    {"hKey", "-2147483647"}, {"KeyPath", "p0"}, {"NewhKey", "-2147483646"}, {"NewKeyPath", "p1"}};

Fields Plus(Fields fields, const Fields& more) {
  fields.insert(fields.end(), more.begin(), more.end());
  return fields;
}

std::vector<LayoutCase> Cases() {
  return {
      {ValueSetKeyCreated, "A0", kKey, false},
      {ValueSetCreated, "A1", kValue, false},
      {ValueSetReplaced, "A2", kValue, true},
      {ValueDeleted, "A3", kValue, true},
      {ValuesSetKeyCreated, "B0", kKey, false},
      {ValuesSet, "B1", Plus(kKey, {{"ValueName0", "n0"}, {"ValueName1", "n1"}, {"ValueName2", "n2"}}), true},
      {ValueRenamed, "C0", Plus(kValue, {{"NewValueName", "n1"}}), false},
      {ValueMovedKeyCreated, "C1", Plus(kMoveValue, {{"DelKeyPath", "p2"}}), false},
      {ValueMoved, "C2", kMoveValue, false},
      {ValueMovedReplaced, "C3", kMoveValue, true},
      {ValueCopiedKeyCreated, "C4", kKey, false},
      {ValueCopied, "C5", kValue, false},
      {ValueCopiedReplaced, "C6", kValue, true},
      {KeyCreated, "D0", kKey, false},
      {KeyDeleted, "D1", kKey, true},
      {KeysCreated, "E0", {{"hKey", "-2147483647"}, {"KeyPath0", "p0"}, {"KeyPath1", "p1"}, {"KeyPath2", "p2"}},
       false},
      {KeyRenamed, "F0", kRenameKey, false},
      {KeyMoved, "F1", Plus(kRenameKey, {{"DelKeyPath", "p2"}}), false},
      {KeyCopied, "F2", kKey, false},
  };
}

std::string Expected(const LayoutCase& c) {
  std::string text = "[]\n\"\"=\"" + std::string(c.hex) + "\"\n";
  for (const auto& [name, data] : c.fields) text += "\"" + name + "\"=\"" + data + "\"\n";
  if (c.old_value) text += "[OldValue]\n\"parked\"=\"old\"\n";
  return text;
}

class RecordLayoutTest : public testing::JournalTest {};

TEST_F(RecordLayoutTest, EveryCodeWritesItsOwnValuesInOrder) {
  SetUndoEnabledFlag(true);
  for (const LayoutCase& c : Cases()) {
    SCOPED_TRACE(c.hex);
    ClearTempUndo();
    testing::PutString(HKEY_LOCAL_MACHINE, TempUndoKeyPath(), "parked", "old");
    RecordUndo(c.code, kTable);
    EXPECT_TREE_EQ(Record(0), Expected(c));
    // Parked data goes into the record, or stays parked for codes that keep none.
    EXPECT_EQ(TempUndoThere(), !c.old_value);
  }
  EXPECT_EQ(RecordCount(), 19);
}

TEST_F(RecordLayoutTest, BulkCodesWriteOneNumberedValuePerSlot) {
  SetUndoEnabledFlag(true);
  RecordUndo(KeysCreated, {{"-2147483647", "only", ""}});
  EXPECT_TREE_EQ(Record(0), "[]\n\"\"=\"E0\"\n\"hKey\"=\"-2147483647\"\n\"KeyPath0\"=\"only\"\n");
  // A slot the code reads but the table lacks: the runtime's subscript error.
  EXPECT_ERROR_NUMBER(RecordUndo(KeyMoved, {{"-2147483647", "a", ""}, {"-2147483647", "b", ""}}), 9);
}

}  // namespace
}  // namespace orvane
