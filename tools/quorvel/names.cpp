#include "names.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "builtins.h"

namespace quorvel {

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

std::string NameKey(std::string_view name) {
  std::string key(name);
  for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return key;
}

bool IsKeyword(std::string_view name) {
  static constexpr std::array<std::string_view, 13> kKeywords = {
      "Print", "Call", "Set", "New", "Nothing", "Help", "True", "False", "Empty", "Null", "Err", "Save", "Resize"};
  return std::any_of(kKeywords.begin(), kKeywords.end(), [&](std::string_view k) { return SameName(k, name); });
}

bool IsExtenderProperty(std::string_view name) { return SameName(name, "Width") || SameName(name, "Height"); }

const orvane::EnumConstant* FindConstant(std::string_view name) {
  for (const auto& constant : orvane::QuorvelEnumConstants()) {
    if (SameName(constant.name, name)) return &constant;
  }
  return nullptr;
}

bool IsVariableName(std::string_view name) {
  return !IsKeyword(name) && FindBuiltin(name) == nullptr && orvane::FindMember(name) == nullptr &&
         !IsExtenderProperty(name) && FindConstant(name) == nullptr;
}

}  // namespace quorvel
