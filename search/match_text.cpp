#include "search/match_text.h"

#include <algorithm>

#include "store/name_case.h"
#include "registry/value_read.h"

namespace orvane {
namespace {

constexpr uint32_t kString = 1;
constexpr uint32_t kExpandableString = 2;
constexpr uint32_t kMultiString = 7;

// The bytes of `text` from `at` that equal `needle` ignoring letter case,
// or npos when the text there does not start with it.
size_t MatchLengthAt(std::string_view text, size_t at, std::string_view needle) {
  size_t i = at;
  size_t j = 0;
  while (j < needle.size()) {
    if (i >= text.size()) return std::string_view::npos;
    const platform::TextUnit x = platform::FoldedUnitAt(text, i);
    const platform::TextUnit y = platform::FoldedUnitAt(needle, j);
    if (x.folded != y.folded) return std::string_view::npos;
    i += x.length;
    j += y.length;
  }
  return i - at;
}

std::string TrimSpaces(std::string_view text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

}  // namespace

std::string DataText(uint32_t type, std::string_view bytes) {
  if (type == kString || type == kExpandableString) {
    if (!bytes.empty()) bytes.remove_suffix(1);
    return TrimSpaces(bytes);
  }
  if (type != kMultiString) return {};
  return JoinMultiString(bytes);
}

TextMatch FindIgnoringCase(std::string_view text, std::string_view needle, size_t from) {
  if (needle.empty()) return {from < text.size() ? from : std::string_view::npos, 0};
  // Only whole characters start a match: a step is one unit of the text.
  for (size_t at = from; at < text.size(); at += platform::FoldedUnitAt(text, at).length) {
    const size_t length = MatchLengthAt(text, at, needle);
    if (length != std::string_view::npos) return {at, length};
  }
  return {std::string_view::npos, 0};
}

size_t FindNoCase(std::string_view text, std::string_view needle, size_t from) {
  return FindIgnoringCase(text, needle, from).at;
}

bool TextMatches(std::string_view text, std::string_view sought, uint8_t mode) {
  if (mode == static_cast<uint8_t>(MatchMode::kWholeString)) return platform::SameIgnoringCase(text, sought);
  if (mode == static_cast<uint8_t>(MatchMode::kPartialString)) {
    return FindNoCase(text, sought) != std::string_view::npos;
  }
  return false;
}

std::string ReplaceAllNoCase(std::string text, std::string_view find, std::string_view with) {
  TextMatch match = FindIgnoringCase(text, find);
  while (match.at != std::string::npos) {
    text.replace(match.at, match.length, with);
    match = FindIgnoringCase(text, find, match.at);
  }
  return text;
}

std::string ReplaceFirstNoCase(std::string text, std::string_view find, std::string_view with) {
  const TextMatch match = FindIgnoringCase(text, find);
  if (match.at != std::string::npos) text.replace(match.at, match.length, with);
  return text;
}

}  // namespace orvane
