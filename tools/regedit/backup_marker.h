// How a whole-registry backup made by the control is recognised and known to
// be complete: its header holds the comment line kBackupCommentLine, and its
// last line is kBackupEndLine (each ending in CR LF). Shared by the control,
// which writes backups, and the regedit program, which restores them.
#pragma once

namespace orvane {

// The comment the control gives a backup's header, and its line there.
inline constexpr const char* kBackupComment = "Orvane Backup";
inline constexpr const char* kBackupCommentLine = "; Orvane Backup";

// The last line of a complete backup.
inline constexpr const char* kBackupEndLine = "; End of the Orvane registry backup";

}  // namespace orvane
