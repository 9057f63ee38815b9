#include "tools/reg/reg_search.h"

namespace orvane::reg {
namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameChar(char a, char b, bool case_sensitive) { return case_sensitive ? a == b : Lower(a) == Lower(b); }

}  // namespace

// Backtracks only to the last "*", so the work stays within the product of
// the two lengths.
bool Matches(std::string_view pattern, std::string_view text, bool case_sensitive) {
  size_t p = 0, t = 0, star = std::string_view::npos, resume = 0;
  while (t < text.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      resume = t;
    } else if (p < pattern.size() && (pattern[p] == '?' || SameChar(pattern[p], text[t], case_sensitive))) {
      ++p;
      ++t;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      t = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

std::optional<SearchSpec> SearchFor(const Options& options, std::optional<DWORD> type) {
  const bool limited = options.keys_only || options.data_only;
  if (!options.find && !limited && !options.case_sensitive && !options.exact && !type) return std::nullopt;
  SearchSpec spec;
  const std::string text = options.find.value_or("*");
  spec.pattern = options.exact ? text : "*" + text + "*";
  spec.case_sensitive = options.case_sensitive;
  spec.key_names = limited ? options.keys_only : !type;
  spec.value_names = !limited;
  spec.data = !limited || options.data_only;
  spec.type = type;
  return spec;
}

}  // namespace orvane::reg
