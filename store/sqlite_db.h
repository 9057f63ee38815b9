// Small RAII layer over the SQLite C API: Db owns one connection and caches
// its prepared statements; Query borrows one of them, binds, steps and
// resets it on destruction. Failures throw SqliteError with SQLite's code.
// One owner at a time; no internal locking.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>

#include "store/store_failure.h"

namespace orvane::platform {

// The Win32 status for an SQLite failure during a call; `system_errno` is
// the error of the file operation that failed, if any.
LONG SqliteErrorStatus(int sqlite_code, bool write, int system_errno = 0);

// A failure of the SQLite kind of store (store_failure.h).
class SqliteError : public StoreFailure {
 public:
  SqliteError(int code, const std::string& message, int system_errno = 0)
      : StoreFailure(message), code_(code), system_errno_(system_errno) {}
  int code() const { return code_; }
  // The error of the file operation that failed (sqlite3_system_errno), or 0.
  int system_errno() const { return system_errno_; }
  LONG Status(bool write) const override { return SqliteErrorStatus(code_, write, system_errno_); }
  bool Damaged() const override;

 private:
  int code_;
  int system_errno_;
};

// A cached prepared statement in use: bind, step, read columns. Resets the
// statement and clears its bindings when it goes out of scope.
class Query {
 public:
  Query(sqlite3* db, sqlite3_stmt* stmt) : db_(db), stmt_(stmt) {}
  ~Query();
  Query(const Query&) = delete;
  Query& operator=(const Query&) = delete;

  Query& Bind(int index, int64_t value);
  Query& BindBlob(int index, std::string_view bytes);
  // Returns true while a row is available, false when done.
  bool Step();
  // Steps a statement that returns no row.
  void Run();
  int64_t Int(int column) const { return sqlite3_column_int64(stmt_, column); }
  std::string_view Blob(int column) const;
  bool IsNull(int column) const { return sqlite3_column_type(stmt_, column) == SQLITE_NULL; }

 private:
  sqlite3* db_;
  sqlite3_stmt* stmt_;
};

class Db {
 public:
  // Opens (creating when missing) the database file; throws SqliteError.
  static std::unique_ptr<Db> Open(const std::filesystem::path& file);
  // Opens an existing database file for reading only: nothing is written
  // to it, not even at close. Throws SqliteError.
  static std::unique_ptr<Db> OpenForReading(const std::filesystem::path& file);
  ~Db();
  Db(const Db&) = delete;
  Db& operator=(const Db&) = delete;

  // Runs one or more statements without results.
  void Exec(const char* sql);
  // Runs one statement literal through the statement cache.
  void Run(const char* sql) { Prepare(sql).Run(); }
  // A query on the statement for `sql`, prepared once per connection.
  // `sql` must be a string literal (the cache is keyed by its address).
  Query Prepare(const char* sql);
  // The first column of the first row of `sql`, or `fallback` without rows.
  int64_t ScalarInt(const char* sql, int64_t fallback = 0);
  int64_t LastInsertId() const { return sqlite3_last_insert_rowid(db_); }
  int64_t Changes() const { return sqlite3_changes64(db_); }
  // Rows written by every statement since the connection was opened.
  int64_t TotalChanges() const { return sqlite3_total_changes64(db_); }
  bool InTransaction() const { return sqlite3_get_autocommit(db_) == 0; }
  // Replaces the busy timeout with `handler` (sqlite3_busy_handler).
  void SetBusyHandler(int (*handler)(void*, int), void* context) { sqlite3_busy_handler(db_, handler, context); }
  // From now on closing the connection leaves the database file as it is:
  // no checkpoint copies the WAL into it (for a file found damaged).
  void KeepFileAsIs() { sqlite3_db_config(db_, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr); }
  // The main database's bytes, as a file of it would hold them.
  std::string Serialize();
  // sqlite3_file_control on the main database.
  int FileControl(int operation, void* argument) { return sqlite3_file_control(db_, "main", operation, argument); }

 private:
  explicit Db(sqlite3* db) : db_(db) {}
  sqlite3* db_;
  std::unordered_map<const char*, sqlite3_stmt*> statements_;
};

// Throws SqliteError for a result other than the expected ones.
void CheckSqlite(sqlite3* db, int rc);

// True for the codes by which SQLite reports a damaged file (or one that
// is not a database).
inline bool IsDamage(int sqlite_code) {
  return (sqlite_code & 0xFF) == SQLITE_CORRUPT || (sqlite_code & 0xFF) == SQLITE_NOTADB;
}

inline bool SqliteError::Damaged() const { return IsDamage(code_); }

}  // namespace orvane::platform
