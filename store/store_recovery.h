// Recovery of a damaged registry store: every key and value that can still
// be read from the damaged file (damaged_store.h: opened for reading only,
// so it is left exactly as it is; row by row, around the pages that cannot
// be read) is copied through the registry API into a new store, in one
// transaction. Read-only marks are copied too; last write times are not
// (the copies are new keys).
//
// A key whose parent row was lost goes below kRecoveredKeyName under
// HKEY_LOCAL_MACHINE, in a key named by the lost parent's row id, which
// also holds the lost key's own values when they could be read: so
// HKEY_LOCAL_MACHINE\Recovered\1234 stands for the lost key 1234. (Which
// root the lost key was under is lost with it.) Keys in a loop of parents
// (a damaged parent id) are placed the same way, the loop cut at its key
// of the smallest id. A Recovered key the store already has is left as it
// is: the first free name "Recovered (2)", ... is taken instead.
//
// When recovery fails (nothing can be read, the new store cannot be
// written) no new file is left, and nothing is ever thrown.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace orvane::platform {

inline constexpr const char* kRecoveredKeyName = "Recovered";

struct RecoveryReport {
  int64_t keys = 0;         // keys saved (roots and the keys standing for lost ones not counted)
  int64_t values = 0;       // values saved
  int64_t keys_lost = 0;    // key rows that could not be read (counted by id) or saved
  int64_t values_lost = 0;  // values read that could not be saved
  int64_t cut_value_lists = 0;  // keys whose values could not all be read (how many were lost is unknown)
  int64_t orphans = 0;      // saved keys whose parent row was lost, below the Recovered key
  int64_t stand_ins = 0;    // keys below the Recovered key standing for lost keys
  std::string recovered_key;  // the Recovered key's full path when stand_ins > 0
  int64_t missing_pages = 0;  // pages the file's header counts beyond its end (a file cut short)
  std::string repair;       // what was rebuilt in a copy to read the file: "", "header" or "first page"
  std::string error;        // why nothing was recovered; empty when the new store was made
};

// Copies what can be read of the store `damaged` into the new store
// `target`, which must not exist yet.
RecoveryReport RecoverStore(const std::filesystem::path& damaged, const std::filesystem::path& target);

}  // namespace orvane::platform
