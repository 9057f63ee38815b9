#include "search/match_text.h"

#include <algorithm>

#include "registry/value_read.h"

namespace orvane {
namespace {

constexpr uint32_t kString = 1;
constexpr uint32_t kExpandableString = 2;
constexpr uint32_t kMultiString = 7;

char Fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return Fold(x) == Fold(y);
         });
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

size_t FindNoCase(std::string_view text, std::string_view needle, size_t from) {
  if (needle.empty()) return from < text.size() ? from : std::string_view::npos;
  if (needle.size() > text.size()) return std::string_view::npos;
  const char first = Fold(needle[0]);
  for (size_t i = from; i + needle.size() <= text.size(); ++i) {
    if (Fold(text[i]) == first && SameNoCase(text.substr(i, needle.size()), needle)) return i;
  }
  return std::string_view::npos;
}

bool TextMatches(std::string_view text, std::string_view sought, uint8_t mode) {
  if (mode == static_cast<uint8_t>(FindMode::kWholeString)) return SameNoCase(text, sought);
  if (mode == static_cast<uint8_t>(FindMode::kPartialString)) {
    return FindNoCase(text, sought) != std::string_view::npos;
  }
  return false;
}

std::string ReplaceAllNoCase(std::string text, std::string_view find, std::string_view with) {
  size_t at = FindNoCase(text, find);
  while (at != std::string::npos) {
    text.replace(at, find.size(), with);
    at = FindNoCase(text, find, at);
  }
  return text;
}

std::string ReplaceFirstNoCase(std::string text, std::string_view find, std::string_view with) {
  const size_t at = FindNoCase(text, find);
  if (at != std::string::npos) text.replace(at, find.size(), with);
  return text;
}

}  // namespace orvane
