// Whose journal is whose: the identifier of this process's journal for the
// store in use, and the removal of journals whose process has ended.
// The identifier is this process's slot, the lowest free one from 1, held
// until the process ends however it ends, never a process id (ids are
// reused). Windows: a slot is held by a handle to a named kernel object
// ("Global\Orvane-UndoSlot-<n>"). Linux: by a lock in the store's liveness
// file (platform/process_liveness.h).
#pragma once

#include <string>

namespace orvane {

// The identifier in decimal, taken on first use for the store in use and
// in this process; `*taken` (when given) tells whether this call took it.
std::string OwnJournalIdentifier(bool* taken = nullptr);

// Deletes, in one transaction, each "Undo-<n>" and "TempUndo-<n>" key of
// the product key whose slot n no live process holds, while holding that
// slot so that no process can take it meanwhile; `own` (this process's
// identifier, just taken) is deleted too: what it holds was left by an
// ended process. Never raises.
void RemoveEndedJournals(const std::string& own);

}  // namespace orvane
