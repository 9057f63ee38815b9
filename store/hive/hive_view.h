// The keys and values of one hive file loaded under a key of the store, as
// the registry functions see them (KeyInfo, ChildList, ValueList). Keys are
// named by their cell's offset in the file (0 for the hive's root), which
// stays the same when the hive is written back. The file is mapped
// read-only and read as needed; the first change of a call takes the hive
// lock, reads the file whole, and the call's end writes it back atomically
// (its failure, or an aborted call, drops the changes). At a call's first
// use the view opens the file again when another process replaced it; a
// file that has gone throws HiveError (1011) naming it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "store/hive/hive_file.h"
#include "store/hive/hive_lock.h"
#include "store/key_records.h"

namespace orvane::platform {

class HiveView {
 public:
  // `root` is the key that stands for the hive's root below the store's root.
  HiveView(std::filesystem::path file, KeyInfo root, HiveLock& lock);

  const std::filesystem::path& file() const { return file_; }
  const KeyInfo& root() const { return root_; }
  int64_t IdOf(uint32_t offset) const { return root_.id + offset; }

  // Before and after each registry call.
  void BeginCall();
  void EndCall();
  void AbortCall();
  // Uses `hive`, just opened on this view's file, until the file changes.
  void Adopt(std::unique_ptr<HiveFile> hive);
  // Drops the file and every cached key (the hive was unloaded).
  void Close();

  // Keys by offset (0: the root); nullptr for a key that is gone.
  const KeyInfo* Find(uint32_t offset);
  const KeyInfo* FindChild(uint32_t parent, std::string_view name);
  const ChildList& Children(uint32_t offset);
  const ValueList& Values(uint32_t offset);
  const KeyInfo* CreateChild(uint32_t parent, std::string_view name);
  void DeleteLeaf(uint32_t offset);
  void SetValue(uint32_t offset, std::string_view name, uint32_t type, std::string_view data);
  bool DeleteValue(uint32_t offset, std::string_view name);

 private:
  struct Node {
    KeyInfo info;
    std::unique_ptr<ChildList> children;
    std::unique_ptr<ValueList> values;  // strings as UTF-8 (hive_text.h)
    std::vector<ValueRecord> raw;       // the values as the file holds them
  };
  using NodeMap = std::unordered_map<uint32_t, Node>;

  // Opens the file at the call's first use, or again when it was replaced.
  void Refresh();
  void Reopen(bool writable);
  // Takes the lock and makes the hive writable with the file's latest content.
  void PrepareWrite();
  size_t RootNode() const;
  size_t NodeOf(uint32_t offset) const { return offset == 0 ? RootNode() : offset; }
  uint32_t OffsetOf(size_t node) const { return node == RootNode() ? 0 : static_cast<uint32_t>(node); }
  Node* Load(uint32_t offset);
  // Writes the values of `offset` (as the file holds them) and keeps them.
  void WriteValues(uint32_t offset, std::vector<ValueRecord> raw);
  // Keeps cached keys alive until the call ends (their KeyInfo may be in use).
  void Retire();

  std::filesystem::path file_;
  KeyInfo root_;
  HiveLock& lock_;
  std::unique_ptr<HiveFile> hive_;
  NodeMap nodes_;
  std::vector<NodeMap> retired_;
  bool checked_ = false;  // the file was looked at in this call
  bool dirty_ = false;    // this call changed the hive
};

}  // namespace orvane::platform
