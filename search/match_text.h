// Texts that search and replace compare: the data text of a value, the
// matching of a name or data text against the text sought (letter case
// ignored for every letter, as the registry compares names:
// store/name_case.h), and the replacement of what matched. Stateless.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orvane {

// How a name or data text must hold the text sought (the numbers of the
// type library's QVFindMode).
enum class MatchMode : uint8_t { kWholeString = 0, kPartialString = 1 };

// The data text of a value from its stored bytes: string and expandable
// string, the text without its terminator with spaces trimmed at both ends;
// multi-string, the entries joined by "|" (JoinMultiString);
// any other type, the empty string.
std::string DataText(uint32_t type, std::string_view bytes);

// Where the first occurrence of `needle` in `text` at or after `from`
// starts, letter case ignored, and how many bytes of `text` it takes (an
// upper and a lower case letter may differ in length); `at` npos when there
// is none. An empty needle is found at `from` when `from` is inside a
// non-empty text, never otherwise.
struct TextMatch {
  size_t at;
  size_t length;
};
TextMatch FindIgnoringCase(std::string_view text, std::string_view needle, size_t from = 0);
// The position alone.
size_t FindNoCase(std::string_view text, std::string_view needle, size_t from = 0);

// Whole: equal ignoring case. Partial: contains, as FindNoCase. Any other
// mode byte matches nothing.
bool TextMatches(std::string_view text, std::string_view sought, uint8_t mode);

// Every occurrence of `find` replaced by `with`, searching again from where
// each replacement starts; `with` must not contain `find` (the caller
// checks) and `find` must not be empty.
std::string ReplaceAllNoCase(std::string text, std::string_view find, std::string_view with);

// Only the first occurrence replaced (the text unchanged when none).
std::string ReplaceFirstNoCase(std::string text, std::string_view find, std::string_view with);

}  // namespace orvane
