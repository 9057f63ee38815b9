#include "completion.h"

#include <algorithm>

#include "builtins.h"
#include "names.h"
#include "orvane/dispatch.h"

namespace quorvel {
namespace {

bool StartsWith(std::string_view word, std::string_view prefix) {
  return word.size() >= prefix.size() && SameName(word.substr(0, prefix.size()), prefix);
}

bool LessIgnoringCase(const std::string& a, const std::string& b) { return NameKey(a) < NameKey(b); }

// Every word the prompt knows: the tables' words first, so that their
// spelling wins over a control name that differs only in case.
std::vector<std::string> AllWords(const std::vector<std::string>& controls) {
  std::vector<std::string> words;
  for (const orvane::MemberInfo& member : orvane::QuorvelMembers()) words.emplace_back(member.name);
  for (const orvane::EnumConstant& constant : orvane::QuorvelEnumConstants()) words.emplace_back(constant.name);
  for (std::string_view name : BuiltinNames()) words.emplace_back(name);
  for (std::string_view name : Keywords()) words.emplace_back(name);
  for (std::string_view name : ExtenderProperties()) words.emplace_back(name);
  words.insert(words.end(), controls.begin(), controls.end());
  return words;
}

}  // namespace

std::vector<std::string> CompletionsOf(std::string_view prefix, const std::vector<std::string>& controls) {
  std::vector<std::string> matches;
  for (std::string& word : AllWords(controls)) {
    if (StartsWith(word, prefix)) matches.push_back(std::move(word));
  }
  std::stable_sort(matches.begin(), matches.end(), LessIgnoringCase);
  matches.erase(std::unique(matches.begin(), matches.end(),
                            [](const std::string& a, const std::string& b) { return SameName(a, b); }),
                matches.end());
  return matches;
}

}  // namespace quorvel
