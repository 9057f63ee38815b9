#include "platform/registry_session.h"

#include <cstdio>
#include <cstdlib>

#include "platform/registry_store.h"
#include "platform/store_location.h"
#include "platform/store_schema.h"

namespace orvane::platform {

LONG SqliteErrorStatus(int sqlite_code, bool write) {
  switch (sqlite_code & 0xFF) {
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
    default:
      return write ? ERROR_CANTWRITE : ERROR_CANTREAD;
  }
}

Session& Session::Instance() {
  static Session* session = new Session();  // never destroyed: calls may come from static destructors
  return *session;
}

LONG Session::Report(const std::exception& error, LONG status) {
  if (!reported_) {
    reported_ = true;
    const std::string file = store_ ? store_->file().string() : failed_path_.string();
    std::fprintf(stderr, "orvane: registry store %s: %s (status %d)\n", file.c_str(), error.what(),
                 static_cast<int>(status));
  }
  return status;
}

LONG Session::OpenStore(const std::filesystem::path& file) {
  failed_path_ = file;
  reported_ = false;
  std::string error;
  if (!PrepareStoreFile(file, &error)) {
    failed_status_ = ERROR_CANTOPEN;
    return Report(std::runtime_error(error), ERROR_CANTOPEN);
  }
  try {
    store_ = KeyStore::Open(file);
  } catch (const StoreFormatError& format) {
    failed_status_ = ERROR_BADDB;
    return Report(format, ERROR_BADDB);
  } catch (const SqliteError& sqlite) {
    failed_status_ = SqliteErrorStatus(sqlite.code(), true);
    return Report(sqlite, failed_status_);
  }
  failed_status_ = ERROR_SUCCESS;
  for (int i = 0; i < group_depth_; ++i) store_->BeginGroup();
  return ERROR_SUCCESS;
}

KeyStore* Session::Ensure(LONG* status) {
  if (store_) return store_.get();
  if (failed_status_ != ERROR_SUCCESS) {
    *status = failed_status_;
    return nullptr;
  }
  std::string error;
  const std::filesystem::path file = ResolveDefaultStorePath(&error);
  *status = file.empty() ? Report(std::runtime_error(error), ERROR_CANTOPEN) : OpenStore(file);
  if (file.empty()) failed_status_ = ERROR_CANTOPEN;
  return store_.get();
}

LONG Session::Select(const std::filesystem::path& file) {
  std::lock_guard<std::mutex> lock(mutex_);
  const std::filesystem::path absolute = std::filesystem::absolute(file);
  handles_.Clear();
  store_.reset();
  setenv("ORVANE_REGISTRY", absolute.c_str(), 1);
  return OpenStore(absolute);
}

LONG Session::CloseHandle(HKEY handle) {
  std::lock_guard<std::mutex> lock(mutex_);
  const auto value = static_cast<int64_t>(reinterpret_cast<intptr_t>(handle));
  const int64_t first_root = static_cast<int32_t>(0x80000000u);
  if (value >= first_root && value <= first_root + 6) return ERROR_SUCCESS;
  return handles_.Remove(handle) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

std::filesystem::path Session::CurrentPath() {
  std::lock_guard<std::mutex> lock(mutex_);
  return store_ ? store_->file() : std::filesystem::path();
}

void Session::BeginGroup() {
  std::lock_guard<std::mutex> lock(mutex_);
  ++group_depth_;
  if (store_) store_->BeginGroup();
}

void Session::EndGroup() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (group_depth_ > 0) --group_depth_;
  if (!store_) return;
  try {
    store_->EndGroup();
  } catch (const SqliteError& error) {
    Report(error, SqliteErrorStatus(error.code(), true));
  }
}

void Session::CommitPending() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!store_) return;
  try {
    store_->CommitGroup();
  } catch (const SqliteError& error) {
    Report(error, SqliteErrorStatus(error.code(), true));
  }
}

LONG Session::Flush() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!store_) return ERROR_SUCCESS;
  try {
    store_->Flush();
  } catch (const SqliteError& error) {
    return Report(error, SqliteErrorStatus(error.code(), true));
  }
  return ERROR_SUCCESS;
}

std::string Session::Check() {
  std::string report;
  const LONG status = Call(false, [&](KeyStore& store, HandleTable&) {
    report = store.IntegrityCheck();
    return ERROR_SUCCESS;
  });
  if (status != ERROR_SUCCESS) report = "cannot check the store: status " + std::to_string(status);
  return report;
}

std::filesystem::path DefaultRegistryPath(std::string* error) {
  std::string ignored;
  return ResolveDefaultStorePath(error != nullptr ? error : &ignored);
}

LONG SelectRegistryStore(const std::filesystem::path& file) { return Session::Instance().Select(file); }

std::filesystem::path CurrentRegistryPath() { return Session::Instance().CurrentPath(); }

void CommitPendingRegistryWrites() { Session::Instance().CommitPending(); }

std::string CheckRegistryStore() { return Session::Instance().Check(); }

RegistryMethodScope::RegistryMethodScope() { Session::Instance().BeginGroup(); }

RegistryMethodScope::~RegistryMethodScope() { Session::Instance().EndGroup(); }

}  // namespace orvane::platform
