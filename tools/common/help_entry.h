// One entry of a program's help: the option (or key, or command line) as
// it is typed, and what it does. The same entries make the program's
// --help text and its manual page's generated sections (tools/manpages),
// so the two never disagree. Header only.
#pragma once

#include <string>
#include <vector>

namespace orvane::tools {

struct HelpEntry {
  std::string term;
  std::string text;
};

// The entries as --help prints them: the term after two blanks, the text
// from column `column` (below the term when it is too long), on one line
// as CLI11 prints its options.
inline std::string HelpColumns(const std::vector<HelpEntry>& entries, size_t column = 30) {
  std::string out;
  for (const HelpEntry& entry : entries) {
    std::string line = "  " + entry.term;
    if (line.size() + 1 > column) out += line + "\n", line.clear();
    line.resize(column, ' ');
    out += line + entry.text + "\n";
  }
  return out;
}

}  // namespace orvane::tools
