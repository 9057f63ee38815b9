#include "search/match_table.h"

namespace orvane {

Variant MatchTable::ToVariant() const {
  if (rows_.empty()) return Variant();
  const auto last = static_cast<int32_t>(rows_.size()) - 1;
  SafeArray result(VarType::kVariant, {ArrayBound{0, last}, ArrayBound{0, 4}});
  for (int32_t r = 0; r <= last; ++r) {
    const MatchRow& row = rows_[static_cast<size_t>(r)];
    result.set(r, 0, Variant::Long(row.root));
    result.set(r, 1, Variant::String(row.path));
    if (row.kind == MatchKind::kKey) continue;
    result.set(r, 2, Variant::String(row.name));
    if (row.kind == MatchKind::kValueName) continue;
    result.set(r, 3, Variant::String(row.data));
    result.set(r, 4, Variant::Long(row.type));
  }
  return Variant::Array(std::move(result));
}

}  // namespace orvane
