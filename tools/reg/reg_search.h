// What `query` searches for (/f /k /d /c /e /t): a pattern ("*" any run,
// "?" any one character) that must match a whole key name, value name or
// data text, ignoring letter case unless asked not to, and which of the
// three it is tried on. A plain value; the functions are stateless.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/win32_registry.h"
#include "tools/reg/reg_switches.h"

namespace orvane::reg {

struct SearchSpec {
  std::string pattern = "*";
  bool case_sensitive = false;
  bool key_names = true;
  bool value_names = true;
  bool data = true;
  std::optional<DWORD> type;  // only values of this type; key names are then left out unless /k
};

// Whether `pattern` matches the whole of `text`.
bool Matches(std::string_view pattern, std::string_view text, bool case_sensitive);

// The search `options` ask for, or nothing when they ask for none. The text
// of /f ("*" without it) is found anywhere in a name or data, or, with /e,
// must be all of it. `type` is the parsed /t.
std::optional<SearchSpec> SearchFor(const Options& options, std::optional<DWORD> type);

}  // namespace orvane::reg
