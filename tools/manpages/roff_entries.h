// Help entries (tools/common/help_entry.h) as the body of a manual page
// section: one tagged paragraph each, the term in bold. Stateless.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tools/common/help_entry.h"

namespace orvane::manpages {

// `text` as roff text: backslashes and minus signs escaped, and a line
// that would start with a control character made plain.
std::string RoffText(std::string_view text);

// ".TP", the term in bold, then its text, for each entry.
std::string RoffEntries(const std::vector<tools::HelpEntry>& entries);

}  // namespace orvane::manpages
