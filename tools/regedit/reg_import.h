// Applying a parsed registration file to the registry: merging it into the
// existing keys, or replacing the whole registry with it. Callers group the
// calls into one transaction (a method scope) around these functions.
// Call from one thread at a time per process, like every registry call.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/win32_registry.h"
#include "tools/regedit/reg_file.h"

namespace orvane::regedit {

// Applies operations in the order they come (a sink for the reader): see
// MergeRegFile. Holds the keys of the current section and its parents open.
class RegMerger : public RegSink {
 public:
  explicit RegMerger(std::vector<RegMessage>* messages);
  ~RegMerger() override;
  RegMerger(const RegMerger&) = delete;
  RegMerger& operator=(const RegMerger&) = delete;

  void Apply(const RegOp& op) override;
  // The number of operations that failed so far.
  int failures() const;

 private:
  class Impl;
  std::unique_ptr<Impl> impl_;
};

// Applies the operations of `file` in order: sections create keys,
// deletions remove key trees and values, values are set. A registry call
// that fails adds a message naming its line to *messages; a section whose
// key cannot be created makes its values fail silently with it. Returns the
// number of operations that failed.
int MergeRegFile(const RegFile& file, std::vector<RegMessage>* messages);

// Empties every stored root (HKEY_LOCAL_MACHINE, HKEY_USERS, HKEY_DYN_DATA:
// their sub-key trees and their own values; the keys that root views stand
// for stay, emptied), then merges `file`. Returns the number of failures (a
// read-only key is one); on any failure the caller must not commit.
int ReplaceWithRegFile(const RegFile& file, std::vector<RegMessage>* messages);

// Deletes the key `path` below `root` with its whole subtree, all or
// nothing. Returns 0, 2 when the key is missing, or the first failing
// status (everything deleted before it is then rolled back).
LONG DeleteKeyTree(HKEY root, const std::string& path);

}  // namespace orvane::regedit
