// Whose journal is whose: the identifier of this process's journal for the
// store in use, and the removal of journals whose process has ended.
// Windows: the component's module handle, shared with every process that
// loads the component at the same address; nothing is ever removed.
// Linux: this process's slot in the store's liveness file.
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
