#include "tools/reg/reg_switches.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

namespace orvane::reg {
namespace {

using Setter = bool (*)(Options&, const std::string&);

struct Switch {
  std::string_view verbs;  // the verbs that know it, separated by blanks
  std::string_view name;   // without the leading "/"
  bool has_value;
  Setter set;              // false when the switch was given already
};

template <typename T>
bool SetOnce(std::optional<T>& field, T value) {
  if (field) return false;
  field = std::move(value);
  return true;
}

bool SetFlag(bool& field) { return !std::exchange(field, true); }

bool SetOutput(Options& options, CompareOutput output) { return SetOnce(options.output, output); }

const std::array<Switch, 22> kSwitches = {{
    {"query add delete compare", "v", true, [](Options& o, const std::string& v) { return SetOnce(o.value_name, v); }},
    {"query add delete compare", "ve", false, [](Options& o, const std::string&) { return SetFlag(o.default_value); }},
    {"delete", "va", false, [](Options& o, const std::string&) { return SetFlag(o.all_values); }},
    {"query copy compare", "s", false, [](Options& o, const std::string&) { return SetFlag(o.recurse); }},
    {"add", "s", true, [](Options& o, const std::string& v) { return SetOnce(o.separator, v); }},
    {"add query", "t", true, [](Options& o, const std::string& v) { return SetOnce(o.type, v); }},
    {"add", "d", true, [](Options& o, const std::string& v) { return SetOnce(o.data, v); }},
    {"query", "f", true, [](Options& o, const std::string& v) { return SetOnce(o.find, v); }},
    {"query", "k", false, [](Options& o, const std::string&) { return SetFlag(o.keys_only); }},
    {"query", "d", false, [](Options& o, const std::string&) { return SetFlag(o.data_only); }},
    {"query", "c", false, [](Options& o, const std::string&) { return SetFlag(o.case_sensitive); }},
    {"query", "e", false, [](Options& o, const std::string&) { return SetFlag(o.exact); }},
    {"query", "z", false, [](Options& o, const std::string&) { return SetFlag(o.type_numbers); }},
    {"query", "se", true, [](Options& o, const std::string& v) { return SetOnce(o.separator, v); }},
    {"add delete copy", "f", false, [](Options& o, const std::string&) { return SetFlag(o.force); }},
    {"export save", "y", false, [](Options& o, const std::string&) { return SetFlag(o.overwrite_file); }},
    {"compare", "oa", false, [](Options& o, const std::string&) { return SetOutput(o, CompareOutput::kAll); }},
    {"compare", "od", false, [](Options& o, const std::string&) { return SetOutput(o, CompareOutput::kDifferences); }},
    {"compare", "os", false, [](Options& o, const std::string&) { return SetOutput(o, CompareOutput::kSame); }},
    {"compare", "on", false, [](Options& o, const std::string&) { return SetOutput(o, CompareOutput::kNothing); }},
    // Accepted and ignored: there is one registry view on this platform.
    {"query add delete copy compare export import load unload save restore", "reg:32", false, [](Options&, const std::string&) { return true; }},
    {"query add delete copy compare export import load unload save restore", "reg:64", false, [](Options&, const std::string&) { return true; }},
}};

bool KnowsVerb(std::string_view verbs, std::string_view verb) {
  while (!verbs.empty()) {
    const size_t end = std::min(verbs.find(' '), verbs.size());
    if (verbs.substr(0, end) == verb) return true;
    verbs.remove_prefix(std::min(end + 1, verbs.size()));
  }
  return false;
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

const Switch* FindSwitch(std::string_view verb, std::string_view word) {
  if (word.size() < 2 || (word[0] != '/' && word[0] != '-')) return nullptr;
  const std::string name = Lower(word.substr(1));
  for (const Switch& entry : kSwitches) {
    if (entry.name == name && KnowsVerb(entry.verbs, verb)) return &entry;
  }
  return nullptr;
}

bool IsHelp(const std::string& word) { return word == "/?" || word == "-?" || word == "--help"; }

}  // namespace

int PositionalCount(std::string_view verb) {
  if (verb == "query" || verb == "add" || verb == "delete" || verb == "import" || verb == "unload") return 1;
  if (verb == "copy" || verb == "compare" || verb == "export" || verb == "load" || verb == "save" ||
      verb == "restore") {
    return 2;
  }
  return -1;
}

std::optional<Options> ParseOptions(std::string_view verb, const std::vector<std::string>& words) {
  Options options;
  // A program's arguments never hold a NUL; a caller's words that do would
  // be cut at it on their way to the registry or a file.
  for (const std::string& word : words) {
    if (word.find('\0') != std::string::npos) return std::nullopt;
  }
  if (words.size() == 1 && IsHelp(words[0])) {
    options.help = true;
    return options;
  }
  const int count = PositionalCount(verb);
  if (count < 0 || words.size() < static_cast<size_t>(count)) return std::nullopt;
  options.positional.assign(words.begin(), words.begin() + count);
  for (size_t i = static_cast<size_t>(count); i < words.size(); ++i) {
    const Switch* entry = FindSwitch(verb, words[i]);
    if (entry == nullptr) return std::nullopt;
    std::string value;
    if (entry->has_value) {
      if (i + 1 >= words.size()) return std::nullopt;
      value = words[++i];
    }
    if (!entry->set(options, value)) return std::nullopt;
  }
  return options;
}

}  // namespace orvane::reg
