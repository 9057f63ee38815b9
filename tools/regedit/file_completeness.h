// Whether a registration file that is to replace the whole registry is
// complete. A file cut short (by a kill, a full disk, a copy that stopped)
// would replace the registry with part of it, so `/C` refuses:
// - any file whose last line has no line end, or whose last line that is
//   not blank ends inside a value continued on the next line ("\");
// - a backup made by the control (its header holds "; Orvane Backup", or
//   the file is named Registry.orv) whose last line that is not blank is
//   not the end marker (tools/regedit/backup_marker.h).
// A value cut inside its quotes is a line that cannot be read, which `/C`
// refuses as well. Stateless.
#pragma once

#include <string>
#include <string_view>

namespace orvane::regedit {

// "" when the file `bytes` (read from `path`) is complete; else why not.
std::string IncompleteFileReason(const std::string& path, std::string_view bytes);

}  // namespace orvane::regedit
