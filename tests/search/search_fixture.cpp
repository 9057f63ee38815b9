#include "search/search_fixture.h"

namespace orvane::testing {

std::string RowsText(const Variant& result) {
  if (result.is_empty()) return "<empty>";
  if (!result.is_array()) return "<not an array>";
  const SafeArray& rows = result.array();
  EXPECT_EQ(rows.dimensions(), 2);
  EXPECT_EQ(rows.bound(1).lower, 0);
  EXPECT_EQ(rows.bound(2).lower, 0);
  EXPECT_EQ(rows.bound(2).upper, 4);
  std::string text;
  for (int32_t r = 0; r <= rows.bound(1).upper; ++r) {
    for (int32_t c = 0; c < 5; ++c) {
      const Variant& cell = rows.at(r, c);
      if (c > 0) text += "|";
      text += cell.is_empty() ? "-" : ToString(cell);
      if ((c == 0 || c == 4) && !cell.is_empty()) {
        EXPECT_EQ(cell.type(), VarType::kLong);
      }
    }
    text += "\n";
  }
  return text;
}

}  // namespace orvane::testing
