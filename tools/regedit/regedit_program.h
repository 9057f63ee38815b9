// The regedit program's actions: import (merge) files, replace the whole
// registry with a file, export a key or the whole registry, delete a key.
// Messages go to standard error; nothing is ever shown as a dialog.
// One action per process at a time; not for concurrent use.
#pragma once

#include <string>
#include <vector>

#include "tools/regedit/exit_status.h"

namespace orvane::regedit {

// Runs the command line `args` (the words after the program name). Returns
// the exit status: 0 when everything was done (or the usage or version was
// printed), 1 otherwise (with messages), 2 when the command line cannot be
// read (with one line naming the problem), 3 when an export could not be
// written for lack of room.
// A failed replacement ends the process at once (see ReplaceRegistry).
int RunRegedit(const std::vector<std::string>& args);

// Merges the file `path` into the registry. Lines that cannot be read are
// skipped with a message; returns 1 when any was, or any change failed.
int ImportFile(const std::string& path);

// Replaces the whole registry with the file `path`, in one transaction.
// A file that cannot be read, is not complete (file_completeness.h: cut
// last line, a backup without its end marker) or has any unreadable line
// changes nothing.
// When a registry change fails part way, the process ends with status 1
// before the transaction commits, so the store keeps its previous state.
int ReplaceRegistry(const std::string& path);

// Writes the export of `key` (empty: the whole registry) to `path`; no file
// is created when the key cannot be exported. Returns kExitDiskFull when
// the file (or the store) met a full disk.
int ExportToFile(const std::string& path, const std::string& key);

// Deletes the key `key` (a full key path below a root) and its subtree.
int DeleteKey(const std::string& key);

}  // namespace orvane::regedit
