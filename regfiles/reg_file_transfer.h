// Export and import of registration files through the external registry
// editor (REGEDIT.EXE, this system's `regedit`): the command lines, the wait
// for an export and its header. Stateless; blocks the calling thread while
// an export runs.
#pragma once

#include <string>

namespace orvane {

// The comment that asks for no header: the file stays as the editor wrote it.
inline constexpr const char* kNoHeaderComment = "~";

// Exports `key` (a global key path, or empty for the whole registry) to
// the file RegFilePath(`path`) (wrapping quotes removed, then ".reg" added
// when it has no 3-letter extension) and inserts the
// header of `comment`. Waits, polling once a second, until the file is
// there as an ordinary file (not hidden, not system) and the editor has
// ended. Raises 60111 when the editor cannot be started, and also when it
// ends without having produced the file (a missing key or folder, ...);
// the runtime's file error when the header cannot be inserted.
void ExportRegFile(const std::string& path, const std::string& key, const std::string& comment);

// Starts the editor merging `path` (".reg" added as for an export) into the
// registry and returns without waiting. Raises 60110 when the editor cannot
// be started; a missing or unreadable file is the editor's matter.
void ImportRegFile(const std::string& path);

// Whether `path` names an ordinary file: it exists, is no folder, and is
// neither hidden nor system.
bool IsOrdinaryFile(const std::string& path);

}  // namespace orvane
