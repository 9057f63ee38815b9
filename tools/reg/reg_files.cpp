// reg export and reg import, through the registry editor's REGEDIT4 writer
// and reader. Export writes the key and its subtree; a file that exists is
// replaced after a Yes, or at once with /y, and only when it is a plain
// file (never a link, folder or device). Import merges a file into the
// registry in one transaction; the reader's messages name their lines.
// The file name "-" is standard output for export (the file alone, without
// the success line) and standard input for import.
#include <sys/stat.h>

#include "store/store_extensions.h"
#include "tools/reg/reg_key_name.h"
#include "tools/reg/reg_messages.h"
#include "tools/reg/reg_store.h"
#include "tools/reg/reg_verbs.h"
#include "tools/regedit/file_io.h"
#include "tools/regedit/key_progress.h"
#include "tools/regedit/reg_export.h"
#include "tools/regedit/reg_import.h"
#include "tools/regedit/reg_parser.h"

namespace orvane::reg {
namespace {

enum class Target { kAbsent, kPlainFile, kOther };

Target Inspect(const std::string& path) {
  struct stat info;
  if (lstat(path.c_str(), &info) != 0) return Target::kAbsent;
  return S_ISREG(info.st_mode) ? Target::kPlainFile : Target::kOther;
}

void PrintFileMessages(Console& console, const std::string& path, const std::vector<regedit::RegMessage>& messages) {
  for (const regedit::RegMessage& message : messages) {
    console.err << path << ": ";
    if (message.line > 0) console.err << "line " << message.line << ": ";
    console.err << message.text << '\n';
  }
}

}  // namespace

int Export(Console& console, const Options& options) {
  const std::optional<KeyName> key = ParseKeyName(options.positional[0]);
  const std::string& path = options.positional[1];
  if (!key) return Fail(console, Message::kInvalidKey);
  const Target target = path == "-" ? Target::kAbsent : Inspect(path);
  if (target == Target::kOther) return Fail(console, Message::kFileError);

  platform::RegistryMethodScope scope;
  regedit::KeyHandle handle;
  if (const LONG status = OpenKey(*key, KEY_READ, &handle)) return FailStatus(console, status);
  if (target == Target::kPlainFile && !options.overwrite_file &&
      !Confirm(console, "File " + path + " already exists. Overwrite (Yes/No)?")) {
    console.out << MessageText(Message::kCancelled) << '\n';
    return kExitSuccess;
  }
  std::string text, error;
  LONG status = ERROR_SUCCESS;
  {
    regedit::KeyProgress progress("Exporting");
    status = regedit::ExportRegistry(key->Full(), &text, &error);
  }
  if (status != ERROR_SUCCESS) {
    console.err << error << '\n';  // names the key when one cannot be written
    return Fail(console, Message::kRegistryError);
  }
  if (path == "-") {
    // The file alone, so that it can be piped on.
    console.out << text;
    return kExitSuccess;
  }
  if (!regedit::WriteWholeFile(path, text, &error)) {
    console.err << error << '\n';
    return Fail(console, Message::kFileError);
  }
  return Succeed(console);
}

int Import(Console& console, const Options& options) {
  const std::string& path = options.positional[0];
  std::string bytes, error;
  if (!regedit::ReadWholeFile(path, &bytes, &error)) return Fail(console, Message::kFileError);
  std::vector<regedit::RegMessage> messages;
  regedit::RegFile file;
  int failures = 0;
  {
    platform::RegistryMethodScope scope;
    regedit::KeyProgress progress("Importing");
    regedit::RegMerger merger(&messages);
    file = regedit::ParseRegFile(bytes, &merger);
    failures = merger.failures();
  }
  messages.insert(messages.begin(), file.messages.begin(), file.messages.end());
  PrintFileMessages(console, path, messages);
  if (failures != 0 || file.HasSkippedLines()) return Fail(console, Message::kRegistryError);
  return Succeed(console);
}

}  // namespace orvane::reg
