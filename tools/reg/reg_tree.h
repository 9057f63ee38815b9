// A key's values and, optionally, its whole subtree, read into memory in
// the store's order. copy reads its source this way before writing, so a
// destination inside the source is not copied into itself; compare walks
// two of them. A plain value; reading calls the registry API.
#pragma once

#include <string>
#include <vector>

#include "platform/win32_registry.h"
#include "tools/reg/reg_store.h"

namespace orvane::reg {

struct NamedKeyTree;

struct KeyTree {
  std::vector<Value> values;
  std::vector<std::string> subkey_names;  // always read
  std::vector<NamedKeyTree> subkeys;      // with `recurse` only
};

// A sub-key's name and tree. A struct of its own rather than a std::pair,
// whose instantiation would need KeyTree complete inside KeyTree.
struct NamedKeyTree {
  std::string name;
  KeyTree tree;
};

// Reads the open key `key`, and its subtree when `recurse`. Returns the
// first failing status.
LONG ReadTree(HKEY key, bool recurse, KeyTree* tree);

}  // namespace orvane::reg
