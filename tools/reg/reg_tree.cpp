#include "tools/reg/reg_tree.h"

#include <utility>

#include "tools/regedit/key_handle.h"
#include "tools/regedit/key_progress.h"

namespace orvane::reg {

LONG ReadTree(HKEY key, bool recurse, KeyTree* tree) {
  regedit::KeyProgress::CountKey();
  LONG status = ERROR_SUCCESS;
  tree->values = ReadValues(key, &status);
  if (status != ERROR_SUCCESS) return status;
  tree->subkey_names = SubKeyNames(key, &status);
  if (status != ERROR_SUCCESS || !recurse) return status;
  for (const std::string& name : tree->subkey_names) {
    regedit::KeyHandle child;
    status = RegOpenKeyExA(key, name.c_str(), 0, KEY_READ, child.out());
    if (status != ERROR_SUCCESS) return status;
    KeyTree subtree;
    if ((status = ReadTree(child.get(), true, &subtree)) != ERROR_SUCCESS) return status;
    tree->subkeys.push_back({name, std::move(subtree)});
  }
  return ERROR_SUCCESS;
}

}  // namespace orvane::reg
