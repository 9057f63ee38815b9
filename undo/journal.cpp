// Journal names and clearing.
#include "undo/journal.h"

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

}  // namespace

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
