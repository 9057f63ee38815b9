// The external editor gets its arguments as a list (reg_file_paths.h):
//   export: REGEDIT.EXE /S /E -- <file> [<key>]   (no key: whole registry)
//   import: REGEDIT.EXE /S -- <file>
#include "regfiles/reg_file_transfer.h"

#include <cstdint>

#include "platform/process_start.h"
#include "platform/win32_system.h"
#include "regfiles/editor_process.h"
#include "regfiles/reg_file_header.h"
#include "regfiles/reg_file_paths.h"
#include "registry/registry_error.h"

namespace orvane {
namespace {

constexpr DWORD kPollMilliseconds = 1000;

// Polls until the file is there and the editor has ended; the look comes
// after each sleep, so a file that existed before waits one poll at least.
void WaitForExport(uint32_t pid, const std::string& file) {
  for (;;) {
    Sleep(kPollMilliseconds);
    const bool ended = EditorHasEnded(pid);
    const bool seen = IsOrdinaryFile(file);
    if (ended && seen) return;
    if (ended) RaiseRegistryErrorCode(kCodeExportEditorMissing);
  }
}

}  // namespace

bool IsOrdinaryFile(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  return (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) == 0;
}

void ExportRegFile(const std::string& path, const std::string& key, const std::string& comment) {
  const std::string file = RegFilePath(path);
  ReapEndedEditors();
  const uint32_t pid = platform::StartProgram(EditorExportArguments(file, key));
  if (pid == 0) RaiseRegistryErrorCode(kCodeExportEditorMissing);
  WaitForExport(pid, file);
  if (comment == kNoHeaderComment) return;
  InsertHeader(file, comment);
}

void ImportRegFile(const std::string& path) {
  if (StartUnwaitedEditor(EditorImportArguments(RegFilePath(path))) == 0) {
    RaiseRegistryErrorCode(kCodeImportEditorMissing);
  }
}

}  // namespace orvane
