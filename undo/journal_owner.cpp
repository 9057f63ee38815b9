// Journal identifiers and the removal of ended processes' journals.
#include "undo/journal_owner.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "store/store_extensions.h"
#include "platform/win32_registry.h"
#include "keyops/subtree.h"
#include "registry/scoped_key.h"
#include "undo/journal.h"

#ifndef _WIN32
#include <unistd.h>

#include <filesystem>

#include "platform/process_liveness.h"
#endif

namespace orvane {

namespace {

// Longer than any journal's name.
constexpr DWORD kNameBuffer = 256;

// The names of the product key's sub-keys.
std::vector<std::string> ProductChildren() {
  std::vector<std::string> names;
  ScopedKey product;
  if (product.Open(HKEY_LOCAL_MACHINE, kProductKeyPath) != ERROR_SUCCESS) return names;
  std::string name(kNameBuffer, '\0');
  for (DWORD index = 0;; ++index) {
    DWORD length = kNameBuffer;
    const LONG status = RegEnumKeyExA(product.get(), index, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_MORE_DATA) continue;  // too long to be a journal's name
    if (status != ERROR_SUCCESS) break;
    names.emplace_back(name.data(), length);
  }
  return names;
}

// n of "Undo-<n>" or "TempUndo-<n>", written as decimal without leading
// zeros; nothing for any other name.
std::optional<int64_t> SlotOf(std::string_view name) {
  for (std::string_view prefix : {"Undo-", "TempUndo-"}) {
    if (name.substr(0, prefix.size()) != prefix) continue;
    const std::string_view digits = name.substr(prefix.size());
    if (digits.empty() || digits.size() > 18 || (digits[0] == '0' && digits.size() > 1)) return std::nullopt;
    int64_t slot = 0;
    for (char c : digits) {
      if (c < '0' || c > '9') return std::nullopt;
      slot = slot * 10 + (c - '0');
    }
    return slot;
  }
  return std::nullopt;
}

void DeleteChild(const std::string& name) {
  const std::string path = std::string(kProductKeyPath) + "\\" + name;
  DeleteKeyTree(HKEY_LOCAL_MACHINE, path);
  ScopedKey product;
  if (product.Open(HKEY_LOCAL_MACHINE, kProductKeyPath) == ERROR_SUCCESS) RegDeleteKeyA(product.get(), name.c_str());
}

}  // namespace

#ifdef _WIN32

namespace {

// More processes than this at once share the last journal name, "0".
constexpr int64_t kMaxSlot = 65536;

// Slot n is held while some process has a handle to the kernel object of
// this name; the system closes a process's handles however it ends.
std::wstring SlotObjectName(int64_t slot) { return L"Global\\Orvane-UndoSlot-" + std::to_wstring(slot); }

// Takes `slot` when no process holds it: the handle that holds it now, or
// nullptr (held elsewhere, or the object cannot be made).
HANDLE TakeSlot(int64_t slot) {
  HANDLE object = CreateMutexW(nullptr, FALSE, SlotObjectName(slot).c_str());
  if (object != nullptr && GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(object);
    return nullptr;
  }
  return object;
}

// This process's slot, given up when the component is unloaded (its
// controls, and so its journal's records, are gone by then).
struct OwnSlot {
  int64_t slot = 0;
  HANDLE object = nullptr;
  OwnSlot() {
    for (int64_t n = 1; n <= kMaxSlot && object == nullptr; ++n) {
      object = TakeSlot(n);
      if (object != nullptr) slot = n;
    }
  }
  ~OwnSlot() {
    if (object != nullptr) CloseHandle(object);
  }
  OwnSlot(const OwnSlot&) = delete;
  OwnSlot& operator=(const OwnSlot&) = delete;
};

}  // namespace

std::string OwnJournalIdentifier(bool* taken) {
  static bool first = true;
  static const OwnSlot own;
  if (taken != nullptr) *taken = first;
  first = false;
  return std::to_string(own.slot);
}

void RemoveEndedJournals(const std::string& own) {
  if (own == "0") return;
  for (const std::string& name : ProductChildren()) {
    const std::optional<int64_t> slot = SlotOf(name);
    if (!slot) continue;
    if (std::to_string(*slot) == own) {
      DeleteChild(name);
    } else if (HANDLE held = TakeSlot(*slot); held != nullptr) {
      DeleteChild(name);
      CloseHandle(held);
    }
  }
}

#else

namespace {

struct Owner {
  std::filesystem::path store;  // as the registry reports it
  pid_t pid = 0;
  std::string identifier;
};

// The store in use, opening it first if no registry call has run yet.
std::filesystem::path StoreInUse() {
  std::filesystem::path store = platform::CurrentRegistryPath();
  if (!store.empty()) return store;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "", 0, KEY_READ, &key) == ERROR_SUCCESS) RegCloseKey(key);
  return platform::CurrentRegistryPath();
}

}  // namespace

std::string OwnJournalIdentifier(bool* taken) {
  static Owner owner;
  const std::filesystem::path store = StoreInUse();
  const bool take = owner.identifier.empty() || owner.pid != getpid() || owner.store != store;
  if (take) owner = {store, getpid(), std::to_string(store.empty() ? 0 : platform::OwnLiveSlot(store))};
  if (taken != nullptr) *taken = take;
  return owner.identifier;
}

void RemoveEndedJournals(const std::string& own) {
  const std::filesystem::path store = platform::CurrentRegistryPath();
  if (store.empty() || own == "0") return;
  platform::RegistryMethodScope method;
  for (const std::string& name : ProductChildren()) {
    const std::optional<int64_t> slot = SlotOf(name);
    if (!slot) continue;
    if (std::to_string(*slot) == own) {
      DeleteChild(name);
    } else {
      platform::WithUnheldSlot(store, *slot, [&] { DeleteChild(name); });
    }
  }
}

#endif

}  // namespace orvane
