#include "store/hive/hive_writer.h"

#include <algorithm>
#include <cstring>

#include "platform/win32_registry.h"
#include "store/hive/hive_text.h"
#include "store/name_case.h"

namespace orvane::platform {
namespace {

constexpr size_t kBlock = 0x1000;
constexpr size_t kBinHeader = 0x20;
constexpr size_t kSegment = 16344;  // the most data one cell holds in a 1.4+ hive
constexpr uint32_t kNone = 0xFFFFFFFF;

// A self-relative security descriptor: owner Administrators, group SYSTEM,
// and a DACL giving Everyone full access, inherited by sub-keys.
constexpr unsigned char kDescriptor[] = {
    1, 0, 0x04, 0x80, 48, 0, 0, 0, 64, 0, 0, 0, 0, 0, 0, 0, 20, 0, 0, 0,  // header
    2, 0, 28, 0, 1, 0, 0, 0,                                                // ACL, one ACE
    0, 0x02, 20, 0, 0x3F, 0, 0x0F, 0, 1, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0,  // allow S-1-1-0
    1, 2, 0, 0, 0, 0, 0, 5, 32, 0, 0, 0, 0x20, 0x02, 0, 0,                  // S-1-5-32-544
    1, 1, 0, 0, 0, 0, 0, 5, 18, 0, 0, 0};                                   // S-1-5-18

void Put16(std::string& bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 2; ++i) bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}
void Put32(std::string& bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}
void Put64(std::string& bytes, size_t at, uint64_t value) {
  Put32(bytes, at, static_cast<uint32_t>(value));
  Put32(bytes, at + 4, static_cast<uint32_t>(value >> 32));
}

bool IsAscii(const std::string& text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

// A name as the hive stores it: ASCII as it is (flagged), else UTF-16LE.
struct StoredName {
  std::string bytes;
  bool ascii;
  size_t units;  // UTF-16 units, as lengths in key records count them
};
StoredName Store(const std::string& name) {
  if (IsAscii(name)) return {name, true, name.size()};
  const std::string utf16 = HiveDataFromRegistry(REG_SZ, name);
  return {utf16, false, utf16.size() / 2};
}

// The hash of an lh list entry: the upper-case name's UTF-16 units.
uint32_t NameHash(const std::string& name) {
  const std::string upper = HiveDataFromRegistry(REG_SZ, FoldCase(name));
  uint32_t hash = 0;
  for (size_t at = 0; at + 1 < upper.size(); at += 2) {
    hash = hash * 37 + (static_cast<unsigned char>(upper[at]) | static_cast<unsigned char>(upper[at + 1]) << 8);
  }
  return hash;
}

class Writer {
 public:
  // Allocates a cell for `payload` bytes; returns its offset (from the first bin).
  uint32_t Alloc(size_t payload) {
    const size_t cell = (payload + 4 + 7) & ~size_t{7};
    if (bins_.size() + cell > bin_end_) OpenBin(cell);
    const auto at = static_cast<uint32_t>(bins_.size());
    bins_.resize(bins_.size() + cell, '\0');
    Put32(bins_, at, static_cast<uint32_t>(-static_cast<int32_t>(cell)));
    return at;
  }
  std::string& bins() { return bins_; }
  std::string Finish() {
    CloseBin();
    return std::move(bins_);
  }

 private:
  void CloseBin() {
    if (bins_.size() < bin_end_) {
      const size_t free_at = bins_.size();
      bins_.resize(bin_end_, '\0');
      Put32(bins_, free_at, static_cast<uint32_t>(bin_end_ - free_at));
    }
  }
  void OpenBin(size_t cell) {
    CloseBin();
    const size_t start = bin_end_;
    const size_t size = (cell + kBinHeader + kBlock - 1) / kBlock * kBlock;
    bins_.resize(start + kBinHeader, '\0');
    bins_.replace(start, 4, "hbin");
    Put32(bins_, start + 4, static_cast<uint32_t>(start));
    Put32(bins_, start + 8, static_cast<uint32_t>(size));
    bin_end_ = start + size;
  }

  std::string bins_;
  size_t bin_end_ = 0;
};

class TreeWriter {
 public:
  TreeWriter() {
    security_ = out_.Alloc(0x14 + sizeof kDescriptor);
    std::string& bins = out_.bins();
    bins.replace(security_ + 4, 2, "sk");
    Put32(bins, security_ + 0x08, security_);
    Put32(bins, security_ + 0x0C, security_);
    Put32(bins, security_ + 0x14, sizeof kDescriptor);
    bins.replace(security_ + 0x18, sizeof kDescriptor, reinterpret_cast<const char*>(kDescriptor), sizeof kDescriptor);
  }

  uint32_t Key(const HiveKey& key, uint32_t parent, bool root) {
    const StoredName name = Store(key.name);
    const uint32_t nk = out_.Alloc(0x4C + name.bytes.size());
    ++keys_;
    uint32_t longest_child = 0, longest_name = 0, longest_data = 0;
    std::vector<std::pair<uint32_t, uint32_t>> children;  // offset, hash
    for (const HiveKey& child : key.children) {
      children.emplace_back(Key(child, nk, false), NameHash(child.name));
      longest_child = std::max<uint32_t>(longest_child, static_cast<uint32_t>(Store(child.name).units * 2));
    }
    std::vector<uint32_t> values;
    for (const ValueRecord& value : key.values) {
      values.push_back(Value(value));
      longest_name = std::max<uint32_t>(longest_name, static_cast<uint32_t>(Store(value.name).units * 2));
      longest_data = std::max<uint32_t>(longest_data, static_cast<uint32_t>(value.data.size()));
    }
    const uint32_t child_list = children.empty() ? kNone : List(children);
    const uint32_t value_list = values.empty() ? kNone : Offsets(values);
    std::string& bins = out_.bins();
    bins.replace(nk + 4, 2, "nk");
    Put16(bins, nk + 0x06, (name.ascii ? 0x20 : 0) | (root ? 0x0C : 0));
    Put64(bins, nk + 0x08, static_cast<uint64_t>(key.mtime));
    Put32(bins, nk + 0x14, root ? kNone : parent);
    Put32(bins, nk + 0x18, static_cast<uint32_t>(children.size()));
    Put32(bins, nk + 0x20, child_list);
    Put32(bins, nk + 0x24, kNone);
    Put32(bins, nk + 0x28, static_cast<uint32_t>(values.size()));
    Put32(bins, nk + 0x2C, value_list);
    Put32(bins, nk + 0x30, security_);
    Put32(bins, nk + 0x34, kNone);
    Put32(bins, nk + 0x38, longest_child);
    Put32(bins, nk + 0x40, longest_name);
    Put32(bins, nk + 0x44, longest_data);
    Put16(bins, nk + 0x4C, static_cast<uint32_t>(name.bytes.size()));
    bins.replace(nk + 0x50, name.bytes.size(), name.bytes);
    return nk;
  }

  std::string Finish() {
    Put32(out_.bins(), security_ + 0x10, keys_);
    return out_.Finish();
  }

 private:
  uint32_t Value(const ValueRecord& value) {
    const StoredName name = Store(value.name);
    const uint32_t size = static_cast<uint32_t>(value.data.size());
    uint32_t data = 0;
    if (size > 4) data = size > kSegment ? BigData(value.data) : Data(value.data);
    const uint32_t vk = out_.Alloc(0x14 + name.bytes.size());
    std::string& bins = out_.bins();
    bins.replace(vk + 4, 2, "vk");
    Put16(bins, vk + 0x06, static_cast<uint32_t>(name.bytes.size()));
    Put32(bins, vk + 0x08, size <= 4 ? size | 0x80000000u : size);
    if (size <= 4) bins.replace(vk + 0x0C, size, value.data);
    else Put32(bins, vk + 0x0C, data);
    Put32(bins, vk + 0x10, value.type);
    Put16(bins, vk + 0x14, name.ascii ? 1 : 0);
    bins.replace(vk + 0x18, name.bytes.size(), name.bytes);
    return vk;
  }
  uint32_t Data(std::string_view bytes) {
    const uint32_t cell = out_.Alloc(bytes.size());
    out_.bins().replace(cell + 4, bytes.size(), bytes);
    return cell;
  }
  uint32_t BigData(std::string_view bytes) {
    std::vector<uint32_t> segments;
    for (size_t at = 0; at < bytes.size(); at += kSegment) segments.push_back(Data(bytes.substr(at, kSegment)));
    const uint32_t list = Offsets(segments);
    const uint32_t db = out_.Alloc(8);
    std::string& bins = out_.bins();
    bins.replace(db + 4, 2, "db");
    Put16(bins, db + 6, static_cast<uint32_t>(segments.size()));
    Put32(bins, db + 8, list);
    return db;
  }
  uint32_t Offsets(const std::vector<uint32_t>& offsets) {
    const uint32_t cell = out_.Alloc(4 * offsets.size());
    for (size_t i = 0; i < offsets.size(); ++i) Put32(out_.bins(), cell + 4 + 4 * i, offsets[i]);
    return cell;
  }
  uint32_t List(const std::vector<std::pair<uint32_t, uint32_t>>& children) {
    const uint32_t cell = out_.Alloc(4 + 8 * children.size());
    std::string& bins = out_.bins();
    bins.replace(cell + 4, 2, "lh");
    Put16(bins, cell + 6, static_cast<uint32_t>(children.size()));
    for (size_t i = 0; i < children.size(); ++i) {
      Put32(bins, cell + 8 + 8 * i, children[i].first);
      Put32(bins, cell + 12 + 8 * i, children[i].second);
    }
    return cell;
  }

  Writer out_;
  uint32_t security_ = 0;
  uint32_t keys_ = 0;
};

}  // namespace

std::string HiveBytes(const HiveKey& root) {
  TreeWriter tree;
  const uint32_t root_cell = tree.Key(root, 0, true);
  const std::string bins = tree.Finish();
  std::string bytes(kBlock, '\0');
  bytes.replace(0, 4, "regf");
  Put32(bytes, 0x04, 1);
  Put32(bytes, 0x08, 1);  // equal sequence numbers: written completely
  Put64(bytes, 0x0C, static_cast<uint64_t>(root.mtime));
  Put32(bytes, 0x14, 1);
  Put32(bytes, 0x18, 5);
  Put32(bytes, 0x20, 1);
  Put32(bytes, 0x24, root_cell);
  Put32(bytes, 0x28, static_cast<uint32_t>(bins.size()));
  Put32(bytes, 0x2C, 1);
  uint32_t checksum = 0;
  for (size_t at = 0; at < 0x1FC; at += 4) {
    uint32_t word = 0;
    std::memcpy(&word, bytes.data() + at, 4);
    checksum ^= word;
  }
  Put32(bytes, 0x1FC, checksum);
  return bytes + bins;
}

}  // namespace orvane::platform
