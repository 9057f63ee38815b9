// The key tree as a list of visible rows, filled through the registry API.
#include "tools/regedit/editor/key_tree.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <set>
#include <utility>

#include "platform/win32_registry.h"
#include "tools/regedit/key_handle.h"
#include "tools/regedit/root_keys.h"

namespace orvane::regedit::editor {
namespace {

constexpr std::array<std::pair<std::string_view, std::string_view>, 5> kShortRoots{{
    {"HKCR", "HKEY_CLASSES_ROOT"},
    {"HKCU", "HKEY_CURRENT_USER"},
    {"HKLM", "HKEY_LOCAL_MACHINE"},
    {"HKU", "HKEY_USERS"},
    {"HKCC", "HKEY_CURRENT_CONFIG"},
}};

std::string Upper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

// The parts of a path between backslashes, empty parts dropped.
std::vector<std::string> SplitParts(std::string_view path) {
  std::vector<std::string> parts;
  while (!path.empty()) {
    size_t slash = path.find('\\');
    std::string_view part = path.substr(0, slash);
    if (!part.empty()) parts.emplace_back(part);
    if (slash == std::string_view::npos) break;
    path.remove_prefix(slash + 1);
  }
  return parts;
}

// Opens the key a full path names for enumeration.
KeyHandle OpenForListing(const std::string& full_path, long* status) {
  KeyPath split = SplitKeyPath(full_path);
  KeyHandle key;
  *status = split.root == nullptr ? ERROR_FILE_NOT_FOUND
                                  : RegOpenKeyExA(split.root, split.path.c_str(), 0, KEY_READ, key.out());
  return key;
}

}  // namespace

std::string NormalisePath(std::string_view full_path) {
  std::vector<std::string> parts = SplitParts(full_path);
  if (parts.empty()) return {};
  std::string root = Upper(parts[0]);
  for (const auto& [short_name, long_name] : kShortRoots) {
    if (root == short_name) root = long_name;
  }
  bool known = std::any_of(RootKeys().begin(), RootKeys().end(),
                           [&](const RootKey& key) { return key.name == root; });
  if (!known) return {};
  for (size_t i = 1; i < parts.size(); ++i) root += "\\" + parts[i];
  return root;
}

KeyTree::KeyTree() {
  for (const RootKey& root : RootKeys()) {
    KeyHandle key;
    if (RegOpenKeyExA(root.handle, "", 0, KEY_READ, key.out()) != ERROR_SUCCESS) continue;
    rows_.push_back(TreeRow{std::string(root.name), std::string(root.name), 0, false, false});
  }
}

void KeyTree::Select(size_t row) {
  if (!rows_.empty()) selected_ = std::min(row, rows_.size() - 1);
}

std::vector<TreeRow> KeyTree::LoadChildren(const TreeRow& parent, long* status) const {
  std::vector<TreeRow> children;
  KeyHandle key = OpenForListing(parent.path, status);
  if (*status != ERROR_SUCCESS) return children;
  LONG list_status = 0;
  std::vector<std::string> names = SubKeyNames(key.get(), &list_status);
  children.reserve(names.size());
  for (std::string& name : names) {
    children.push_back(TreeRow{parent.path + "\\" + name, std::move(name), parent.depth + 1, false, false});
  }
  return children;
}

long KeyTree::Expand(size_t row) {
  if (row >= rows_.size() || rows_[row].expanded) return 0;
  long status = 0;
  std::vector<TreeRow> children = LoadChildren(rows_[row], &status);
  if (status != 0) return status;
  rows_[row].expanded = true;
  rows_[row].childless = children.empty();
  rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(row) + 1, std::make_move_iterator(children.begin()),
               std::make_move_iterator(children.end()));
  if (selected_ > row) selected_ += children.size();
  return 0;
}

size_t KeyTree::EndOfSubtree(size_t row) const {
  size_t end = row + 1;
  while (end < rows_.size() && rows_[end].depth > rows_[row].depth) ++end;
  return end;
}

void KeyTree::Collapse(size_t row) {
  if (row >= rows_.size()) return;
  size_t end = EndOfSubtree(row);
  if (selected_ > row && selected_ < end) selected_ = row;
  else if (selected_ >= end) selected_ -= end - row - 1;
  rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(row) + 1, rows_.begin() + static_cast<std::ptrdiff_t>(end));
  rows_[row].expanded = false;
}

size_t KeyTree::ParentRow(size_t row) const {
  if (row >= rows_.size()) return 0;
  size_t parent = row;
  while (parent > 0 && rows_[parent].depth >= rows_[row].depth) --parent;
  return rows_[parent].depth < rows_[row].depth ? parent : row;
}

size_t KeyTree::FindChild(size_t row, std::string_view name) const {
  std::string wanted = Upper(name);
  for (size_t child = row + 1; child < rows_.size() && rows_[child].depth > rows_[row].depth; ++child) {
    if (rows_[child].depth == rows_[row].depth + 1 && Upper(rows_[child].name) == wanted) return child;
  }
  return rows_.size();
}

bool KeyTree::Reveal(std::string_view full_path) {
  std::vector<std::string> parts = SplitParts(NormalisePath(full_path));
  if (parts.empty()) return false;
  size_t row = 0;
  while (row < rows_.size() && rows_[row].path != parts[0]) ++row;
  if (row == rows_.size()) return false;
  for (size_t i = 1; i < parts.size(); ++i) {
    Expand(row);
    size_t child = FindChild(row, parts[i]);
    if (child == rows_.size()) {
      selected_ = row;
      return false;
    }
    row = child;
  }
  selected_ = row;
  return true;
}

void KeyTree::Reload() {
  std::set<std::string> expanded;
  for (const TreeRow& row : rows_) {
    if (row.expanded) expanded.insert(Upper(row.path));
  }
  const std::string selected_path = SelectedPath();
  std::vector<TreeRow> old = std::move(rows_);
  rows_.clear();
  for (TreeRow& root : old) {
    if (root.depth == 0) rows_.push_back(TreeRow{root.path, root.name, 0, false, false});
  }
  for (size_t row = 0; row < rows_.size(); ++row) {
    if (expanded.count(Upper(rows_[row].path)) != 0) Expand(row);
  }
  selected_ = 0;
  Reveal(selected_path);
}

}  // namespace orvane::regedit::editor
