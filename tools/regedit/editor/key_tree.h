// The editor's key tree: the roots the platform shows, each key expanded
// and collapsed on request, sub-keys listed in the registry's order and
// loaded only when their parent is expanded. The tree is kept as the list
// of visible rows, so drawing and moving cost nothing per hidden key.
// Owned by one editor; one thread.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace orvane::regedit::editor {

struct TreeRow {
  std::string path;   // full path: "HKEY_LOCAL_MACHINE\SOFTWARE"
  std::string name;   // the last part of the path (the root's name for a root)
  int depth = 0;      // 0 for a root
  bool expanded = false;
  bool childless = false;  // known to have no sub-keys (expanded once, found none)
};

class KeyTree {
 public:
  // The roots that open on this platform, collapsed; the first selected.
  KeyTree();

  const std::vector<TreeRow>& rows() const { return rows_; }
  size_t selected() const { return selected_; }
  const TreeRow& SelectedRow() const { return rows_[selected_]; }
  const std::string& SelectedPath() const { return rows_[selected_].path; }
  void Select(size_t row);

  // Lists the sub-keys of the row below it. Returns the registry status of
  // opening the key (0 on success); a key that cannot be opened stays
  // collapsed.
  long Expand(size_t row);
  // Hides everything below the row; the selection moves to it when it was
  // inside.
  void Collapse(size_t row);
  // The row of the parent key, or the row itself for a root.
  size_t ParentRow(size_t row) const;

  // Expands every key along `full_path` (a root name, case ignored, or its
  // short form HKLM, HKCU, HKCR, HKU, HKCC, then names separated by "\")
  // and selects it. Returns false, selecting the deepest key found, when a
  // part does not exist.
  bool Reveal(std::string_view full_path);

  // Lists every expanded key again (after a change), keeping what was
  // expanded and the selection where those keys still exist.
  void Reload();

 private:
  std::vector<TreeRow> LoadChildren(const TreeRow& parent, long* status) const;
  size_t EndOfSubtree(size_t row) const;
  size_t FindChild(size_t row, std::string_view name) const;

  std::vector<TreeRow> rows_;
  size_t selected_ = 0;
};

// The full path with its root written in full ("hklm\x" -> "HKEY_LOCAL_MACHINE\x")
// and empty parts dropped; empty when the root is unknown.
std::string NormalisePath(std::string_view full_path);

}  // namespace orvane::regedit::editor
