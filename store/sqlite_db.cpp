#include "store/sqlite_db.h"

#include <cerrno>

namespace orvane::platform {

LONG SqliteErrorStatus(int sqlite_code, bool write, int system_errno) {
  // A write beyond the process's file size limit is a full disk to it.
  const int primary = sqlite_code & 0xFF;
  if ((primary == SQLITE_IOERR || primary == SQLITE_FULL) &&
      (system_errno == EFBIG || system_errno == ENOSPC || system_errno == EDQUOT)) {
    return ERROR_DISK_FULL;
  }
  switch (primary) {
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
      return ERROR_BADDB;
    case SQLITE_READONLY:
    case SQLITE_PERM:
      return ERROR_ACCESS_DENIED;
    case SQLITE_CANTOPEN:
      return ERROR_CANTOPEN;
    case SQLITE_NOMEM:
      return ERROR_OUTOFMEMORY;
    case SQLITE_TOOBIG:
      return ERROR_INVALID_PARAMETER;
    case SQLITE_FULL:
      return ERROR_DISK_FULL;
    case SQLITE_BUSY:
      return ERROR_BUSY;
    default:
      return write ? ERROR_CANTWRITE : ERROR_CANTREAD;
  }
}

void CheckSqlite(sqlite3* db, int rc) {
  if (rc == SQLITE_OK || rc == SQLITE_ROW || rc == SQLITE_DONE) return;
  std::string message = db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
  throw SqliteError(rc, message, db != nullptr ? sqlite3_system_errno(db) : 0);
}

Query::~Query() {
  sqlite3_reset(stmt_);
  sqlite3_clear_bindings(stmt_);
}

Query& Query::Bind(int index, int64_t value) {
  CheckSqlite(db_, sqlite3_bind_int64(stmt_, index, value));
  return *this;
}

Query& Query::BindBlob(int index, std::string_view bytes) {
  // A zero-length blob must still be a blob, not NULL: bind a non-null pointer.
  static const char kEmpty = 0;
  const char* data = bytes.empty() ? &kEmpty : bytes.data();
  CheckSqlite(db_, sqlite3_bind_blob64(stmt_, index, data, bytes.size(), SQLITE_STATIC));
  return *this;
}

bool Query::Step() {
  const int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  const int code = sqlite3_extended_errcode(db_);
  const std::string message = sqlite3_errmsg(db_);
  const int system_errno = sqlite3_system_errno(db_);
  sqlite3_reset(stmt_);
  throw SqliteError(code, message, system_errno);
}

void Query::Run() {
  while (Step()) {
  }
}

std::string_view Query::Blob(int column) const {
  const void* data = sqlite3_column_blob(stmt_, column);
  const int size = sqlite3_column_bytes(stmt_, column);
  if (data == nullptr) return {};
  return {static_cast<const char*>(data), static_cast<size_t>(size)};
}

namespace {

sqlite3* OpenConnection(const std::filesystem::path& file, int flags) {
  sqlite3* raw = nullptr;
  const int rc = sqlite3_open_v2(file.c_str(), &raw, flags | SQLITE_OPEN_NOMUTEX, nullptr);
  if (rc != SQLITE_OK) {
    const std::string message = raw != nullptr ? sqlite3_errmsg(raw) : sqlite3_errstr(rc);
    sqlite3_close(raw);
    throw SqliteError(rc, message);
  }
  sqlite3_extended_result_codes(raw, 1);
  return raw;
}

}  // namespace

std::unique_ptr<Db> Db::Open(const std::filesystem::path& file) {
  return std::unique_ptr<Db>(new Db(OpenConnection(file, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE)));
}

std::unique_ptr<Db> Db::OpenForReading(const std::filesystem::path& file) {
  std::unique_ptr<Db> db(new Db(OpenConnection(file, SQLITE_OPEN_READONLY)));
  db->KeepFileAsIs();
  return db;
}

std::string Db::Serialize() {
  sqlite3_int64 size = 0;
  unsigned char* bytes = sqlite3_serialize(db_, "main", &size, 0);
  if (bytes == nullptr) throw SqliteError(SQLITE_NOMEM, "cannot serialize the database");
  std::string file(reinterpret_cast<const char*>(bytes), static_cast<size_t>(size));
  sqlite3_free(bytes);
  return file;
}

Db::~Db() {
  for (auto& [sql, stmt] : statements_) sqlite3_finalize(stmt);
  sqlite3_close(db_);
}

void Db::Exec(const char* sql) {
  char* error = nullptr;
  const int rc = sqlite3_exec(db_, sql, nullptr, nullptr, &error);
  if (rc != SQLITE_OK) {
    std::string message = error != nullptr ? error : sqlite3_errstr(rc);
    sqlite3_free(error);
    throw SqliteError(sqlite3_extended_errcode(db_), message, sqlite3_system_errno(db_));
  }
}

Query Db::Prepare(const char* sql) {
  auto found = statements_.find(sql);
  if (found == statements_.end()) {
    sqlite3_stmt* stmt = nullptr;
    CheckSqlite(db_, sqlite3_prepare_v3(db_, sql, -1, SQLITE_PREPARE_PERSISTENT, &stmt, nullptr));
    found = statements_.emplace(sql, stmt).first;
  }
  return Query(db_, found->second);
}

int64_t Db::ScalarInt(const char* sql, int64_t fallback) {
  Query query = Prepare(sql);
  return query.Step() && !query.IsNull(0) ? query.Int(0) : fallback;
}

}  // namespace orvane::platform
