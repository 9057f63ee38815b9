// Backup and restore. Restore hands the editor the backup path as one
// argument: REGEDIT.EXE /S /C -- <path>. A backup is an export of the whole
// registry whose last line is the end marker (tools/regedit/backup_marker.h);
// it takes its attributes and mode before it replaces the previous backup,
// so no moment shows a backup that is incomplete or readable by others.
#include "regfiles/backup_restore.h"

#include <cstdint>

#include "orvane/runtime_errors.h"
#include "platform/file_attributes.h"
#include "platform/win32_system.h"
#include "regfiles/editor_process.h"
#include "regfiles/reg_file_paths.h"
#include "regfiles/reg_file_transfer.h"
#include "regfiles/system_query.h"
#include "registry/registry_error.h"
#include "tools/regedit/backup_marker.h"

namespace orvane {
namespace {

constexpr DWORD kBackupAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
// The store's privacy (its file is 0600), read-only: the owner reads it.
constexpr unsigned kBackupMode = 0400;

bool IsMissing(DWORD result) { return result == ERROR_FILE_NOT_FOUND || result == ERROR_PATH_NOT_FOUND; }

ExportFinish BackupFinish() {
  ExportFinish finish;
  finish.trailer = std::string(kBackupEndLine) + "\r\n";
  finish.prepare = [](int descriptor) {
    return platform::WriteDescriptorAttributes(descriptor, kBackupAttributes, kBackupMode);
  };
  // The previous backup is read-only by design: this is its replacement.
  finish.read_only = platform::ReadOnlyFile::kReplace;
  return finish;
}

}  // namespace

std::string BackupFilePath() { return QuerySystemInfo(kSysInfoWinDir) + "\\Registry.orv"; }

void BackupRegistry() { ExportRegFile(BackupFilePath(), "", kBackupComment, BackupFinish()); }

void RestoreRegistry() {
  const std::string file = HostFilePath(BackupFilePath());
  if (GetFileAttributesA(file.c_str()) == INVALID_FILE_ATTRIBUTES && IsMissing(GetLastError())) {
    RaiseRegistryErrorCode(kCodeBackupMissing);
  }
  if (StartUnwaitedEditor(EditorRestoreArguments(file)) == 0) RaiseRegistryErrorCode(kCodeImportEditorMissing);
}

}  // namespace orvane
