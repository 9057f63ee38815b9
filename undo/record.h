// Writing records into the undo journal: the action codes, the location
// table an operation hands over, RecordUndo (push one record) and
// ShiftJournal (move every record one place). The journal is the registry
// only; nothing is cached. One thread.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32_registry.h"

namespace orvane {

// The kind of a record: the high four bits name the family (A one value,
// B several values, C value copy/move/rename, D key create/delete, E
// several keys, F key copy/move/rename).
enum class UndoActionCode : uint8_t {
  ValueSetKeyCreated = 0xA0,
  ValueSetCreated = 0xA1,
  ValueSetReplaced = 0xA2,
  ValueDeleted = 0xA3,
  ValuesSetKeyCreated = 0xB0,
  ValuesSet = 0xB1,
  ValueRenamed = 0xC0,
  ValueMovedKeyCreated = 0xC1,
  ValueMoved = 0xC2,
  ValueMovedReplaced = 0xC3,
  ValueCopiedKeyCreated = 0xC4,
  ValueCopied = 0xC5,
  ValueCopiedReplaced = 0xC6,
  KeyCreated = 0xD0,
  KeyDeleted = 0xD1,
  KeysCreated = 0xE0,
  KeyRenamed = 0xF0,
  KeyMoved = 0xF1,
  KeyCopied = 0xF2,
};

// Fields of a location slot.
inline constexpr size_t kRootField = 0;       // root as signed decimal text
inline constexpr size_t kKeyPathField = 1;    // key path
inline constexpr size_t kValueNameField = 2;  // value name

// Slot by field: slot 0 the primary location, slot 1 the second one (the
// destination of a move or rename), slot 2 only its key path (the topmost
// key a move created); bulk codes use one slot per item.
using LocationSlot = std::array<std::string, 3>;
using LocationTable = std::vector<LocationSlot>;

// The default value of the journal key, rewritten with every record.
inline constexpr const char* kJournalText =
    "This key is maintained by Orvane. Please do not modify this key directly.";
// The most records the journal keeps.
inline constexpr int kMaxJournalRecords = 20;

// Whether the journal writes records of this code.
bool IsRecordedCode(UndoActionCode code);
// Whether a record of this code holds the old data as "OldValue".
bool KeepsOldValue(UndoActionCode code);

// "Undo#" + index: the name of record `index` (0 is the newest).
std::string RecordKeyName(int index);

// The root-key value of `root` as the journal writes it: signed decimal.
std::string RootText(HKEY root);

// While UndoEnabled is true: pushes the older records down (keeping at
// most 20), writes record "Undo#0" with the code's values taken from
// `locations`, and for the codes that keep old data moves the temporary
// undo key into the record as "OldValue". Registry statuses are ignored;
// raises 60002 only when old data was expected and the temporary undo key
// does not exist. Raises 9 when `locations` lacks a slot the code reads.
void RecordUndo(UndoActionCode code, const LocationTable& locations);

// While UndoEnabled is true: makes sure the journal can take a record
// before a recorded operation changes anything. The product key, the
// journal key and the temporary undo key (or, for one not there yet, the
// nearest existing key above it) must open for writing; the first that
// does not raises its status (60005 for a read-only key). Writes nothing.
void RequireWritableJournal();

// Moves every record of the open `journal` key one place: older on a push
// (the 21st newest is deleted), newer on a pop (record 0 is deleted).
void ShiftJournal(HKEY journal, bool push);

}  // namespace orvane
