// The matches of one search, in the order they were found, and the result
// array built from them once at the end. Rows are kept in a vector, so a
// search with many matches grows in amortised constant time per match.
// One search owns one table.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "orvane/variant.h"

namespace orvane {

enum class MatchKind : uint8_t { kKey, kValueName, kValueData };

// One match: root value, key path, and for value matches the value name;
// for data matches also the data text compared and the value's type.
struct MatchRow {
  int32_t root = 0;
  std::string path;
  MatchKind kind = MatchKind::kKey;
  std::string name;
  std::string data;
  int32_t type = 0;
};

class MatchTable {
 public:
  void Append(MatchRow row) { rows_.push_back(std::move(row)); }
  size_t size() const { return rows_.size(); }
  const MatchRow& row(size_t index) const { return rows_[index]; }

  // Empty when there is no match; otherwise a Variant array (0 To n-1,
  // 0 To 4): root (Long), key path, value name, data text, type (Long),
  // the cells a row's kind does not use left Empty.
  Variant ToVariant() const;

 private:
  std::vector<MatchRow> rows_;
};

}  // namespace orvane
