// The words after a reg verb: its fixed positional arguments (keys, file
// names) come first, then switches written "/x" or "-x" in any letter case,
// some followed by a value word. Positional words are taken by position, so
// a file name such as "/tmp/a.reg" is never read as a switch. A plain value.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane::reg {

enum class CompareOutput { kDifferences, kAll, kSame, kNothing };

struct Options {
  std::vector<std::string> positional;
  std::optional<std::string> value_name;  // /v NAME
  bool default_value = false;             // /ve
  bool all_values = false;                // /va
  bool recurse = false;                   // /s (query, copy, compare)
  std::optional<std::string> separator;   // /s SEPARATOR (add), /se SEPARATOR (query)
  std::optional<std::string> type;        // /t TYPE
  std::optional<std::string> data;        // /d DATA
  std::optional<std::string> find;        // /f TEXT (query)
  bool keys_only = false;                 // /k (query: search key names)
  bool data_only = false;                 // /d (query: search data)
  bool case_sensitive = false;            // /c (query)
  bool exact = false;                     // /e (query)
  bool type_numbers = false;              // /z (query)
  bool force = false;                     // /f (add, delete, copy)
  bool overwrite_file = false;            // /y (export)
  std::optional<CompareOutput> output;    // /oa /od /os /on
  bool help = false;                      // /?
};

// Reads `words` for the verb `verb` (lower case). Nothing when a switch is
// unknown to the verb, repeated, missing its value, or when the number of
// positional words is wrong, or when a word holds a NUL; `help` is set (and nothing else) when the one
// word is "/?", "-?" or "--help", so that "/?" can still be the data of a switch.
std::optional<Options> ParseOptions(std::string_view verb, const std::vector<std::string>& words);

// The number of positional words `verb` takes, or -1 for an unknown verb.
int PositionalCount(std::string_view verb);

}  // namespace orvane::reg
