#include "store/hive/hive_view.h"

#include <hivex.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "store/hive/hive_error.h"
#include "store/hive/hive_nodes.h"
#include "store/hive/hive_text.h"
#include "store/name_case.h"

namespace orvane::platform {
namespace {

bool FoldedBefore(const KeyInfo* a, const KeyInfo* b) { return a->folded < b->folded; }

}  // namespace

HiveView::HiveView(std::filesystem::path file, KeyInfo root, HiveLock& lock)
    : file_(std::move(file)), root_(std::move(root)), lock_(lock) {}

void HiveView::BeginCall() {
  retired_.clear();
  checked_ = false;
}

void HiveView::EndCall() {
  checked_ = false;
  if (!dirty_) return;
  dirty_ = false;
  try {
    hive_->CommitTo(file_);
  } catch (...) {
    hive_.reset();
    Retire();
    throw;
  }
}

void HiveView::AbortCall() {
  checked_ = false;
  if (!dirty_) return;
  dirty_ = false;
  hive_.reset();
  Retire();
}

void HiveView::Adopt(std::unique_ptr<HiveFile> hive) {
  hive_ = std::move(hive);
  root_.mtime = std::max<int64_t>(0, hivex_node_timestamp(hive_->handle(), RootNode()));
}

void HiveView::Close() {
  hive_.reset();
  Retire();
  dirty_ = false;
}

void HiveView::Retire() {
  if (!nodes_.empty()) retired_.push_back(std::move(nodes_));
  nodes_.clear();
}

void HiveView::Reopen(bool writable) {
  auto opened = std::make_unique<HiveFile>(file_, writable);
  hive_ = std::move(opened);
  root_.mtime = std::max<int64_t>(0, hivex_node_timestamp(hive_->handle(), RootNode()));
}

void HiveView::Refresh() {
  if (checked_) return;
  FileIdentity now;
  if (!ReadIdentity(file_, &now)) {
    const int error = errno;
    throw HiveError(ERROR_CANTOPEN, "hive file " + file_.string() + " loaded as \"" + root_.name +
                                        "\" cannot be read: " + std::strerror(error));
  }
  if (!hive_) {
    Reopen(false);
  } else if (!dirty_ && !(now == hive_->identity())) {
    Retire();  // another process wrote a new version
    Reopen(false);
  }
  checked_ = true;
}

void HiveView::PrepareWrite() {
  lock_.Acquire();
  checked_ = false;
  Refresh();
  if (!hive_->writable()) Reopen(true);  // the same content, read whole: the cached keys stay
}

size_t HiveView::RootNode() const { return hivex_root(hive_->handle()); }

HiveView::Node* HiveView::Load(uint32_t offset) {
  if (auto found = nodes_.find(offset); found != nodes_.end()) return &found->second;
  Node node;
  if (offset != 0) {
    const size_t parent = hivex_node_parent(hive_->handle(), offset);
    if (parent == 0 || !ReadHiveName(hive_->handle(), offset, &node.info.name)) return nullptr;
    node.info.id = IdOf(offset);
    node.info.parent = IdOf(OffsetOf(parent));
    node.info.folded = FoldCase(node.info.name);
    node.info.mtime = std::max<int64_t>(0, hivex_node_timestamp(hive_->handle(), offset));
    node.info.born = root_.born;
  }
  return &nodes_.emplace(offset, std::move(node)).first->second;
}

const KeyInfo* HiveView::Find(uint32_t offset) {
  Refresh();
  Node* node = Load(offset);
  if (node == nullptr) return nullptr;
  return offset == 0 ? &root_ : &node->info;
}

const ChildList& HiveView::Children(uint32_t offset) {
  Refresh();
  Node* node = Load(offset);
  if (node == nullptr) throw HiveError(ERROR_KEY_DELETED, "hive file " + file_.string() + ": key gone");
  if (node->children) return *node->children;
  std::vector<const KeyInfo*> keys;
  for (const HiveChild& child : ReadHiveChildren(hive_->handle(), NodeOf(offset), file_)) {
    if (const Node* loaded = Load(static_cast<uint32_t>(child.node))) keys.push_back(&loaded->info);
  }
  std::stable_sort(keys.begin(), keys.end(), FoldedBefore);
  node = Load(offset);  // loading the children may have rehashed the map, never moved a node
  node->children = std::make_unique<ChildList>();
  for (const KeyInfo* key : keys) node->children->push_back(key);
  return *node->children;
}

const KeyInfo* HiveView::FindChild(uint32_t parent, std::string_view name) {
  const ChildList& children = Children(parent);
  KeyInfo probe;
  probe.folded = FoldCase(name);
  const auto at = std::lower_bound(children.begin(), children.end(), &probe, FoldedBefore);
  return at != children.end() && (*at)->folded == probe.folded ? *at : nullptr;
}

const ValueList& HiveView::Values(uint32_t offset) {
  Refresh();
  Node* node = Load(offset);
  if (node == nullptr) throw HiveError(ERROR_KEY_DELETED, "hive file " + file_.string() + ": key gone");
  if (!node->values) {
    node->raw = ReadHiveValues(hive_->handle(), NodeOf(offset), file_);
    node->values = std::make_unique<ValueList>();
    for (const ValueRecord& value : node->raw) {
      node->values->Append({value.name, value.type, RegistryDataFromHive(value.type, value.data), value.seq});
    }
  }
  return *node->values;
}

const KeyInfo* HiveView::CreateChild(uint32_t parent, std::string_view name) {
  PrepareWrite();
  const ChildList& siblings = Children(parent);
  const size_t added = AddHiveChild(hive_->handle(), NodeOf(parent), std::string(name), file_);
  dirty_ = true;
  const Node* child = Load(static_cast<uint32_t>(added));
  if (child == nullptr) throw HiveError(ERROR_CANTWRITE, "hive file " + file_.string() + ": new key unreadable");
  ChildList& list = const_cast<ChildList&>(siblings);
  list.insert(std::lower_bound(list.begin(), list.end(), &child->info, FoldedBefore), &child->info);
  return &child->info;
}

void HiveView::DeleteLeaf(uint32_t offset) {
  if (offset == 0) throw HiveError(ERROR_ACCESS_DENIED, "the root of a loaded hive cannot be deleted");
  PrepareWrite();
  const Node* node = Load(offset);
  if (node == nullptr) return;
  const uint32_t parent = static_cast<uint32_t>(node->info.parent - root_.id);
  ChildList& siblings = const_cast<ChildList&>(Children(parent));
  if (hivex_node_delete_child(hive_->handle(), offset) != 0) {
    throw HiveError(ERROR_CANTWRITE, "hive file " + file_.string() + ": cannot delete a key");
  }
  dirty_ = true;
  const auto at = std::find(siblings.begin(), siblings.end(), &node->info);
  if (at != siblings.end()) siblings.erase(at);
  retired_.emplace_back().insert(nodes_.extract(offset));  // its KeyInfo stays valid until the call ends
}

void HiveView::WriteValues(uint32_t offset, std::vector<ValueRecord> raw) {
  WriteHiveValues(hive_->handle(), NodeOf(offset), raw, file_);
  dirty_ = true;
  Load(offset)->raw = std::move(raw);
}

void HiveView::SetValue(uint32_t offset, std::string_view name, uint32_t type, std::string_view data) {
  PrepareWrite();
  ValueList& values = const_cast<ValueList&>(Values(offset));
  std::vector<ValueRecord> raw = Load(offset)->raw;
  const std::string folded = FoldCase(name);
  auto same = std::find_if(raw.begin(), raw.end(), [&](const ValueRecord& v) { return FoldCase(v.name) == folded; });
  if (same == raw.end()) same = raw.insert(raw.end(), ValueRecord{std::string(name), 0, {}, values.NextSeq()});
  same->type = type;
  same->data = HiveDataFromRegistry(type, data);
  const ValueRecord added = *same;
  WriteValues(offset, std::move(raw));
  if (ValueRecord* cached = values.FindFolded(folded)) {
    cached->type = type;
    cached->data.assign(data);
  } else {
    values.Append({added.name, type, std::string(data), added.seq});
  }
}

bool HiveView::DeleteValue(uint32_t offset, std::string_view name) {
  PrepareWrite();
  ValueList& values = const_cast<ValueList&>(Values(offset));
  if (values.Find(name) == nullptr) return false;
  const std::string folded = FoldCase(name);
  std::vector<ValueRecord> raw = Load(offset)->raw;
  std::erase_if(raw, [&](const ValueRecord& v) { return FoldCase(v.name) == folded; });
  WriteValues(offset, std::move(raw));
  values.Erase(folded);
  return true;
}

}  // namespace orvane::platform
