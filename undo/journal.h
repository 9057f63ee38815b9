// The undo journal's names and its clearing. The journal lives in the
// registry under HKEY_LOCAL_MACHINE\SOFTWARE\Orvane, one per journal
// identifier; the identifier and both key paths are process-wide, fixed
// for the life of the process and shared by every control of it.
#pragma once

#include <string>

namespace orvane {

// The product key, parent of the journal and temporary undo keys.
inline constexpr const char* kProductKeyPath = "SOFTWARE\\Orvane";

// The journal identifier in decimal, the same for every control of the
// process and every process (see journal.cpp for what that implies).
const std::string& JournalIdentifier();
// "SOFTWARE\Orvane\Undo-" + identifier: the key that holds the records.
const std::string& JournalKeyPath();
// "SOFTWARE\Orvane\TempUndo-" + identifier: where old data is parked.
const std::string& TempUndoKeyPath();

// Computes the identifier and both paths if they are not computed yet.
// Every accessor above computes them on first use too, so the journal is
// never addressed through empty names.
void InitJournalNames();

// Deletes the journal key with all its records and the temporary undo key;
// the product key stays. Safe when nothing is there. Never raises.
void ClearJournal();

// Deletes the temporary undo key with its subtree. Never raises.
void ClearTempUndo();

}  // namespace orvane
