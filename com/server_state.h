// Process-wide state of the server: its module handle and path, the count
// of live objects and locks that keeps it loaded, and the one lock that
// serialises every call into the control's shared state (the undo flag,
// the journal, a running search's tables) across apartments.
#pragma once

#include <windows.h>

#include <mutex>
#include <string>

namespace orvane::com {

HMODULE ServerModule();
void SetServerModule(HMODULE module);

// The server file's full path in UTF-8, as InprocServer32 names it.
std::string ServerPath();

// Objects and LockServer calls alive; the DLL may unload at zero.
void AddServerReference();
void ReleaseServerReference();
bool ServerInUse();

// Held for the length of every call into a control.
std::recursive_mutex& ControlLock();

}  // namespace orvane::com
