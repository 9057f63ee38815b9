// The control's numbered errors: one routine turns a code (a registry result
// or one of the control's own codes) into the error record raised to the
// host, with the message from the one message table. Stateless; any
// operation may call it.
#pragma once

#include <cstdint>
#include <string>

#include "orvane/error.h"

namespace orvane {

// The source every numbered error of the control carries.
inline constexpr const char* kRegistryErrorSource = "Orvane";
// The help context every numbered error of the control carries.
inline constexpr int32_t kRegistryErrorHelpContext = 1000;
// The error numbers are the code plus this base.
inline constexpr int32_t kRegistryErrorBase = 60000;

// The control's own codes (registry results 1 to 10 and 259 also arrive
// as plain results and raise the same way).
enum RegistryErrorCode : int32_t {
  kCodeParameterIncorrect = 7,
  kCodeKeyDoesNotExist = 9,
  kCodeKeyTooLong = 10,
  kCodeNoActionsToUndo = 100,
  kCodeUndoDisabled = 101,
  kCodeUndoRecordDropped = 102,
  kCodeImportEditorMissing = 110,
  kCodeExportEditorMissing = 111,
  kCodeBackupMissing = 120,
  kCodeMoveKeyIntoItself = 130,
  kCodeCopyKeyIntoItself = 131,
  kCodeSameSourceAndDestination = 132,
  kCodeValueDoesNotExist = 133,
  kCodeDestinationKeyExists = 134,
  kCodeDestinationValueExists = 139,
  kCodeReservedNotZero = 140,
  kCodeReplaceContainsFind = 150,
  kCodeDynDataOnNt = 998,
  kCodeNotAvailable = 999,
};

// The message of a code: the table's text, or the generic message that
// names the code in plain decimal for a code the table does not hold.
std::string RegistryErrorMessage(int32_t code);

// The full path of the control's help file, named by every raised error
// (on Windows: Orvanex.hlp beside the module that holds the component).
const std::string& RegistryHelpFile();

// The record raised for a non-zero code (87 becomes 7 before numbering).
ErrorRecord MakeRegistryError(int32_t code);

// Returns false when `code` is 0; otherwise raises the numbered error and
// does not return. Callers use it as the success test after a registry
// call and to report failures of their own.
bool RaiseRegistryError(int32_t code);

// RaiseRegistryError for a code known to be non-zero.
[[noreturn]] void RaiseRegistryErrorCode(int32_t code);

}  // namespace orvane
