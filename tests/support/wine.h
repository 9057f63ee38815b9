// True when the process runs on Wine rather than on Windows or our store.
// Used only to skip an assertion where Windows is documented to behave like
// our store and Wine does not.
#pragma once

namespace orvane::testing {

bool RunningUnderWine();

}  // namespace orvane::testing
