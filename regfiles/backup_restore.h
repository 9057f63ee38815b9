// The whole-registry backup: one file, "Registry.orv" in the Windows
// directory, written by an export with the comment "Orvane Backup", ending
// with a marker line, and kept read-only, hidden and system (attributes 7)
// and private to its owner (mode 0400). Stateless.
#pragma once

#include <string>

namespace orvane {

// The backup file: the Windows directory + "\Registry.orv".
std::string BackupFilePath();

// Exports the whole registry, with the end marker as its last line, into a
// new file that replaces the backup file only when complete, with
// attributes 7 and mode 0400 already set; a failed export leaves an earlier
// backup exactly as it was. Raises what ExportRegFile raises.
void BackupRegistry();

// Starts the editor replacing the whole registry with the backup file and
// returns without waiting; the file is not changed (its attributes stay).
// Raises 60120 when there is no backup file (nothing is started) and 60110
// when the editor cannot be started. The editor refuses a backup without
// its end marker.
void RestoreRegistry();

}  // namespace orvane
