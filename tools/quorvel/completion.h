// The words the interactive prompt completes with Tab: the control's
// members (from its dispatch table), the enumeration constants, the
// host's builtin functions, the language's keywords, the extender
// properties and the names of the living controls. Pure; any thread.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

// The words that begin with `prefix` in any letter case, each once,
// sorted ignoring case. `controls` are the names of the living controls.
std::vector<std::string> CompletionsOf(std::string_view prefix, const std::vector<std::string>& controls = {});

}  // namespace quorvel
