// Setting and removing a variable of this process's environment, on Linux
// and Windows alike; what getenv (and so the component) sees changes at
// once.
#pragma once

namespace orvane::testing {

void SetEnvironment(const char* name, const char* value);
void UnsetEnvironment(const char* name);

}  // namespace orvane::testing
