#include "store/key_store.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "store/name_case.h"
#include "store/store_schema.h"

namespace orvane::platform {
namespace {

bool FoldedLess(const KeyInfo* child, std::string_view folded) { return child->folded < folded; }

bool SeqLess(const ValueRecord& value, int64_t seq) { return value.seq < seq; }

}  // namespace

ValueRecord* ValueList::FindFolded(const std::string& folded) {
  if (items_.size() < kIndexFrom) {
    // The folded form is a key, not a name: a byte that is not UTF-8 sits
    // behind a marker there, so names are compared by their folded forms.
    for (ValueRecord& value : items_) {
      if (FoldName(value.name) == folded) return &value;
    }
    return nullptr;
  }
  auto found = seq_.find(folded);
  if (found == seq_.end()) return nullptr;
  return &*std::lower_bound(items_.begin(), items_.end(), found->second, SeqLess);
}

ValueRecord* ValueList::FindShort(std::string_view name) {
  for (ValueRecord& value : items_) {
    if (SameIgnoringCase(value.name, name)) return &value;
  }
  return nullptr;
}

const ValueRecord* ValueList::Find(std::string_view name) const {
  auto* self = const_cast<ValueList*>(this);
  return items_.size() < kIndexFrom ? self->FindShort(name) : self->FindFolded(FoldName(name));
}

void ValueList::BuildIndex() {
  for (const ValueRecord& value : items_) seq_.emplace(FoldName(value.name), value.seq);
}

void ValueList::Append(ValueRecord record) {
  items_.push_back(std::move(record));
  if (items_.size() == kIndexFrom) BuildIndex();
  else if (items_.size() > kIndexFrom) seq_.emplace(FoldName(items_.back().name), items_.back().seq);
}

void ValueList::Erase(const std::string& folded) {
  ValueRecord* value = FindFolded(folded);
  if (value == nullptr) return;
  items_.erase(items_.begin() + (value - items_.data()));
  if (items_.size() < kIndexFrom) seq_.clear();
  else seq_.erase(folded);
}

void ChildList::insert(const_iterator at, const KeyInfo* key) {
  if (at == begin() && head_ > 0) {
    items_[--head_] = key;
    return;
  }
  items_.insert(at, key);
}

void ChildList::erase(const_iterator at) {
  if (at != begin()) {
    items_.erase(at);
    return;
  }
  ++head_;
  // Removed slots are given back once they are the larger part.
  if (head_ == items_.size()) {
    items_.clear();
    head_ = 0;
  } else if (head_ >= 32 && head_ * 2 >= items_.size()) {
    items_.erase(items_.begin(), items_.begin() + static_cast<std::ptrdiff_t>(head_));
    head_ = 0;
  }
}

std::unique_ptr<KeyStore> KeyStore::Open(const std::filesystem::path& file) {
  std::unique_ptr<Db> db = Db::Open(file);
  bool values_go_with_key = false;
  try {
    values_go_with_key = InitializeStore(*db);
  } catch (...) {
    db->KeepFileAsIs();  // a file that is damaged or not ours is left as it is
    throw;
  }
  std::unique_ptr<CommitBroker> broker = CommitBroker::Open(file.string() + "-commit");
  auto store = std::unique_ptr<KeyStore>(new KeyStore(std::move(db), file, std::move(broker)));
  store->values_go_with_key_ = values_go_with_key;
  return store;
}

KeyStore::KeyStore(std::unique_ptr<Db> db, std::filesystem::path file, std::unique_ptr<CommitBroker> broker)
    : db_(std::move(db)), broker_(std::move(broker)), file_(std::move(file)) {
  db_->SetBusyHandler(&KeyStore::WaitWhileBusy, this);
}

KeyStore::~KeyStore() {
  try {
    if (db_->InTransaction()) {
      WriteTouches();
      db_->Exec("COMMIT");
    }
  } catch (const SqliteError&) {
    // The connection closes anyway; SQLite rolls back what was not committed.
  }
  if (holding_) broker_->MarkPublished();
}

std::string KeyStore::ChildKey(int64_t parent, std::string_view folded) {
  std::string key(sizeof(parent) + folded.size(), '\0');
  std::memcpy(key.data(), &parent, sizeof(parent));
  std::memcpy(key.data() + sizeof(parent), folded.data(), folded.size());
  return key;
}

void KeyStore::ClearCaches() {
  ++cache_epoch_;
  nodes_.clear();
  children_by_name_.clear();
  paths_.clear();
  last_depth_ = 0;
}

KeyStore::Node* KeyStore::AddNode(KeyInfo info) {
  // A live node is never replaced: sub-key lists and the name index point
  // to it. A node left by a deleted key whose id is in use again is reused.
  auto [at, inserted] = nodes_.try_emplace(info.id);
  Node* node = &at->second;
  if (!inserted && !node->deleted) return node;
  *node = Node{};
  node->info = std::move(info);
  // Below a parent whose sub-key list is loaded, the list finds the key.
  if (LoadedChildren(node->info.parent) == nullptr) {
    children_by_name_[ChildKey(node->info.parent, node->info.folded)] = node;
  }
  return node;
}

KeyStore::Node* KeyStore::AddNode(const Query& query, int column, int64_t parent) {
  const std::string_view name = query.Blob(column + 1);
  return AddNode(KeyInfo{query.Int(column), parent, std::string(name), FoldName(name), query.Int(column + 2) != 0,
                         query.Int(column + 3), query.Int(column + 4)});
}

KeyStore::Node* KeyStore::LoadNode(int64_t id) {
  auto found = nodes_.find(id);
  if (found != nodes_.end()) return &found->second;
  EnsureSnapshot();
  Query query = db_->Prepare("SELECT parent, id, name, read_only, mtime, born FROM keys WHERE id = ?");
  if (query.Bind(1, id).Step()) return AddNode(query, 1, query.Int(0));
  Node* missing = &nodes_[id];
  missing->deleted = true;
  return missing;
}

const KeyInfo* KeyStore::Find(int64_t id) {
  const Node* node = LoadNode(id);
  return node->deleted ? nullptr : &node->info;
}

const KeyInfo* KeyStore::FindChild(int64_t parent, std::string_view name) {
  // The look-up key is built in a reused buffer: no allocation on a hit.
  lookup_key_.assign(reinterpret_cast<const char*>(&parent), sizeof(parent));
  AppendFolded(lookup_key_, name);
  if (const ChildList* list = LoadedChildren(parent)) {
    // The complete sorted sub-key list is known, and the keys looked up
    // below one parent are usually looked up together: a binary search in
    // it touches memory that is already at hand.
    const std::string_view folded = std::string_view(lookup_key_).substr(sizeof(parent));
    auto at = std::lower_bound(list->begin(), list->end(), folded, FoldedLess);
    return at != list->end() && (*at)->folded == folded ? *at : nullptr;
  }
  auto found = children_by_name_.find(std::string_view(lookup_key_));
  if (found != children_by_name_.end()) return found->second == nullptr ? nullptr : &found->second->info;
  const std::string key = lookup_key_;
  const std::string folded = key.substr(sizeof(parent));
  EnsureSnapshot();
  Query query =
      db_->Prepare("SELECT id, name, read_only, mtime, born FROM keys WHERE parent = ? AND folded = ?");
  if (!query.Bind(1, parent).BindBlob(2, folded).Step()) {
    children_by_name_[key] = nullptr;
    return nullptr;
  }
  return &AddNode(query, 0, parent)->info;
}

const ChildList* KeyStore::LoadedChildren(int64_t id) const {
  auto found = nodes_.find(id);
  return found != nodes_.end() && found->second.children ? &*found->second.children : nullptr;
}

const KeyInfo* KeyStore::FindPath(int64_t from, const std::vector<std::string_view>& names) {
  const PathPrefix prefix = FindLongestPrefix(from, names);
  return prefix.depth == names.size() ? prefix.key : nullptr;
}

KeyStore::PathPrefix KeyStore::FindLongestPrefix(int64_t from, const std::vector<std::string_view>& names) {
  const KeyInfo* key = Find(from);
  if (key == nullptr) return {key, 0};
  // Short paths are walked: a name at a time costs no more than the look-up
  // of a whole remembered path, and nothing is remembered for them.
  constexpr size_t kRememberFrom = 3;
  if (names.size() < kRememberFrom) {
    for (size_t depth = 0; depth < names.size(); ++depth) {
      const KeyInfo* child = FindChild(key->id, names[depth]);
      if (child == nullptr) return {key, depth};
      key = child;
    }
    return {key, names.size()};
  }
  path_key_.assign(reinterpret_cast<const char*>(&from), sizeof(from));
  for (std::string_view name : names) {
    path_key_ += '\\';
    AppendFolded(path_key_, name);
  }
  size_t depth = ContinueFromLastPath(names.size(), &key);
  // A remembered key that still exists is still there: keys are never moved,
  // and none of its ancestors can be deleted before it.
  if (depth == 0) {
    if (auto found = paths_.find(std::string_view(path_key_)); found != paths_.end()) {
      const KeyInfo* known = Find(found->second.id);
      if (known != nullptr && known->born == found->second.born) {
        RememberLastPath(names.size(), *known);
        return {known, names.size()};
      }
    }
  }
  // Names answered by loaded sub-key lists are found again as cheaply: only
  // a path that needed the name table or the database is remembered.
  bool worth_remembering = false;
  for (; depth < names.size(); ++depth) {
    worth_remembering = worth_remembering || LoadedChildren(key->id) == nullptr;
    const KeyInfo* child = FindChild(key->id, names[depth]);
    if (child == nullptr) return {key, depth};
    key = child;
  }
  if (worth_remembering) paths_[path_key_] = PathTarget{key->id, key->born};
  RememberLastPath(names.size(), *key);
  return {key, names.size()};
}

size_t KeyStore::ContinueFromLastPath(size_t depth, const KeyInfo** key) {
  // A walk opens a key's sub-keys by their paths right after the key itself.
  const size_t length = last_path_.size();
  if (last_depth_ == 0 || last_depth_ >= depth || path_key_.size() <= length ||
      path_key_.compare(0, length, last_path_) != 0 || path_key_[length] != '\\') {
    return 0;
  }
  const KeyInfo* last = Find(last_target_.id);
  if (last == nullptr || last->born != last_target_.born) return 0;
  *key = last;
  return last_depth_;
}

void KeyStore::RememberLastPath(size_t depth, const KeyInfo& key) {
  last_path_ = path_key_;
  last_depth_ = depth;
  last_target_ = PathTarget{key.id, key.born};
}

void KeyStore::Touch(int64_t id) {
  const int64_t now = FileTimeNow();
  // A key created in this transaction keeps the time written at its creation
  // (microseconds earlier); that saves an update per new key.
  if (id < first_created_) touched_[id] = now;
  if (auto found = nodes_.find(id); found != nodes_.end()) found->second.info.mtime = now;
}

void KeyStore::WriteTouches() {
  for (const auto& [id, mtime] : touched_) {
    db_->Prepare("UPDATE keys SET mtime = ? WHERE id = ?").Bind(1, mtime).Bind(2, id).Run();
  }
  ForgetTouches();
}

void KeyStore::ForgetTouches() {
  // clear() zeroes every bucket, and one large transaction leaves a great
  // many behind: tables grown past a small size are dropped instead, so that
  // every later commit does not pay for them.
  constexpr size_t kSmallTable = 64;
  if (touched_.bucket_count() > kSmallTable) touched_ = decltype(touched_)();
  else touched_.clear();
  first_created_ = std::numeric_limits<int64_t>::max();
}

const KeyInfo* KeyStore::CreateChild(int64_t parent, std::string_view name) {
  const std::string folded = FoldName(name);
  const int64_t now = FileTimeNow();
  last_born_ = std::max(now, last_born_ + 1);
  db_->Prepare("INSERT INTO keys(parent, name, folded, mtime, born) VALUES(?, ?, ?, ?, ?)")
      .Bind(1, parent)
      .BindBlob(2, name)
      .BindBlob(3, folded)
      .Bind(4, now)
      .Bind(5, last_born_)
      .Run();
  Node* node = AddNode(KeyInfo{db_->LastInsertId(), parent, std::string(name), folded, false, now, last_born_});
  node->children.emplace();  // a new key has neither sub-keys nor values
  node->values.emplace();
  first_created_ = std::min(first_created_, node->info.id);
  Node* parent_node = LoadNode(parent);
  if (parent_node->children) {
    auto& list = *parent_node->children;
    list.insert(std::lower_bound(list.begin(), list.end(), folded, FoldedLess), &node->info);
  }
  Touch(parent);
  return &node->info;
}

void KeyStore::DeleteLeaf(const KeyInfo& key) {
  const int64_t id = key.id;
  const int64_t parent = key.parent;
  const std::string folded = key.folded;
  if (!values_go_with_key_ && !Values(id).items().empty()) {
    BeginAtomicStep();
    db_->Prepare("DELETE FROM vals WHERE key = ?").Bind(1, id).Run();
  }
  db_->Prepare("DELETE FROM keys WHERE id = ?").Bind(1, id).Run();
  Node* node = LoadNode(id);
  node->deleted = true;
  node->children.reset();
  node->values.reset();
  touched_.erase(id);
  Node* parent_node = LoadNode(parent);
  if (parent_node->children) {
    children_by_name_.erase(ChildKey(parent, folded));
    auto& list = *parent_node->children;
    auto at = std::lower_bound(list.begin(), list.end(), folded, FoldedLess);
    if (at != list.end() && (*at)->folded == folded) list.erase(at);
  } else {
    children_by_name_[ChildKey(parent, folded)] = nullptr;
  }
  Touch(parent);
}

bool KeyStore::HasChildren(int64_t id) {
  Node* node = LoadNode(id);
  if (node->children) return !node->children->empty();
  EnsureSnapshot();
  Query query = db_->Prepare("SELECT 1 FROM keys WHERE parent = ? LIMIT 1");
  return query.Bind(1, id).Step();
}

const ChildList& KeyStore::Children(int64_t id) {
  Node* node = LoadNode(id);
  if (node->children) return *node->children;
  EnsureSnapshot();
  ChildList list;
  Query query =
      db_->Prepare("SELECT id, name, read_only, mtime, born FROM keys WHERE parent = ? ORDER BY folded");
  query.Bind(1, id);
  while (query.Step()) {
    const int64_t child = query.Int(0);
    auto known = nodes_.find(child);
    Node* child_node = known != nodes_.end() && !known->second.deleted
                           ? &known->second
                           : AddNode(query, 0, id);
    list.push_back(&child_node->info);
  }
  node->children = std::move(list);
  return *node->children;
}

bool KeyStore::PrefetchWithSiblings(const Node& node) {
  auto parent = nodes_.find(node.info.parent);
  if (parent == nodes_.end() || !parent->second.children || parent->second.children_prefetched) return false;
  PrefetchChildValues(node.info.parent);
  return true;
}

void KeyStore::PrefetchChildValues(int64_t parent) {
  // Large data is not copied out of the database (only its length is).
  Query query = db_->Prepare(
      "SELECT k.id, v.name, v.type, CASE WHEN length(v.data) <= ?2 THEN v.data END, v.seq, length(v.data) "
      "FROM keys AS k JOIN vals AS v ON v.key = k.id WHERE k.parent = ?1 ORDER BY k.id, v.seq");
  query.Bind(1, parent).Bind(2, kPrefetchDataLimit);
  Node* parent_node = LoadNode(parent);
  parent_node->children_prefetched = true;
  struct Loading {
    ValueList list;
    ValueSummary summary;
  };
  std::unordered_map<int64_t, Loading> loaded;
  for (const KeyInfo* child : *parent_node->children) {
    if (!nodes_.at(child->id).values) loaded.emplace(child->id, Loading{});
  }
  while (query.Step()) {
    auto found = loaded.find(query.Int(0));
    if (found == loaded.end()) continue;
    Loading& key = found->second;
    const std::string_view name = query.Blob(1);
    const auto length = static_cast<size_t>(query.Int(5));
    key.summary = {key.summary.count + 1, std::max(key.summary.longest_name, name.size()),
                   std::max(key.summary.longest_data, length)};
    if (length <= kPrefetchDataLimit) {
      key.list.Append({std::string(name), static_cast<uint32_t>(query.Int(2)), std::string(query.Blob(3)),
                       query.Int(4)});
    }
  }
  for (auto& [id, key] : loaded) {
    Node& node = nodes_.at(id);
    if (key.summary.longest_data <= kPrefetchDataLimit) node.values = std::move(key.list);
    else node.summary = key.summary;  // holds large data: its values load when asked for
  }
}

const ValueList& KeyStore::Values(int64_t id) {
  Node* node = LoadNode(id);
  if (node->values) return *node->values;
  EnsureSnapshot();
  if (PrefetchWithSiblings(*node) && node->values) return *node->values;
  ValueList list;
  Query query = db_->Prepare("SELECT name, type, data, seq FROM vals WHERE key = ? ORDER BY seq");
  query.Bind(1, id);
  while (query.Step()) {
    list.Append({std::string(query.Blob(0)), static_cast<uint32_t>(query.Int(1)), std::string(query.Blob(2)),
                 query.Int(3)});
  }
  node->values = std::move(list);
  return *node->values;
}

KeyStore::ValueSummary KeyStore::SummarizeValues(int64_t id) {
  Node* node = LoadNode(id);
  if (!node->values && !node->summary) {
    EnsureSnapshot();
    PrefetchWithSiblings(*node);
  }
  if (node->values) {
    ValueSummary summary;
    summary.count = node->values->items().size();
    for (const ValueRecord& value : node->values->items()) {
      summary.longest_name = std::max(summary.longest_name, value.name.size());
      summary.longest_data = std::max(summary.longest_data, value.data.size());
    }
    return summary;
  }
  if (!node->summary) {
    Query query = db_->Prepare("SELECT count(*), max(length(name)), max(length(data)) FROM vals WHERE key = ?");
    ValueSummary summary;
    if (query.Bind(1, id).Step()) {
      summary.count = static_cast<size_t>(query.Int(0));
      summary.longest_name = static_cast<size_t>(query.Int(1));
      summary.longest_data = static_cast<size_t>(query.Int(2));
    }
    node->summary = summary;
  }
  return *node->summary;
}

void KeyStore::SetValue(int64_t key, std::string_view name, uint32_t type, std::string_view data) {
  const std::string folded = FoldName(name);
  Values(key);
  ValueList& list = *LoadNode(key)->values;
  if (ValueRecord* existing = list.FindFolded(folded)) {
    db_->Prepare("UPDATE vals SET type = ?, data = ? WHERE key = ? AND folded = ?")
        .Bind(1, type)
        .BindBlob(2, data)
        .Bind(3, key)
        .BindBlob(4, folded)
        .Run();
    existing->type = type;
    existing->data.assign(data);
  } else {
    const int64_t seq = list.NextSeq();
    db_->Prepare("INSERT INTO vals(key, folded, seq, name, type, data) VALUES(?, ?, ?, ?, ?, ?)")
        .Bind(1, key)
        .BindBlob(2, folded)
        .Bind(3, seq)
        .BindBlob(4, name)
        .Bind(5, type)
        .BindBlob(6, data)
        .Run();
    list.Append({std::string(name), type, std::string(data), seq});
  }
  Touch(key);
}

bool KeyStore::DeleteValue(int64_t key, std::string_view name) {
  const std::string folded = FoldName(name);
  Values(key);
  ValueList& list = *LoadNode(key)->values;
  if (list.FindFolded(folded) == nullptr) return false;
  db_->Prepare("DELETE FROM vals WHERE key = ? AND folded = ?").Bind(1, key).BindBlob(2, folded).Run();
  list.Erase(folded);
  Touch(key);
  return true;
}

void KeyStore::SetReadOnly(int64_t id, bool read_only) {
  db_->Prepare("UPDATE keys SET read_only = ? WHERE id = ?").Bind(1, read_only ? 1 : 0).Bind(2, id).Run();
  LoadNode(id)->info.read_only = read_only;
}


}  // namespace orvane::platform
