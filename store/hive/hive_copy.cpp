#include "store/hive/hive_copy.h"

#include <hivex.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "store/hive/hive_error.h"
#include "store/hive/hive_file.h"
#include "store/hive/hive_nodes.h"
#include "store/hive/hive_text.h"
#include "store/hive/hive_writer.h"

namespace orvane::platform {
namespace {

// As deep as the registry's trees may be (see registry_keys_api.cpp).
constexpr size_t kMaxDepth = 512;

// `id` with its subtree, values as the hive holds them.
HiveKey ReadStoreTree(RegistryKind& store, const KeyInfo& key, size_t depth) {
  HiveKey tree{key.name, key.mtime, store.Values(key.id).items(), {}};
  for (ValueRecord& value : tree.values) value.data = HiveDataFromRegistry(value.type, value.data);
  if (depth > kMaxDepth) return tree;
  std::vector<int64_t> children;
  for (const KeyInfo* child : store.Children(key.id)) children.push_back(child->id);
  for (int64_t child : children) {
    if (const KeyInfo* info = store.Find(child)) tree.children.push_back(ReadStoreTree(store, *info, depth + 1));
  }
  return tree;
}

// A hive's subtree as read before the store is changed.
struct HiveTree {
  std::string name;
  std::vector<ValueRecord> values;
  std::vector<HiveTree> children;
};

void ReadTree(hive_h* hive, size_t node, size_t depth, const std::filesystem::path& file, HiveTree* tree) {
  if (depth > kMaxDepth) throw HiveError(ERROR_BADDB, "hive file " + file.string() + ": keys nested too deep");
  tree->values = ReadHiveValues(hive, node, file);
  for (ValueRecord& value : tree->values) value.data = RegistryDataFromHive(value.type, value.data);
  for (HiveChild& child : ReadHiveChildren(hive, node, file)) {
    HiveTree& sub = tree->children.emplace_back();
    sub.name = std::move(child.name);
    ReadTree(hive, child.node, depth + 1, file, &sub);
  }
}

void ClearKey(RegistryKind& store, int64_t id) {
  std::vector<int64_t> children;
  for (const KeyInfo* child : store.Children(id)) children.push_back(child->id);
  for (int64_t child : children) {
    ClearKey(store, child);
    if (const KeyInfo* key = store.Find(child)) store.DeleteLeaf(*key);
  }
  std::vector<std::string> names;
  for (const ValueRecord& value : store.Values(id).items()) names.push_back(value.name);
  for (const std::string& name : names) store.DeleteValue(id, name);
}

void CopyFromTree(RegistryKind& store, int64_t id, const HiveTree& tree) {
  for (const ValueRecord& value : tree.values) store.SetValue(id, value.name, value.type, value.data);
  for (const HiveTree& child : tree.children) {
    const KeyInfo* existing = store.FindChild(id, child.name);  // a name listed twice: merged
    CopyFromTree(store, existing != nullptr ? existing->id : store.CreateChild(id, child.name)->id, child);
  }
}

}  // namespace

void SaveToHive(RegistryKind& store, const KeyInfo& key, const std::filesystem::path& file) {
  const std::filesystem::path target = std::filesystem::absolute(file);
  if (::access(target.c_str(), F_OK) == 0) throw HiveError(ERROR_ALREADY_EXISTS, "hive file " + file.string() + ": already exists");
  HiveKey root = ReadStoreTree(store, key, 0);
  if (root.name.empty()) root.name = "ROOT";  // a predefined root's own key
  WriteNewHiveFile(target, HiveBytes(root));
}

void RestoreFromHive(RegistryKind& store, const KeyInfo& key, const std::filesystem::path& file) {
  HiveTree tree;
  {
    const HiveFile hive(file, false);
    ReadTree(hive.handle(), hivex_root(hive.handle()), 0, file, &tree);
  }
  store.BeginAtomicStep();
  const int64_t id = key.id;
  ClearKey(store, id);
  CopyFromTree(store, id, tree);
}

}  // namespace orvane::platform
