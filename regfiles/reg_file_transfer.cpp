// The external editor gets its arguments as a list (reg_file_paths.h):
//   export: REGEDIT.EXE /S /E -- <file> [<key>]   (no key: whole registry);
//           the file is the new temporary file beside the target, never
//           the target itself
//   import: REGEDIT.EXE /S -- <file>
#include "regfiles/reg_file_transfer.h"

#include <cstdint>
#include <memory>

#include "orvane/runtime_errors.h"
#include "platform/process_start.h"
#include "platform/win32_system.h"
#include "regfiles/editor_process.h"
#include "regfiles/export_wait.h"
#include "regfiles/reg_file_header.h"
#include "regfiles/reg_file_paths.h"
#include "registry/registry_error.h"
#include "tools/regedit/exit_status.h"

namespace orvane {
namespace {

// Prepares the replacement of `file` and the temporary file the editor
// writes. A target that may not be written (a read-only file included,
// unless `read_only` lets it be replaced) is the runtime's file error; a
// folder where no file can be created, an editor failure (60112 when the
// disk is full).
std::unique_ptr<platform::FileReplacement> PrepareTarget(const std::string& file, platform::ReadOnlyFile read_only,
                                                         std::string* staged) {
  std::unique_ptr<platform::FileReplacement> replacement;
  if (const int status = platform::FileReplacement::Begin(file, &replacement, read_only); status != 0) {
    RaiseFileError(status);
  }
  if (const int status = replacement->Stage(staged); status != 0) {
    if (regedit::IsNoRoomError(status)) RaiseRegistryErrorCode(ERROR_DISK_FULL);
    RaiseRegistryErrorCode(kCodeExportEditorMissing);
  }
  return replacement;
}

// What the editor wrote into `staged`, once it has ended; 60112 when it
// found no room for the file, 60111 when it hung, or left no ordinary
// non-empty file.
std::string EditorOutput(uint32_t pid, const platform::FileReplacement& replacement, const std::string& staged) {
  std::string bytes;
  int exit_code = -1;
  const bool ended = WaitForEditor(pid, staged, &exit_code);
  if (ended && exit_code == regedit::kExitDiskFull) RaiseRegistryErrorCode(ERROR_DISK_FULL);
  if (!ended || !IsOrdinaryFile(staged) || replacement.ReadStaged(&bytes) != 0 || bytes.empty()) {
    RaiseRegistryErrorCode(kCodeExportEditorMissing);
  }
  return bytes;
}

}  // namespace

bool IsOrdinaryFile(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  return (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) == 0;
}

void ExportRegFile(const std::string& path, const std::string& key, const std::string& comment,
                   const ExportFinish& finish) {
  const std::string file = RegFilePath(path);
  ReapEndedEditors();
  std::string staged;
  const std::unique_ptr<platform::FileReplacement> replacement = PrepareTarget(file, finish.read_only, &staged);
  const uint32_t pid = platform::StartProgram(EditorExportArguments(staged, key));
  if (pid == 0) RaiseRegistryErrorCode(kCodeExportEditorMissing);
  std::string bytes = EditorOutput(pid, *replacement, staged);
  if (comment != kNoHeaderComment) bytes = WithHeader(bytes, comment);
  bytes += finish.trailer;
  if (const int status = replacement->Commit(bytes, finish.prepare); status != 0) {
    if (regedit::IsNoRoomError(status)) RaiseRegistryErrorCode(ERROR_DISK_FULL);
    RaiseFileError(status);
  }
}

void ImportRegFile(const std::string& path) {
  if (StartUnwaitedEditor(EditorImportArguments(RegFilePath(path))) == 0) {
    RaiseRegistryErrorCode(kCodeImportEditorMissing);
  }
}

}  // namespace orvane
