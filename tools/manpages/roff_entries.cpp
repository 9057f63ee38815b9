#include "tools/manpages/roff_entries.h"

namespace orvane::manpages {

std::string RoffText(std::string_view text) {
  std::string roff;
  if (!text.empty() && (text.front() == '.' || text.front() == '\'')) roff += "\\&";
  for (char c : text) {
    if (c == '\\')
      roff += "\\e";
    else if (c == '-')
      roff += "\\-";
    else
      roff += c;
  }
  return roff;
}

std::string RoffEntries(const std::vector<tools::HelpEntry>& entries) {
  std::string roff;
  for (const tools::HelpEntry& entry : entries) {
    roff += ".TP\n.B \"" + RoffText(entry.term) + "\"\n" + RoffText(entry.text) + "\n";
  }
  return roff;
}

}  // namespace orvane::manpages
