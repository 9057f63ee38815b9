#include "support/environment.h"

#include <stdlib.h>

namespace orvane::testing {

#ifdef _WIN32

// _putenv_s changes the C runtime's copy and the process's own block.
void SetEnvironment(const char* name, const char* value) { _putenv_s(name, value); }
// An empty value removes the variable.
void UnsetEnvironment(const char* name) { _putenv_s(name, ""); }

#else

void SetEnvironment(const char* name, const char* value) { setenv(name, value, 1); }
void UnsetEnvironment(const char* name) { unsetenv(name); }

#endif

}  // namespace orvane::testing
