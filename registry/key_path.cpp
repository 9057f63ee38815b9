// Root names, path trimming and splitting, and global key path parsing.
#include "registry/key_path.h"

#include <array>

#include "store/name_case.h"
#include "registry/nt_platform.h"
#include "registry/registry_error.h"

namespace orvane {
namespace {

struct RootName {
  int32_t root;
  std::string_view name;
};

// The roots a global key path may name, in the order they are tried.
constexpr std::array<RootName, 6> kSelectableRoots{{
    {kHkeyClassesRoot, "HKEY_CLASSES_ROOT"},
    {kHkeyCurrentUser, "HKEY_CURRENT_USER"},
    {kHkeyLocalMachine, "HKEY_LOCAL_MACHINE"},
    {kHkeyUsers, "HKEY_USERS"},
    {kHkeyCurrentConfig, "HKEY_CURRENT_CONFIG"},
    {kHkeyDynData, "HKEY_DYN_DATA"},
}};

std::string AsciiUpper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

// The position of the backslash that ParentKeyPath and LeafKeyName split
// at: the last one before the final character, or npos.
size_t SplitPosition(std::string_view path) {
  if (path.size() < 2) return std::string_view::npos;
  return path.rfind('\\', path.size() - 2);
}

int32_t MatchRootName(std::string_view name) {
  const std::string upper = AsciiUpper(name);
  for (const RootName& root : kSelectableRoots) {
    if (upper == root.name) return root.root;
  }
  RaiseRegistryErrorCode(kCodeParameterIncorrect);
}

}  // namespace

std::string RootKeyName(int32_t root) {
  if (root == kHkeyPerformanceData) return "HKEY_PERFORMANCE_DATA";
  for (const RootName& entry : kSelectableRoots) {
    if (entry.root == root) return std::string(entry.name);
  }
  return "";
}

std::string TrimKeyPath(std::string_view path) {
  if (!path.empty() && path.front() == '\\') path.remove_prefix(1);
  if (!path.empty() && path.back() == '\\') path.remove_suffix(1);
  return std::string(path);
}

std::string ParentKeyPath(std::string_view path) {
  const size_t split = SplitPosition(path);
  return split == std::string_view::npos ? "" : std::string(path.substr(0, split));
}

std::string LeafKeyName(std::string_view path) {
  const size_t split = SplitPosition(path);
  return std::string(split == std::string_view::npos ? path : path.substr(split + 1));
}

void RefuseNulInName(std::string_view name) {
  if (name.find('\0') != std::string_view::npos) RaiseRegistryErrorCode(kCodeParameterIncorrect);
}

bool ValidateKeyPath(std::string_view path) {
  RefuseNulInName(path);
  size_t name_start = 0;
  for (size_t i = 0; i <= path.size(); ++i) {
    if (i < path.size() && path[i] != '\\') continue;
    if (platform::Utf16Length(path.substr(name_start, i - name_start)) > kMaxKeyNameLength) {
      RaiseRegistryErrorCode(kCodeKeyTooLong);
    }
    name_start = i + 1;
  }
  return true;
}

std::string CollapseBackslashes(std::string_view text) {
  std::string collapsed;
  collapsed.reserve(text.size());
  for (char c : text) {
    if (c == '\\' && !collapsed.empty() && collapsed.back() == '\\') continue;
    collapsed.push_back(c);
  }
  return collapsed;
}

GlobalKeyPathParts ParseGlobalKeyPath(std::string_view text, int32_t current_root) {
  std::string path = TrimKeyPath(CollapseBackslashes(text));
  if (path.empty()) path = RootKeyName(current_root);
  const size_t backslash = path.find('\\');
  GlobalKeyPathParts parts;
  parts.root = MatchRootName(std::string_view(path).substr(0, backslash));
  if (parts.root == kHkeyDynData && NtPlatform()) RaiseRegistryErrorCode(kCodeDynDataOnNt);
  parts.global_key_path = RootKeyName(parts.root);
  if (backslash != std::string::npos) {
    parts.sub_key_path = path.substr(backslash + 1);
    parts.global_key_path += "\\" + parts.sub_key_path;
  }
  ValidateKeyPath(parts.sub_key_path);
  return parts;
}

}  // namespace orvane
