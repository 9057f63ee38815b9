// A multi-string's raw data: entries each ended by a zero, then one more
// zero ending the list. Stored data may lack either terminator; only the
// terminators that are there are dropped, so "a\0b\0\0", "a\0b\0" and
// "a\0b" all hold the entries a and b. Pure string routines.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvane {

// The data without its terminators: two final zeros when there are two,
// otherwise one final zero when there is one.
std::string_view MultiStringBody(std::string_view data);

// The entries of the data, in order (none for data that holds only
// terminators). An entry may hold any character but zero, "|" included.
std::vector<std::string> MultiStringEntries(std::string_view data);

// The entries each followed by a zero, then the list's final zero; two
// zeros for no entries.
std::string MultiStringFromEntries(const std::vector<std::string>& entries);

}  // namespace orvane
