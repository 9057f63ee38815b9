// The control's one message table and the routine that raises from it.
#include "registry/registry_error.h"

#include <array>
#include <cassert>
#include <string_view>

#include "store/store_extensions.h"

#ifdef _WIN32
#include "platform/module_folder.h"
#endif

#ifndef ORVANE_HELP_FILE
#define ORVANE_HELP_FILE "Orvanex.hlp"
#endif

namespace orvane {
namespace {

struct MessageEntry {
  int32_t code;
  std::string_view message;
};

// Every code with a fixed message. The texts are the control's published
// messages, letter for letter: spelling and missing full stops included;
// 112 (a full disk) and 170 (a store kept locked) come from the Linux store;
// 102 (an undo record whose saved data is gone) is this component's own.
constexpr std::array<MessageEntry, 31> kMessages{{
    {1, "The configuration registry database is corrupt."},
    {2, "The configuration registry key is invalid."},
    {3, "The configuration registry key could not be opened."},
    {4, "The configuration registry key could not be read."},
    {5, "The configuration registry key could not be written."},
    {6, "Not enough storage is available to complete this operation."},
    {7, "The parameter is incorrect."},
    {8, "Access is denied."},
    {9, "The configuration registry key does not exist."},
    {10, "The configuration registry key is too long."},
    {87, "The parameter is incorrect."},
    {100, "No enough actions to undo."},
    {112, "There is not enough space on the disk."},
    {101, "Undo method is diabled because the UndoEnabled property is false."},
    {102, "The newest undo record was removed: the data needed to undo it is gone."},
    {110, "The registry file can't be imported because MS Quorvel can't be find."},
    {111, "The registry file can't be exported because MS Quorvel can't be find."},
    {120, "The registry can't be restored because the backup file doesn't exist."},
    {130, "Can't move a key into itself."},
    {131, "Can't copy a key into itself."},
    {132, "The source key and the destination key are the same."},
    {133, "The configuration registry value does not exist."},
    {134, "The destination key already exists"},
    {139, "The destination value name already exists"},
    {140, "Reserved parameter must be zero"},
    {150, "Can't replace a string with another that contains the first."},
    {170, "The registry is busy: another process has kept it locked for longer than a registry call waits."},
    {259, "No more data is available."},
    {998, "HKEY_DYN_DATA root key is not available under Windows NT"},
    {999, "I'm sorry but this property (or method) is not still available."},
    {1114, "Connection is denied."},
}};

}  // namespace

std::string RegistryErrorMessage(int32_t code) {
  for (const MessageEntry& entry : kMessages) {
    if (entry.code == code) return std::string(entry.message);
  }
  return "A generic error occurs using Orvane (error #" + std::to_string(code) + ").";
}

const std::string& RegistryHelpFile() {
#ifdef _WIN32
  // Installed beside the component, as its type library's HELPDIR says.
  static const std::string help_file =
      platform::ModuleFolder(reinterpret_cast<const void*>(&RegistryHelpFile)) + "Orvanex.hlp";
#else
  static const std::string help_file = ORVANE_HELP_FILE;
#endif
  return help_file;
}

ErrorRecord MakeRegistryError(int32_t code) {
  assert(code != 0);
  ErrorRecord record;
  record.description = RegistryErrorMessage(code);
  // A failed commit loses the changes of calls that had already returned:
  // the error says how many, as nothing else tells the caller.
  const auto lost = platform::RegistryCallsLostWithLastFailure();
  if (lost > 0) {
    record.description += " The changes of " + std::to_string(lost) + " earlier registry call" +
                          (lost == 1 ? "" : "s") + " were lost.";
  }
  const int32_t numbered = code == 87 ? 7 : code;
  // Plain int64 arithmetic so that codes near the limits cannot overflow;
  // the number is then taken modulo 2^32 as the host's 32-bit field holds it.
  record.number = static_cast<int32_t>(static_cast<uint32_t>(int64_t{numbered} + kRegistryErrorBase));
  record.source = kRegistryErrorSource;
  record.help_file = RegistryHelpFile();
  record.help_context = kRegistryErrorHelpContext;
  return record;
}

bool RaiseRegistryError(int32_t code) {
  if (code == 0) return false;
  throw Error(MakeRegistryError(code));
}

void RaiseRegistryErrorCode(int32_t code) {
  assert(code != 0);
  RaiseRegistryError(code);
  __builtin_unreachable();
}

}  // namespace orvane
