// How a kind of registry store (registry_kind.h) says it cannot do
// something. Inside a call a kind throws a StoreFailure (its own subclass,
// or StoreStatusError); the session catches it at the call boundary and
// returns Status(write), so no exception ever leaves a Win32 function. A
// kind that found its caches stale in a call that had none to rely on
// throws RetryCall, and the session runs the call once more.
#pragma once

#include <stdexcept>
#include <string>

#include "platform/win32_registry.h"

namespace orvane::platform {

class StoreFailure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
  // The Win32 status of a call that read, or (`write`) wrote, when it failed so.
  virtual LONG Status(bool write) const = 0;
  // The store's location is damaged: the session drops the kind after
  // Abandon(), and every call returns 1009 until another store is selected.
  virtual bool Damaged() const { return false; }
};

// A failure whose Win32 status is known where it happens.
class StoreStatusError : public StoreFailure {
 public:
  StoreStatusError(LONG status, const std::string& message) : StoreFailure(message), status_(status) {}
  LONG Status(bool /*write*/) const override { return status_; }
  bool Damaged() const override { return status_ == ERROR_BADDB; }

 private:
  LONG status_;
};

// Thrown by a read call that ran on the caches alone when it finds, on its
// first cache miss, that another process has committed meanwhile: the
// caches were dropped and the call must start again.
struct RetryCall {};

}  // namespace orvane::platform
