// The layout of a registry store database and the keys a new one starts with.
//
//   keys(id, parent, name, folded, read_only, mtime, born)
//     one row per key; roots have parent 0 and fixed ids (key_records.h); `name` is
//     the bytes as created, `folded` the same in upper case (FoldCase), unique
//     per parent; `mtime` is the last write time as a FILETIME count, `born`
//     the creation time, which tells a key from a later one that got the id
//     of a deleted key (SQLite may reuse the highest id).
//   vals(key, folded, seq, name, type, data)
//     one row per value; `seq` orders a key's values by creation. The
//     trigger keys_delete_values deletes a key's values with its row.
//   upgrade_renames(kind, key, old_name, new_name)
//     names the layout upgrade had to change (store_upgrade.h); only in
//     stores that were upgraded.
//   PRAGMA application_id marks the file as ours, user_version its layout
//   (2; a store of layout 1 is upgraded when opened).
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "store/key_records.h"
#include "store/sqlite_db.h"

namespace orvane::platform {

// PRAGMA application_id of a store: "ORVN".
constexpr int64_t kStoreApplicationId = 0x4F52564E;

// The file is a database but not a registry store this version can use.
class StoreFormatError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Sets the connection's pragmas, then creates the tables and the seed keys
// when the store is new. Returns true when deleting a key's row deletes its
// values too (the trigger keys_delete_values, added when missing). Throws
// SqliteError or StoreFormatError.
bool InitializeStore(Db& db);

// The first page of the database file of a new, empty store whose pages
// are `page_size` bytes: the file header (this layout's application id and
// version) and the schema, whose tables have the root pages every store
// has (keys 2, vals 4: they are created first, and never rebuilt). For
// reading a store whose own first page is damaged. Throws SqliteError.
std::string FreshFirstPage(int page_size);

// The name of the current user's key below HKEY_USERS.
std::string CurrentUserKeyName();

// The upper case of a name (FoldCase): the form names are compared and
// sorted in.
std::string FoldName(std::string_view name);

// The current time as a FILETIME count (100 ns units since 1601).
int64_t FileTimeNow();

}  // namespace orvane::platform
