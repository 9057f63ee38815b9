// What a registry store hands to the Win32 functions: a key (KeyInfo), a
// value (ValueRecord), a key's values in creation order (ValueList) and its
// sub-keys in FoldCase order (ChildList). Every kind of store
// (registry_kind.h) returns these; they are filled and owned by the store.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace orvane::platform {

// The stored roots every kind has, by id; the other predefined keys are
// views of keys below them (registry_calls.cpp).
constexpr int64_t kLocalMachineId = 1;
constexpr int64_t kUsersId = 2;
constexpr int64_t kDynDataId = 3;

struct KeyInfo {
  int64_t id = 0;
  int64_t parent = 0;
  std::string name;
  std::string folded;  // the name in upper case (FoldCase)
  bool read_only = false;
  int64_t mtime = 0;
  int64_t born = 0;  // creation time: the id with it names one key for good
};

struct ValueRecord {
  std::string name;
  uint32_t type = 0;
  std::string data;
  int64_t seq = 0;  // creation order within the key
};

// A key's values in creation order, with a look-up by folded name. Short
// lists are searched directly; an index by name is kept only for long ones,
// so that the usual key with a few values costs one allocation.
class ValueList {
 public:
  const std::vector<ValueRecord>& items() const { return items_; }
  // The value `name` (any letter case), or nullptr.
  const ValueRecord* Find(std::string_view name) const;
  ValueRecord* FindFolded(const std::string& folded);
  int64_t NextSeq() const { return items_.empty() ? 1 : items_.back().seq + 1; }
  // Appends a value whose seq is above every other.
  void Append(ValueRecord record);
  void Erase(const std::string& folded);

 private:
  static constexpr size_t kIndexFrom = 16;  // lists this long get the index
  void BuildIndex();
  // A linear search, for lists without the index.
  ValueRecord* FindShort(std::string_view name);
  std::vector<ValueRecord> items_;               // ascending seq
  std::unordered_map<std::string, int64_t> seq_;  // folded name -> seq, for long lists only
};

// A key's sub-keys in case-insensitive name order: access by index in
// O(1), appending and removing the first or the last one in O(1) (the usual
// patterns), and nothing allocated while empty, as most keys are.
class ChildList {
 public:
  using const_iterator = std::vector<const KeyInfo*>::const_iterator;
  const_iterator begin() const { return items_.begin() + static_cast<std::ptrdiff_t>(head_); }
  const_iterator end() const { return items_.end(); }
  size_t size() const { return items_.size() - head_; }
  bool empty() const { return items_.size() == head_; }
  const KeyInfo* operator[](size_t index) const { return items_[head_ + index]; }
  void push_back(const KeyInfo* key) { items_.push_back(key); }
  void insert(const_iterator at, const KeyInfo* key);
  void erase(const_iterator at);

 private:
  std::vector<const KeyInfo*> items_;
  size_t head_ = 0;  // items_[0, head_) were removed from the front
};

}  // namespace orvane::platform
