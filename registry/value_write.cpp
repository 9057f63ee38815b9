// WriteValue and the conversion of the control's forms into stored bytes.
//
// Stored bytes by registry type:
//   1, 2   := text 00
//   4      := b0 b1 b2 b3                 (32-bit signed, little-endian)
//   7      := entry (00 entry)* 00 00     ("|" in the text becomes 00)
//   other  := one byte per hexadecimal pair of the text
#include "registry/value_write.h"

#include "keyops/value_ops.h"
#include "registry/existence.h"
#include "registry/key_path.h"
#include "registry/registry_error.h"
#include "registry/scoped_key.h"
#include "undo/journal.h"
#include "undo/record.h"

namespace orvane {
namespace {

std::string DWordBytes(const Variant& value) {
  const uint32_t number = static_cast<uint32_t>(ToLong(value));
  std::string bytes(4, '\0');
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>((number >> (8 * i)) & 0xFF);
  return bytes;
}

std::string MultiStringBytes(std::string text) {
  for (char& c : text) {
    if (c == '|') c = '\0';
  }
  while (text.size() < 2 || text[text.size() - 1] != '\0' || text[text.size() - 2] != '\0') text.push_back('\0');
  return text;
}

std::string HexBytes(const std::string& text) {
  if (!IsHexString(text)) RaiseRegistryErrorCode(kCodeParameterIncorrect);
  std::string bytes;
  bytes.reserve(text.size() / 2);
  for (size_t i = 0; i < text.size(); i += 2) {
    std::string pair = text.substr(i, 2);
    bytes.push_back(static_cast<char>(HexPairToByte(pair)));
  }
  return bytes;
}

// The topmost key a write to `path` would create; `path` itself when none.
std::string TopmostCreated(HKEY root, const std::string& path) {
  std::string created = TrimKeyPath(FirstMissingKey(root, path));
  return created.empty() ? path : created;
}

// Parks the value about to be replaced in the temporary undo key and says
// whether there was one. A default value holding only the empty string is
// parked too, so that undo puts it back rather than deleting it.
bool ParkReplacedValue(HKEY root, const std::string& path, const std::string& name) {
  const bool exists = KeyOrValueExists(root, path, name, kVerifyValueName) || ValueStored(root, path, name);
  if (exists) ParkValue(root, path, name);
  return exists;
}

UndoActionCode WriteAction(DWORD disposition, bool replaced) {
  if (disposition == REG_CREATED_NEW_KEY) return UndoActionCode::ValueSetKeyCreated;
  return replaced ? UndoActionCode::ValueSetReplaced : UndoActionCode::ValueSetCreated;
}

LONG OpenForWrite(ScopedKey& key, HKEY root, const std::string& path, uint8_t mode, DWORD& disposition) {
  if (mode == kOpenAndCreate) return key.Create(root, path, &disposition);
  if (mode == kOpenOnly) return key.Open(root, path);
  return ERROR_SUCCESS;
}

}  // namespace

std::string ValueBytes(const Variant& value, int32_t type) {
  switch (type) {
    case REG_SZ:
    case REG_EXPAND_SZ:
      return ToString(value) + '\0';
    case REG_DWORD:
      return DWordBytes(value);
    case REG_MULTI_SZ:
      return MultiStringBytes(ToString(value));
    default:
      return HexBytes(ToString(value));
  }
}

void WriteValue(HKEY root, const std::string& path, const std::string& name, const Variant& value,
                int32_t& type, uint8_t mode, bool record) {
  LocationTable locations;
  if (record) {
    RequireWritableJournal();
    ClearTempUndo();
    locations = {{RootText(root), TopmostCreated(root, path), name}};
  }
  ScopedKey key;
  DWORD disposition = REG_OPENED_EXISTING_KEY;
  RaiseRegistryError(OpenForWrite(key, root, path, mode, disposition));
  const bool replaced = record && ParkReplacedValue(root, path, name);
  if (name.empty()) type = REG_SZ;
  if (!key.is_open()) return;
  const std::string bytes = ValueBytes(value, type);
  RaiseRegistryError(RegSetValueExA(key.get(), name.c_str(), 0, static_cast<DWORD>(type),
                                    reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size())));
  key.Close();
  if (record) RecordUndo(WriteAction(disposition, replaced), locations);
}

}  // namespace orvane
