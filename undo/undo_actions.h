// Undo execution: reversing the newest journal records one by one with the
// value and key transfer routines (recording nothing), and reading the
// kind of the newest record. Works on the process-wide journal, so it sees
// the records of every control of the process. One thread.
#pragma once

#include <cstdint>

namespace orvane {

// The action code of record 0, or 0 when there is no record. Reads only.
uint8_t LastAction();

// Reverses the `steps` newest records, newest first, removing each once it
// is reversed; a negative count does nothing. Raises 60101 when undo is
// disabled and 60100 when fewer records exist (nothing reversed then). A
// reversal that fails raises its error (60133 a value to bring back is
// missing, 60002 a source key is, 60134 a key to bring back is in the
// way, 60005 a key to change is read-only): the records reversed before it
// stay reversed and removed; everything the failing step changed is rolled
// back and its record stays as record 0. A record naming no key (empty
// path) never deletes anything. A record whose own data is gone (the
// record key, its root, or the old data it parked, removed from the
// journal by hand) is removed without changing anything else and raises
// 60102; the next call goes on with the record after it.
void UndoActions(int16_t steps);

// The Undo method: 0 steps clears the journal (whatever UndoEnabled says);
// any other count is UndoActions.
void Undo(int16_t steps);

}  // namespace orvane
