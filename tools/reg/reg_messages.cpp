#include "tools/reg/reg_messages.h"

#include <array>
#include <cctype>

#include "store/store_extensions.h"
#include "tools/regedit/key_progress.h"

namespace orvane::reg {
namespace {

struct Entry {
  Message message;
  std::string_view text;  // "%" stands for the argument
};

constexpr std::array<Entry, 15> kMessages = {{
    {Message::kSuccess, "The operation completed successfully."},
    {Message::kCancelled, "The operation was canceled by the user."},
    {Message::kInvalidKey, "ERROR: Invalid key name."},
    {Message::kNotFound, "ERROR: The system was unable to find the specified registry key or value."},
    {Message::kAccessDenied, "ERROR: Access is denied."},
    {Message::kRegistryError, "ERROR: Error accessing the registry."},
    {Message::kDiskFull, "ERROR: There is not enough space on the disk."},
    {Message::kFileError, "ERROR: Error opening the file. There may be a disk or file system error."},
    {Message::kInvalidType, "ERROR: Invalid type %."},
    {Message::kInvalidData, "ERROR: The data for the type % is not valid."},
    {Message::kCannotDeleteRoot, "ERROR: A root key cannot be deleted."},
    {Message::kSameKey, "ERROR: The source and destination keys are the same."},
    {Message::kBadHive, "ERROR: The configuration registry database is corrupt."},
    {Message::kFileInUse, "ERROR: The process cannot access the file because it is being used by another process."},
    {Message::kFileExists, "ERROR: Cannot create a file when that file already exists."},
}};

}  // namespace

std::string MessageText(Message message, std::string_view arg) {
  for (const Entry& entry : kMessages) {
    if (entry.message != message) continue;
    std::string text(entry.text);
    const size_t at = text.find('%');
    if (at != std::string::npos) text.replace(at, 1, arg);
    return text;
  }
  return {};
}

int Fail(Console& console, Message message, std::string_view arg) {
  regedit::KeyProgress::Erase();  // the error takes the progress line's place
  console.err << MessageText(message, arg) << '\n';
  return kExitFailure;
}

int FailStatus(Console& console, LONG status) {
  if (status == ERROR_FILE_NOT_FOUND) return Fail(console, Message::kNotFound);
  if (status == ERROR_ACCESS_DENIED) return Fail(console, Message::kAccessDenied);
  if (status == ERROR_DISK_FULL) return Fail(console, Message::kDiskFull);
  if (status == ERROR_BADDB) return Fail(console, Message::kBadHive);
  if (status == ERROR_SHARING_VIOLATION) return Fail(console, Message::kFileInUse);
  if (status == ERROR_ALREADY_EXISTS) return Fail(console, Message::kFileExists);
  return Fail(console, Message::kRegistryError);
}

int FailSyntax(Console& console, std::string_view verb) {
  std::string upper(verb);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  console.err << "ERROR: Invalid syntax.\nType \"orvane-reg " << upper << " /?\" for usage.\n";
  return kExitFailure;
}

int Succeed(Console& console) {
  // Success is said only once every change has reached the store.
  if (const LONG status = platform::CommitRegistryWritesForExit()) return FailStatus(console, status);
  console.out << MessageText(Message::kSuccess) << '\n';
  return kExitSuccess;
}

}  // namespace orvane::reg
