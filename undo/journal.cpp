// Journal names and clearing.
#include "undo/journal.h"

#include "keyops/subtree.h"
#include "registry/scoped_key.h"

namespace orvane {
namespace {

// The journal identifier. On Windows it is the instance handle of the
// loaded component, that is its load address, which is the same for every
// process that loads the component at its preferred base. This platform has
// no such handle, so the identifier is that preferred base itself, a fixed
// number: every process uses the same journal. A journal left behind by a
// process that ended without terminating its controls (a crash) is found
// and continued by the next process: its Undo reverses the earlier
// process's newest changes, and its first control to terminate clears it.
// Processes running at the same time share one stack, as on Windows.
constexpr const char* kJournalIdentifier = "268435456";  // 0x10000000

struct JournalNames {
  std::string identifier;
  std::string journal_key_path;
  std::string temp_undo_key_path;
};

const JournalNames& Names() {
  static const JournalNames names{
      kJournalIdentifier,
      std::string(kProductKeyPath) + "\\Undo-" + kJournalIdentifier,
      std::string(kProductKeyPath) + "\\TempUndo-" + kJournalIdentifier,
  };
  return names;
}

// Deletes the child `name` of the product key with all its descendants.
void DeleteProductChild(const std::string& path, const std::string& name) {
  ScopedKey product;
  product.Open(HKEY_LOCAL_MACHINE, kProductKeyPath);
  DeleteKeyTree(HKEY_LOCAL_MACHINE, path);
  if (product.is_open()) RegDeleteKeyA(product.get(), name.c_str());
}

}  // namespace

const std::string& JournalIdentifier() { return Names().identifier; }
const std::string& JournalKeyPath() { return Names().journal_key_path; }
const std::string& TempUndoKeyPath() { return Names().temp_undo_key_path; }

void InitJournalNames() { Names(); }

void ClearJournal() {
  DeleteProductChild(JournalKeyPath(), "Undo-" + JournalIdentifier());
  ClearTempUndo();
}

void ClearTempUndo() { DeleteProductChild(TempUndoKeyPath(), "TempUndo-" + JournalIdentifier()); }

}  // namespace orvane
