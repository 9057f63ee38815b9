#include "tools/reg/reg_key_name.h"

#include <array>

#include "tools/regedit/root_keys.h"

namespace orvane::reg {
namespace {

struct ShortRoot {
  std::string_view short_name;
  std::string_view full_name;
};

// The abbreviations reg accepts; HKEY_DYN_DATA has none.
constexpr std::array<ShortRoot, 5> kShortRoots = {{
    {"HKCR", "HKEY_CLASSES_ROOT"},
    {"HKCU", "HKEY_CURRENT_USER"},
    {"HKLM", "HKEY_LOCAL_MACHINE"},
    {"HKU", "HKEY_USERS"},
    {"HKCC", "HKEY_CURRENT_CONFIG"},
}};

// The full root name for `first` (a full or short root name), or "".
std::string_view FullRootName(std::string_view first) {
  for (const ShortRoot& root : kShortRoots) {
    if (regedit::EqualsIgnoringCase(first, root.short_name)) return root.full_name;
  }
  for (const regedit::RootKey& root : regedit::RootKeys()) {
    if (regedit::EqualsIgnoringCase(first, root.name)) return root.name;
  }
  return {};
}

HKEY RootHandle(std::string_view full_name) {
  for (const regedit::RootKey& root : regedit::RootKeys()) {
    if (root.name == full_name) return root.handle;
  }
  return nullptr;
}

}  // namespace

KeyName KeyName::Child(std::string_view child) const {
  KeyName result = *this;
  if (!result.path.empty()) result.path.push_back('\\');
  result.path.append(child);
  return result;
}

std::optional<KeyName> ParseKeyName(std::string_view text) {
  if (text.starts_with("\\\\")) return std::nullopt;
  if (text.ends_with('\\')) text.remove_suffix(1);
  const size_t end = text.find('\\');
  const std::string_view full = FullRootName(text.substr(0, end));
  if (full.empty()) return std::nullopt;
  KeyName key{RootHandle(full), std::string(full), ""};
  if (end == std::string_view::npos) return key;
  key.path = std::string(text.substr(end + 1));
  if (key.path.empty() || key.path.front() == '\\' || key.path.find("\\\\") != std::string::npos) return std::nullopt;
  return key;
}

}  // namespace orvane::reg
