// Journal names and clearing.
#include "undo/journal.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "keyops/root_views.h"
#include "keyops/subtree.h"
#include "store/store_extensions.h"
#include "registry/scoped_key.h"
#include "undo/journal_owner.h"

namespace orvane {
namespace {

// Deletes the child `name` of the product key with all its descendants.
void DeleteProductChild(const std::string& path, const std::string& name) {
  ScopedKey product;
  product.Open(HKEY_LOCAL_MACHINE, kProductKeyPath);
  DeleteKeyTree(HKEY_LOCAL_MACHINE, path);
  if (product.is_open()) RegDeleteKeyA(product.get(), name.c_str());
}

// Whether `name` is "<prefix><decimal digits>", the prefix in any letter case.
bool IsNumberedName(std::string_view name, std::string_view prefix) {
  if (name.size() <= prefix.size() || !StartsWithNoCase(name, prefix)) return false;
  const std::string_view digits = name.substr(prefix.size());
  return std::all_of(digits.begin(), digits.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
}

}  // namespace

bool IsProductKey(HKEY root, const std::string& path) {
  const KeyLocation product{HKEY_LOCAL_MACHINE, kProductKeyPath};
  return IsSameOrInside({root, path}, product) && IsSameOrInside(product, {root, path});
}

bool IsInsideProductKey(HKEY root, const std::string& path) {
  return IsSameOrInside({root, path}, {HKEY_LOCAL_MACHINE, kProductKeyPath});
}

bool IsInsideJournalKey(HKEY root, const std::string& path) {
  const KeyLocation location = ResolveRootView(root, path);
  if (!IsInsideProductKey(location.root, location.path) || IsProductKey(location.root, location.path)) return false;
  // The product key's path has two names; the third is the child below it.
  const std::string below = location.path.substr(std::string_view(kProductKeyPath).size() + 1);
  const std::string child = below.substr(0, below.find('\\'));
  return IsNumberedName(child, "Undo-") || IsNumberedName(child, "TempUndo-");
}

std::string JournalIdentifier() {
  bool taken = false;
  std::string identifier = OwnJournalIdentifier(&taken);
  if (taken) RemoveEndedJournals(identifier);
  return identifier;
}

std::string JournalKeyPath() { return std::string(kProductKeyPath) + "\\Undo-" + JournalIdentifier(); }

std::string TempUndoKeyPath() { return std::string(kProductKeyPath) + "\\TempUndo-" + JournalIdentifier(); }

void InitJournalNames() { JournalIdentifier(); }

void ClearJournal() {
  platform::RegistryMethodScope method;
  const std::string identifier = JournalIdentifier();
  DeleteProductChild(std::string(kProductKeyPath) + "\\Undo-" + identifier, "Undo-" + identifier);
  ClearTempUndo();
}

void ClearTempUndo() {
  const std::string identifier = JournalIdentifier();
  DeleteProductChild(std::string(kProductKeyPath) + "\\TempUndo-" + identifier, "TempUndo-" + identifier);
}

}  // namespace orvane
