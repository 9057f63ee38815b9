// The process-wide registry state: the store in use (opened on first use at
// the default location, or selected explicitly), the open handles, the
// method-group depth, and the lock that serialises registry calls. Store
// failures become Win32 statuses here, each reported once on stderr.
#pragma once

#include <filesystem>
#include <memory>
#include <mutex>
#include <string>

#include "platform/handle_table.h"
#include "platform/key_store.h"
#include "platform/win32_registry.h"

namespace orvane::platform {

class Session {
 public:
  static Session& Instance();

  // Runs `fn(store, handles)` as one registry call (one transaction or part
  // of the current group) and returns its status; store failures give the
  // status of SqliteErrorStatus.
  template <typename Fn>
  LONG Call(bool write, Fn&& fn);

  // Closes an open handle; the store is not involved. 0, or 6 for a
  // closed or unknown handle (predefined roots are always open).
  LONG CloseHandle(HKEY handle);
  LONG Select(const std::filesystem::path& file);
  std::filesystem::path CurrentPath();
  void BeginGroup();
  void EndGroup();
  void CommitPending();
  // Commits the group and makes every committed change durable.
  LONG Flush();
  std::string Check();

 private:
  Session() = default;
  // The open store, opening the default one on first use; nullptr with
  // *status set when it cannot be opened.
  KeyStore* Ensure(LONG* status);
  LONG OpenStore(const std::filesystem::path& file);
  LONG Report(const std::exception& error, LONG status);

  std::mutex mutex_;
  std::unique_ptr<KeyStore> store_;
  std::filesystem::path failed_path_;
  LONG failed_status_ = ERROR_SUCCESS;
  bool reported_ = false;
  int group_depth_ = 0;
  HandleTable handles_;
};

// The Win32 status for a store failure during a call.
LONG SqliteErrorStatus(int sqlite_code, bool write);

template <typename Fn>
LONG Session::Call(bool write, Fn&& fn) {
  std::lock_guard<std::mutex> lock(mutex_);
  LONG status = ERROR_SUCCESS;
  KeyStore* store = Ensure(&status);
  if (store == nullptr) return status;
  try {
    try {
      store->BeginCall(write);
      status = fn(*store, handles_);
    } catch (const RetryCall&) {
      // The caches were dropped and a read transaction is now open: the
      // second run reads everything afresh within it.
      status = fn(*store, handles_);
    }
    store->EndCall();
    return status;
  } catch (const SqliteError& error) {
    store->AbortCall();
    return Report(error, SqliteErrorStatus(error.code(), write));
  } catch (const std::bad_alloc& error) {
    store->AbortCall();
    return Report(error, ERROR_OUTOFMEMORY);
  } catch (const RetryCall&) {
    store->AbortCall();
    return ERROR_CANTREAD;  // unreachable: a call inside a transaction never retries
  }
}

}  // namespace orvane::platform
