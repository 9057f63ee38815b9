#include "tools/regedit/root_keys.h"

#include <array>

namespace orvane::regedit {
namespace {

const std::array<RootKey, 6> kRoots = {{
    {"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
    {"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
    {"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
    {"HKEY_USERS", HKEY_USERS},
    {"HKEY_CURRENT_CONFIG", HKEY_CURRENT_CONFIG},
    {"HKEY_DYN_DATA", HKEY_DYN_DATA},
}};

const std::array<RootKey, 3> kStoredRoots = {{
    {"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
    {"HKEY_USERS", HKEY_USERS},
    {"HKEY_DYN_DATA", HKEY_DYN_DATA},
}};

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Appends the non-empty backslash-separated parts of `rest` to `out`.
void AppendParts(std::string_view rest, std::string* out) {
  while (!rest.empty()) {
    const size_t end = rest.find('\\');
    const std::string_view part = rest.substr(0, end);
    if (!part.empty()) {
      if (!out->empty()) out->push_back('\\');
      out->append(part);
    }
    if (end == std::string_view::npos) break;
    rest.remove_prefix(end + 1);
  }
}

}  // namespace

std::span<const RootKey> RootKeys() { return kRoots; }

std::span<const RootKey> StoredRootKeys() { return kStoredRoots; }

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

KeyPath SplitKeyPath(std::string_view full_path) {
  const size_t end = full_path.find('\\');
  const std::string_view first = full_path.substr(0, end);
  KeyPath result;
  for (const RootKey& root : kRoots) {
    if (EqualsIgnoringCase(first, root.name)) result.root = root.handle;
  }
  if (result.root != nullptr && end != std::string_view::npos) {
    AppendParts(full_path.substr(end + 1), &result.path);
  }
  return result;
}

}  // namespace orvane::regedit
