// The undo journal's names and its clearing. The journal lives in the
// registry under HKEY_LOCAL_MACHINE\SOFTWARE\Orvane, one per live process,
// shared by every control of that process. Its identifier is the slot the
// process holds (undo/journal_owner.h), so no two running processes share
// a journal, and a journal whose slot nobody holds belongs to a process
// that has ended.
#pragma once

#include <string>

#include "platform/win32_registry.h"

namespace orvane {

// The product key, parent of the journal and temporary undo keys.
inline constexpr const char* kProductKeyPath = "SOFTWARE\\Orvane";

// Where the control's own bookkeeping lives. Locations are compared as the
// registry names them: through root views, letter case ignored, extra
// backslashes ignored. Never raise.
// `path` under `root` is the product key itself.
bool IsProductKey(HKEY root, const std::string& path);
// `path` under `root` is the product key or lies inside it.
bool IsInsideProductKey(HKEY root, const std::string& path);
// `path` under `root` is, or lies inside, a journal or temporary undo key
// of any process ("Undo-<n>", "TempUndo-<n>" below the product key).
bool IsInsideJournalKey(HKEY root, const std::string& path);

// The journal identifier in decimal.
std::string JournalIdentifier();
// "SOFTWARE\Orvane\Undo-" + identifier: the key that holds the records.
std::string JournalKeyPath();
// "SOFTWARE\Orvane\TempUndo-" + identifier: where old data is parked.
std::string TempUndoKeyPath();

// Takes this process's identifier for the store in use when it has none
// yet (first use, another store selected, a forked child), and then
// removes, in one transaction, every journal and temporary undo key of the
// product key whose process no longer runs, its own slot's leftovers
// included. Never clears the journal of a running process. The accessors
// above do the same on first use. Never raises.
void InitJournalNames();

// Deletes the journal key with all its records and the temporary undo key,
// in one transaction; the product key stays. Safe when nothing is there.
// Never raises.
void ClearJournal();

// Deletes the temporary undo key with its subtree. Never raises.
void ClearTempUndo();

}  // namespace orvane
