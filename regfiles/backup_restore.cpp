// Backup and restore. Restore hands the editor the backup path as one
// argument: REGEDIT.EXE /S /C -- <path>.
#include "regfiles/backup_restore.h"

#include <cstdint>

#include "orvane/runtime_errors.h"
#include "platform/win32_system.h"
#include "regfiles/editor_process.h"
#include "regfiles/reg_file_paths.h"
#include "regfiles/reg_file_transfer.h"
#include "regfiles/system_query.h"
#include "registry/registry_error.h"

namespace orvane {
namespace {

constexpr DWORD kBackupAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
constexpr const char* kBackupComment = "Orvane Backup";

// The runtime's file error for a Windows result of the file functions.
[[noreturn]] void RaiseFileResult(DWORD result) {
  switch (result) {
    case ERROR_FILE_NOT_FOUND: RaiseRuntimeError(kErrFileNotFound);
    case ERROR_PATH_NOT_FOUND: RaiseRuntimeError(kErrPathNotFound);
    default: RaiseRuntimeError(kErrPathFileAccess);
  }
}

bool IsMissing(DWORD result) { return result == ERROR_FILE_NOT_FOUND || result == ERROR_PATH_NOT_FOUND; }

}  // namespace

std::string BackupFilePath() { return QuerySystemInfo(kSysInfoWinDir) + "\\Registry.orv"; }

void BackupRegistry() {
  const std::string path = BackupFilePath();
  const std::string file = HostFilePath(path);
  SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_ARCHIVE);  // a missing file is no failure here
  ExportRegFile(path, "", kBackupComment);
  if (!SetFileAttributesA(file.c_str(), kBackupAttributes)) RaiseFileResult(GetLastError());
}

void RestoreRegistry() {
  const std::string file = HostFilePath(BackupFilePath());
  if (!SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_ARCHIVE) && IsMissing(GetLastError())) {
    RaiseRegistryErrorCode(kCodeBackupMissing);
  }
  const uint32_t pid = StartUnwaitedEditor(EditorRestoreArguments(file));
  SetFileAttributesA(file.c_str(), kBackupAttributes);
  if (pid == 0) RaiseRegistryErrorCode(kCodeImportEditorMissing);
}

}  // namespace orvane
