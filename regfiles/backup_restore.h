// The whole-registry backup: one file, "Registry.orv" in the Windows
// directory, written by an export with the comment "Orvane Backup" and kept
// read-only, hidden and system (attributes 7) between calls. Stateless.
#pragma once

#include <string>

namespace orvane {

// The backup file: the Windows directory + "\Registry.orv".
std::string BackupFilePath();

// Exports the whole registry over the backup file (an earlier backup's
// attributes are cleared first so that it is replaced) and sets its
// attributes to 7. Raises what ExportRegFile raises, and the runtime's file
// error when the attributes cannot be set.
void BackupRegistry();

// Starts the editor replacing the whole registry with the backup file and
// returns without waiting; the file keeps attributes 7. Raises 60120 when
// there is no backup file (nothing is started) and 60110 when the editor
// cannot be started.
void RestoreRegistry();

}  // namespace orvane
