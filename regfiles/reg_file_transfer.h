// Export and import of registration files through the external registry
// editor (REGEDIT.EXE, this system's `regedit`): the command lines, the wait
// for an export and its header. Stateless; blocks the calling thread while
// an export runs.
#pragma once

#include <string>

#include "platform/file_replace.h"

namespace orvane {

// The comment that asks for no header: the file stays as the editor wrote it.
inline constexpr const char* kNoHeaderComment = "~";

// What an export adds when it finishes: text after the editor's last line,
// and a step run on the new file before it replaces the old one.
struct ExportFinish {
  std::string trailer;
  platform::PrepareNewFile prepare;
  // A read-only target is refused (70) unless the file is the caller's own
  // read-only file (the backup).
  platform::ReadOnlyFile read_only = platform::ReadOnlyFile::kRefuse;
};

// Exports `key` (a global key path, or empty for the whole registry) to
// the file RegFilePath(`path`) (wrapping quotes removed, then ".reg" added
// when it has no 3-letter extension) with the header of `comment`. The
// editor writes a new temporary file beside the target
// (platform/file_replace.h), which gets the header (and `finish`) and only
// then replaces the target, so the old file stays exactly as it was unless
// the export succeeds. Waits until the editor has ended (see WaitForEditor
// for an editor that hangs). Raises 60112 when the file met a full disk
// (the editor says so by its exit status, or this process met it);
// 60111 when the editor cannot be started, hangs, or ends without having
// written an ordinary (not hidden, not system) non-empty file; the
// runtime's file error when the target is a link that may not be followed
// or cannot be written.
void ExportRegFile(const std::string& path, const std::string& key, const std::string& comment,
                   const ExportFinish& finish = {});

// Starts the editor merging `path` (".reg" added as for an export) into the
// registry and returns without waiting. Raises 60110 when the editor cannot
// be started; a missing or unreadable file is the editor's matter.
void ImportRegFile(const std::string& path);

// Whether `path` names an ordinary file: it exists, is no folder, and is
// neither hidden nor system.
bool IsOrdinaryFile(const std::string& path);

}  // namespace orvane
