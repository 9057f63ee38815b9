#include "tools/regedit/regedit_program.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include "orvane/version.h"
#include "store/store_extensions.h"
#include "tools/regedit/command_line.h"
#include "tools/regedit/file_completeness.h"
#include "tools/regedit/file_io.h"
#include "tools/regedit/key_progress.h"
#include "tools/regedit/program_name.h"
#include "tools/regedit/reg_export.h"
#include "tools/regedit/reg_import.h"
#include "tools/regedit/reg_parser.h"
#include "tools/regedit/root_keys.h"
#include "tools/regedit/usage.h"

namespace orvane::regedit {
namespace {

void PrintError(const std::string& text) { std::fprintf(stderr, "%s: %s\n", kProgramName, text.c_str()); }

void PrintMessages(const std::string& path, const std::vector<RegMessage>& messages) {
  for (const RegMessage& message : messages) {
    const char* kind = message.skipped ? "" : "warning: ";
    if (message.line > 0) {
      std::fprintf(stderr, "%s: %s: line %d: %s%s\n", kProgramName, path.c_str(), message.line, kind,
                   message.text.c_str());
    } else {
      std::fprintf(stderr, "%s: %s: %s%s\n", kProgramName, path.c_str(), kind, message.text.c_str());
    }
  }
}

// Reads and parses `path`; false (with messages printed) when unreadable,
// or, for a replacement, cut short.
bool LoadFile(const std::string& path, RegFile* file) {
  std::string bytes, error;
  if (!ReadWholeFile(path, &bytes, &error)) {
    PrintError(error);
    return false;
  }
  if (const std::string reason = IncompleteFileReason(path, bytes); !reason.empty()) {
    PrintError("The registry was not replaced: '" + path + "' is not complete (" + reason + ").");
    return false;
  }
  *file = ParseRegFile(bytes);
  PrintMessages(path, file->messages);
  return file->header_ok;
}

// Reader and registry messages in line order (the sort is stable).
std::vector<RegMessage> InLineOrder(std::vector<RegMessage> reader, const std::vector<RegMessage>& registry) {
  reader.insert(reader.end(), registry.begin(), registry.end());
  std::stable_sort(reader.begin(), reader.end(),
                   [](const RegMessage& a, const RegMessage& b) { return a.line < b.line; });
  return reader;
}

}  // namespace

int ImportFile(const std::string& path) {
  std::string bytes, error;
  if (!ReadWholeFile(path, &bytes, &error)) {
    PrintError(error);
    return kExitFailure;
  }
  std::vector<RegMessage> messages;
  RegFile file;
  int failures = 0;
  {
    // Each change is applied as soon as it is read, within one transaction.
    platform::RegistryMethodScope scope;
    KeyProgress progress("Importing");
    RegMerger merger(&messages);
    file = ParseRegFile(bytes, &merger);
    failures = merger.failures();
  }
  const bool complete = failures == 0 && !file.HasSkippedLines();
  PrintMessages(path, InLineOrder(std::move(file.messages), messages));
  return complete ? kExitSuccess : kExitFailure;
}

int ReplaceRegistry(const std::string& path) {
  RegFile file;
  if (!LoadFile(path, &file)) return kExitFailure;
  if (file.HasSkippedLines()) {
    PrintError("The registry was not replaced: '" + path + "' has lines that cannot be read.");
    return kExitFailure;
  }
  std::vector<RegMessage> messages;
  platform::RegistryMethodScope scope;
  int failures = 0;
  {
    KeyProgress progress("Replacing");
    failures = ReplaceWithRegFile(file, &messages);
  }
  if (failures != 0) {
    PrintMessages(path, messages);
    PrintError("The registry was not replaced.");
    std::fflush(stderr);
    // Ending the process before the scope commits leaves the store as it
    // was: the database discards a transaction that never committed.
    _exit(kExitFailure);
  }
  return kExitSuccess;
}

int ExportToFile(const std::string& path, const std::string& key) {
  std::string text, error;
  LONG status = ERROR_SUCCESS;
  {
    KeyProgress progress("Exporting");
    status = ExportRegistry(key, &text, &error);
  }
  if (status != ERROR_SUCCESS) {
    PrintError(error);
    return status == ERROR_DISK_FULL ? kExitDiskFull : kExitFailure;
  }
  int cause = 0;
  if (!WriteWholeFile(path, text, &error, &cause)) {
    PrintError(error);
    return IsNoRoomError(cause) ? kExitDiskFull : kExitFailure;
  }
  return kExitSuccess;
}

int DeleteKey(const std::string& key) {
  const KeyPath path = SplitKeyPath(key);
  if (path.root == nullptr || path.path.empty()) {
    PrintError("Invalid system key [" + key + "]");
    return kExitFailure;
  }
  platform::RegistryMethodScope scope;
  const LONG status = DeleteKeyTree(path.root, path.path);
  if (status == ERROR_SUCCESS) return kExitSuccess;
  PrintError("Unable to delete the registry key '" + key + "' (status " + std::to_string(status) + ")");
  return kExitFailure;
}

int RunRegedit(const std::vector<std::string>& args) {
  Command command;
  std::string error;
  if (!ParseCommand(args, &command, &error)) {
    PrintError(error + " (see " + kProgramName + " --help)");
    return kExitUsage;
  }
  switch (command.action) {
    case Action::kUsage:
      std::fputs(UsageText().c_str(), stdout);
      return kExitSuccess;
    case Action::kVersion:
      std::printf("%s\n", kProductVersionLine);
      return kExitSuccess;
    case Action::kExport:
      return ExportToFile(command.args[0], command.args[1]);
    case Action::kDelete:
      return DeleteKey(command.args[0]);
    case Action::kReplace:
      return ReplaceRegistry(command.args[0]);
    case Action::kImport:
      break;
  }
  int status = kExitSuccess;
  for (const std::string& path : command.args) {
    if (ImportFile(path) != kExitSuccess) status = kExitFailure;
  }
  return status;
}

}  // namespace orvane::regedit
