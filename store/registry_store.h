// Extensions of the Linux registry store beyond the Win32 API: selecting the
// database file, grouping writes per control method (and undoing a group),
// committing before another program starts, and the administration of
// read-only keys.
// Process-wide; every function is safe to call from any thread.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>

#include "platform/os_version.h"
#include "platform/win32_registry.h"

namespace orvane::platform {

// The database file used when no store was selected: $ORVANE_REGISTRY (which
// must be absolute), else $XDG_DATA_HOME/orvane/registry.db, else
// ~/.local/share/orvane/registry.db. Sets *error and returns an empty path
// when no location can be found (a relative ORVANE_REGISTRY, no home).
std::filesystem::path DefaultRegistryPath(std::string* error = nullptr);

// Switches this process to the store in `file` (created and seeded when
// missing) and sets ORVANE_REGISTRY so that child processes use it too.
// Every handle opened on the previous store becomes invalid (status 6).
// Returns 0, or the status that every registry call will return until
// another store is selected (1009 not a registry store, 1011 cannot open).
LONG SelectRegistryStore(const std::filesystem::path& file);

// The name of the current user's key below HKEY_USERS, which
// HKEY_CURRENT_USER shows on the NT platform ("S-1-5-21-0-0-0-<uid>").
std::string CurrentUserKeyName();

// The real path of the store in use (symbolic links resolved), or the
// empty path when none is open yet.
std::filesystem::path CurrentRegistryPath();

// Makes every registry write done so far visible to other processes
// (commits the open method group, if any). Call before starting a program.
void CommitPendingRegistryWrites();

// Commits every registry write this process has made so far (the open
// method group's too) and says whether they all reached the store: 0, or
// the failure status (112 when the disk was full). A commit that fails
// after its calls have returned (changes held for the commit delay, a
// method group) is returned by the next registry call or by this function,
// whichever comes first, with the number of calls whose changes were lost
// (RegistryCallsLostWithLastFailure). Programs call it before they end and
// exit with a failure when it fails: the exit handler that commits what is
// left only reports on stderr and never changes a host's exit status.
LONG CommitRegistryWrites();

// After a registry call (or CommitRegistryWrites) of this thread failed:
// how many earlier calls had returned success but lost their changes with
// that failure. 0 when none did, and after any call that succeeded.
int64_t RegistryCallsLostWithLastFailure();

// How long registry changes may stay uncommitted after their call (or
// outermost method group) has returned while no other process asks for
// them. Other processes see every change once its call has returned, and
// a normal exit, RegFlushKey and CommitPendingRegistryWrites commit at once;
// the delay bounds what a killed process can lose (what nobody has seen).
// Zero commits every call and group at once. Default: the environment
// variable ORVANE_COMMIT_DELAY_MS, else 20 ms.
void SetRegistryCommitDelay(std::chrono::milliseconds delay);

// How long one registry call waits in all for other processes (one that
// holds uncommitted changes, a writer that holds the write lock) before it
// fails with 170 (busy) instead of answering from a state that is not the
// registry's. Default: kRegistryWaitLimit.
inline constexpr std::chrono::milliseconds kRegistryWaitLimit{30'000};
void SetRegistryWaitLimit(std::chrono::milliseconds limit);

// The first failure since the store was selected that left changes of this
// process unsaved (a write call or a commit that failed, calls that had
// returned success and lost their changes), or 0; kept when it has been
// returned. A program whose changes were not all saved exits with a
// failure when this is not 0, whatever its calls reported meanwhile.
LONG RegistryUnsavedChangesStatus();

// What a program's exit status follows: CommitRegistryWrites(), and when
// that succeeds, RegistryUnsavedChangesStatus().
inline LONG CommitRegistryWritesForExit() {
  const LONG status = CommitRegistryWrites();
  return status != ERROR_SUCCESS ? status : RegistryUnsavedChangesStatus();
}

// Groups the registry calls made during its lifetime into one transaction:
// reads see the group's own writes, other processes see them all at once
// when the outermost scope ends (also when it ends by an exception).
// Scopes nest; only the outermost one commits.
// A store failure (a full disk, an I/O error, a busy store, damage; not a
// refused parameter) met by any call of the group, even one its caller
// ignored, makes every later call of the group return it without running;
// End() reports it, and so does a failed commit at the group's end (or a
// failed commit of earlier held changes not yet returned). All the calls
// of the group wait at most the wait limit in all.
class RegistryMethodScope {
 public:
  RegistryMethodScope();
  ~RegistryMethodScope();
  RegistryMethodScope(const RegistryMethodScope&) = delete;
  RegistryMethodScope& operator=(const RegistryMethodScope&) = delete;
  // Ends the group now: 0, or the first store failure above (with
  // RegistryCallsLostWithLastFailure counting the calls from before the
  // group whose changes were lost). A nested scope reports the failure
  // and leaves it to the outermost one.
  LONG End();

 private:
  bool ended_ = false;
};

// A method group whose changes are undone together unless kept: when it
// ends without Keep() having been called (also by an exception), every
// registry change this process made during its lifetime is rolled back.
// Nested inside another scope it undoes only its own changes, and the
// outer scope goes on. A store failure that ends the whole transaction
// undoes the outer scope's changes as well.
class RegistryRollbackScope {
 public:
  RegistryRollbackScope();
  ~RegistryRollbackScope();
  RegistryRollbackScope(const RegistryRollbackScope&) = delete;
  RegistryRollbackScope& operator=(const RegistryRollbackScope&) = delete;
  // Keeps the changes: the scope then ends as a plain method group.
  void Keep() { keep_ = true; }

 private:
  RegistryMethodScope group_;
  bool keep_ = false;
  bool marked_ = false;  // the rollback point was set
};

// Administration: marks the key `path` below the predefined `root` read-only
// (any open asking for more than read access then fails with 5) or writable
// again. Returns 0, 2 when the key is missing, 6 for an unknown root.
LONG SetRegistryKeyReadOnly(HKEY root, const char* path, bool read_only);

// Administration: SQLite's integrity check of the store in use. Returns
// "ok" for a sound store, else the problems found or why it cannot be read;
// after problems this process writes nothing more to the store's file and
// every registry call returns 1009 until another store is selected.
std::string CheckRegistryStore();

}  // namespace orvane::platform
