// Journal identifiers and the removal of ended processes' journals.
#include "undo/journal_owner.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "store/store_extensions.h"
#include "platform/win32_registry.h"
#include "registry/scoped_key.h"
#include "undo/journal.h"

#ifndef _WIN32
#include <unistd.h>

#include <filesystem>

#include "keyops/subtree.h"
#include "platform/process_liveness.h"
#endif

namespace orvane {

#ifdef _WIN32

std::string OwnJournalIdentifier(bool* taken) {
  static const std::string identifier = [] {
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&OwnJournalIdentifier), &module);
    return std::to_string(reinterpret_cast<uintptr_t>(module));
  }();
  if (taken != nullptr) *taken = false;
  return identifier;
}

void RemoveEndedJournals(const std::string&) {}

#else

namespace {

// Longer than any journal's name.
constexpr DWORD kNameBuffer = 256;

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
