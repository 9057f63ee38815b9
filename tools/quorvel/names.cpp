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

namespace {

constexpr std::array<std::string_view, 13> kKeywords = {
    "Print", "Call", "Set", "New", "Nothing", "Help", "True", "False", "Empty", "Null", "Err", "Save", "Resize"};
constexpr std::array<std::string_view, 2> kExtenderProperties = {"Width", "Height"};

bool InTable(std::span<const std::string_view> table, std::string_view name) {
  return std::any_of(table.begin(), table.end(), [&](std::string_view k) { return SameName(k, name); });
}

}  // namespace

bool IsKeyword(std::string_view name) { return InTable(kKeywords, name); }

std::span<const std::string_view> Keywords() { return kKeywords; }

bool IsExtenderProperty(std::string_view name) { return InTable(kExtenderProperties, name); }

std::span<const std::string_view> ExtenderProperties() { return kExtenderProperties; }

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
