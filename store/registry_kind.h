// The seam between the Win32 registry functions and a kind of registry
// store. The functions (registry_keys_api.cpp, registry_values_api.cpp,
// registry_calls.*) see a store only as a RegistryKind; the SQLite store
// (KeyStore) is the first kind. See README.md, "Kinds of store".
//
// Contract of a kind:
// - Open: a kind is made for one location (a file, a folder) and names it
//   in file(); a location it cannot use is refused before any call, as a
//   Win32 status (1009 not a registry of this kind, 1011 cannot open).
// - Calls: every operation runs between BeginCall and EndCall (AbortCall
//   when the call failed); a call is all or nothing. Groups nest calls into
//   one transaction; rollback points inside a group undo, or keep, what was
//   done since they were set (RegistryRollbackScope).
// - Keys are found by id (the stored roots have the ids of key_records.h),
//   by name below a parent (any letter case, as FoldCase folds) and by
//   path; sub-keys enumerate in FoldCase order, values in creation order.
//   A returned KeyInfo stays valid until the call ends or the key is
//   deleted.
// - Flush makes every committed change durable.
// - Locks and liveness are the kind's own: whatever it needs so that other
//   processes (or other programs sharing its files) see whole calls.
// - Failure: what a kind cannot do ends the call with a Win32 status (5 a
//   file it may not write, 87 data it cannot hold, 112 disk full, 170 busy,
//   1009 damaged, 1013 cannot write). Inside a call it may throw its own error
//   type; the kind's session (registry_session.*) catches it at the call
//   boundary and returns the status, so no exception ever leaves a Win32
//   function. Code running inside a call is exception-neutral.
// A kind is single-threaded: the session serialises the calls.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "store/key_records.h"

namespace orvane::platform {

class RegistryKind {
 public:
  virtual ~RegistryKind() = default;

  // The location this store was opened on (its real path).
  virtual const std::filesystem::path& file() const = 0;

  // Calls, groups and rollback points (see the contract above).
  virtual void BeginCall(bool write) = 0;
  virtual void EndCall() = 0;
  virtual void AbortCall() = 0;
  // Before a call's first write when it may write more than one step:
  // inside a group, makes the rest of the call all or nothing.
  virtual void BeginAtomicStep() = 0;
  virtual void BeginGroup() = 0;
  virtual void EndGroup() = 0;
  // Commits what the current group has written; the group goes on.
  virtual void CommitGroup() = 0;
  virtual void SetRollbackPoint() = 0;
  virtual void ReleaseRollbackPoint(bool undo) = 0;

  // Enumeration and look-up.
  // The key with this id, or nullptr when it no longer exists.
  virtual const KeyInfo* Find(int64_t id) = 0;
  // The sub-key `name` (any letter case) of `parent`, or nullptr.
  virtual const KeyInfo* FindChild(int64_t parent, std::string_view name) = 0;
  // The key `names` below `from` (each in any letter case), or nullptr.
  virtual const KeyInfo* FindPath(int64_t from, const std::vector<std::string_view>& names) = 0;
  // The deepest key that exists along `names` below `from` (`from` itself
  // when the first name is missing; nullptr when `from` is gone) and how
  // many names it took to reach it.
  struct PathPrefix {
    const KeyInfo* key;
    size_t depth;
  };
  virtual PathPrefix FindLongestPrefix(int64_t from, const std::vector<std::string_view>& names) = 0;
  virtual bool HasChildren(int64_t id) = 0;
  // The sub-keys of `id` in FoldCase order.
  virtual const ChildList& Children(int64_t id) = 0;
  // The values of `id` in creation order.
  virtual const ValueList& Values(int64_t id) = 0;
  // How many values `id` has and the lengths of the longest name and data,
  // without keeping or copying large data.
  struct ValueSummary {
    size_t count = 0;
    size_t longest_name = 0;
    size_t longest_data = 0;
  };
  virtual ValueSummary SummarizeValues(int64_t id) = 0;

  // Writing and deleting.
  // Creates the sub-key `name` of `parent`, which must not exist yet.
  virtual const KeyInfo* CreateChild(int64_t parent, std::string_view name) = 0;
  // Deletes a key that has no sub-keys, with its values.
  virtual void DeleteLeaf(const KeyInfo& key) = 0;
  virtual void SetValue(int64_t key, std::string_view name, uint32_t type, std::string_view data) = 0;
  // False when the value does not exist.
  virtual bool DeleteValue(int64_t key, std::string_view name) = 0;
  virtual void SetReadOnly(int64_t id, bool read_only) = 0;

  // Durability and checking.
  virtual void Flush() = 0;
  // "ok", or the problems found, one a line.
  virtual std::string IntegrityCheck() = 0;
};

}  // namespace orvane::platform
