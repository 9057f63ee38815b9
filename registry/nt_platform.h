// The process-wide NT platform flag: false at load, set once a control's
// initialisation finds the Windows NT platform in the system's version
// record. While it is true HKEY_DYN_DATA cannot be selected. One thread.
#pragma once

namespace orvane {

// The current flag.
bool NtPlatform();

// Asks the system for its version record and sets the flag when the
// platform identifier is NT (2). The flag never goes back to false here.
void DetectNtPlatform();

// Sets the flag either way; for tests that need both platforms in one process.
void SetNtPlatformForTesting(bool nt);

}  // namespace orvane
