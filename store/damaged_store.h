// Reading what can still be read of a damaged registry store file. The file
// is opened for reading only and never changed.
//
// - Opening: when SQLite cannot read the file's first page (its 100-byte
//   header, or the schema below it), a copy is read instead whose first
//   page is rebuilt: the header alone (the page size found from the pages
//   themselves), else the whole page, with a new store's schema (the
//   tables' root pages are the same in every store). The copy is made in
//   a folder the caller names and removed with the reader.
// - Key rows are read in id order. Where a read meets a page it cannot
//   read, ids are tried one at a time, each one that fails counted as a
//   row lost, until one reads again: every row on a readable page is read,
//   whatever else is damaged. Ids are tried up to the largest one known to
//   be in use (read, named as a parent, or holding values).
// - A key's values are read through its id, from the first name on and
//   back from the last, around a damaged page.
// One owner; not for concurrent use.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "store/sqlite_db.h"

namespace orvane::platform {

struct DamagedKeyRow {
  int64_t parent = 0;
  std::string name;
  bool read_only = false;
};

struct DamagedValueRow {
  std::string folded;
  int64_t seq = 0;
  std::string name;
  uint32_t type = 0;
  std::string data;
};

class DamagedStore {
 public:
  // Opens `file`, making a repaired copy in `scratch` when it must; nullptr
  // with *error set when nothing of it can be read as a registry store.
  static std::unique_ptr<DamagedStore> Open(const std::filesystem::path& file,
                                            const std::filesystem::path& scratch, std::string* error);
  ~DamagedStore();
  DamagedStore(const DamagedStore&) = delete;
  DamagedStore& operator=(const DamagedStore&) = delete;

  // What was rebuilt in a copy to read the file: empty (nothing), "header"
  // or "first page" (the header and the schema).
  const std::string& repair() const { return repair_; }

  // How many pages the file's header says it has beyond its end (a file
  // cut short); 0 when it has them all or its header cannot tell.
  int64_t missing_pages() const { return missing_pages_; }

  // The key rows that can be read, by id, into *rows; the ids whose rows
  // could not be read into *lost, in order.
  void ReadKeys(std::map<int64_t, DamagedKeyRow>* rows, std::vector<int64_t>* lost);

  // The values of key `id` that can be read, in creation order; *complete
  // is false when some could not be.
  std::vector<DamagedValueRow> ReadValues(int64_t id, bool* complete);

 private:
  enum class Probe { kRead, kMissing, kDamaged };

  DamagedStore() = default;
  // Opens `file` as it is; false with *error (and *repairable when
  // rebuilding the first page might help) when it cannot be read.
  bool TryOpen(const std::filesystem::path& file, bool* repairable, std::string* error);
  // Replaces the copy with one of `file` whose header (or whole first page)
  // is rebuilt. False with *error when it cannot be made.
  bool MakeRepairedCopy(const std::filesystem::path& file, const std::filesystem::path& scratch, bool whole_page,
                        std::string* error);
  // Reads rows from id `from` on into *rows; *next is the id after the
  // last one read. False when a read failed.
  bool ReadKeysFrom(int64_t from, std::map<int64_t, DamagedKeyRow>* rows, int64_t* next);
  Probe ReadOneKey(int64_t id, std::map<int64_t, DamagedKeyRow>* rows);
  // The largest key id the store says it uses, 0 when it cannot tell.
  int64_t LargestKnownId();
  void Remember(int64_t id, DamagedKeyRow row, std::map<int64_t, DamagedKeyRow>* rows);

  std::unique_ptr<Db> db_;
  std::filesystem::path copy_;  // the repaired copy, removed at destruction
  std::string repair_;
  int64_t missing_pages_ = 0;
  int64_t largest_id_ = 0;  // the largest id read or named as a parent
};

}  // namespace orvane::platform
