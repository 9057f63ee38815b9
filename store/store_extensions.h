// The store extensions as the component uses them: on Linux the real ones
// from registry_store.h, on Windows empty stand-ins (the system registry
// needs no grouping and no commit before starting a program).
#pragma once

#ifdef _WIN32
namespace orvane::platform {
inline void CommitPendingRegistryWrites() {}
inline long long RegistryCallsLostWithLastFailure() { return 0; }
class RegistryMethodScope {
 public:
  RegistryMethodScope() {}
  ~RegistryMethodScope() {}  // user-provided, so a scope is never an unused variable
  RegistryMethodScope(const RegistryMethodScope&) = delete;
  RegistryMethodScope& operator=(const RegistryMethodScope&) = delete;
  long End() { return 0; }  // each call of the system registry reports its own failure
};
inline long RegistryUnsavedChangesStatus() { return 0; }
inline long CommitRegistryWritesForExit() { return 0; }  // each call reported its own failure
// The system registry cannot undo a group of calls: callers check before
// they change anything what could make a later step fail.
class RegistryRollbackScope {
 public:
  RegistryRollbackScope() {}
  ~RegistryRollbackScope() {}
  RegistryRollbackScope(const RegistryRollbackScope&) = delete;
  RegistryRollbackScope& operator=(const RegistryRollbackScope&) = delete;
  void Keep() {}
};
}  // namespace orvane::platform
#else
#include "store/registry_store.h"
#endif
