// The operating-system version this process emulates: Windows NT (the
// default) or the older 9x platform. Chosen once per process from the
// environment variable ORVANE_PLATFORM ("nt" or "9x"; anything else is NT);
// tests may override it. Decides the root views and GetVersionExA's record.
#pragma once

namespace orvane::platform {

enum class EmulatedPlatform { kNt, kWin9x };

// The platform of this process; the environment is read on the first call.
EmulatedPlatform CurrentPlatform();

// Replaces the platform for the rest of the process (tests switch between
// the two variants without starting a new process).
void OverridePlatform(EmulatedPlatform platform);

}  // namespace orvane::platform
