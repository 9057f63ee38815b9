// Letter case of names: every letter folds as its simple uppercase, bytes
// that are not UTF-8 stay as they are, and the folded form sorts as Windows
// sorts sub-keys (upper-cased UTF-16 code units).
#include <gtest/gtest.h>

#include <locale.h>
#include <wctype.h>

#include <algorithm>
#include <string>
#include <vector>

#include "store/name_case.h"

namespace orvane::platform {
namespace {

// UTF-16 code units of UTF-8 text (test names are well-formed).
std::u16string Utf16(const std::string& text) {
  std::u16string units;
  for (size_t at = 0; at < text.size();) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    uint32_t code_point = length == 1 ? lead : lead & (0x3F >> (length - 1));
    for (size_t i = 1; i < length; ++i) code_point = (code_point << 6) | (text[at + i] & 0x3F);
    if (code_point >= 0x10000) {
      units += static_cast<char16_t>(0xD800 + ((code_point - 0x10000) >> 10));
      units += static_cast<char16_t>(0xDC00 + ((code_point - 0x10000) & 0x3FF));
    } else {
      units += static_cast<char16_t>(code_point);
    }
    at += length;
  }
  return units;
}

// The UTF-16 code units of `text`, each upper-cased on its own.
std::u16string UpperUnits(const std::string& text) {
  std::u16string units = Utf16(text);
  for (char16_t& unit : units) unit = static_cast<char16_t>(UpperCodePoint(unit));
  return units;
}

TEST(NameCase, EveryLetterFoldsAsTheCLibrarysSimpleUppercase) {
  locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
  ASSERT_NE(utf8, static_cast<locale_t>(nullptr));
  for (uint32_t c = 0; c < 0x10000; ++c) {
    if (c >= 0xD800 && c < 0xE000) continue;
    const auto expected = static_cast<uint32_t>(towupper_l(static_cast<wint_t>(c), utf8));
    // Letters whose uppercase is ASCII stay themselves: ASCII names equal
    // only ASCII names.
    if (c >= 0x80 && expected < 0x80) {
      EXPECT_EQ(UpperCodePoint(c), c) << std::hex << c;
      continue;
    }
    ASSERT_EQ(UpperCodePoint(c), expected) << std::hex << c;
  }
  freelocale(utf8);
  EXPECT_EQ(UpperCodePoint(0x1F600), 0x1F600u);
}

TEST(NameCase, LettersBeyondAsciiCompareWithoutCase) {
  EXPECT_EQ(FoldCase("caf\xC3\xA9"), FoldCase("CAF\xC3\x89"));  // café, CAFÉ
  EXPECT_TRUE(SameIgnoringCase("caf\xC3\xA9", "CAF\xC3\x89"));
  EXPECT_TRUE(SameIgnoringCase("\xCF\x83\xCF\x82", "\xCE\xA3\xCE\xA3"));  // σς, ΣΣ
  EXPECT_TRUE(SameIgnoringCase("\xC3\xBF", "\xC5\xB8"));                  // ÿ, Ÿ: one and two bytes of Latin
  // Ê and Ú differ in one byte only, and are different letters.
  EXPECT_NE(FoldCase("\xC3\x8A"), FoldCase("\xC3\x9A"));
  EXPECT_FALSE(SameIgnoringCase("\xC3\x8A", "\xC3\x9A"));
  EXPECT_FALSE(SameIgnoringCase("\xC3\xAA", "\xC3\xBA"));  // ê, ú
  // Dotless i and long s are not i and s.
  EXPECT_FALSE(SameIgnoringCase("\xC4\xB1", "I"));
  EXPECT_FALSE(SameIgnoringCase("\xC5\xBF", "s"));
  EXPECT_EQ(FoldCase("Mixed_Case-09"), "MIXED_CASE-09");
}

TEST(NameCase, BytesThatAreNotUtf8StayApart) {
  // Windows-1252 é (E9) and É (C9) are not UTF-8: kept, not folded.
  EXPECT_FALSE(SameIgnoringCase("caf\xE9", "CAF\xC9"));
  EXPECT_TRUE(SameIgnoringCase("caf\xE9", "CAF\xE9"));
  // A lone byte never merges with a character that starts with it.
  EXPECT_NE(FoldCase("\xC3"), FoldCase("\xC3\x83"));
  EXPECT_NE(FoldCase("\xC3" "A"), FoldCase("\xC3\xA1"));
  EXPECT_NE(FoldCase("\xED\xA0\x80"), FoldCase("\xEE\x80\x80"));  // an encoded surrogate is not a character
  EXPECT_FALSE(SameIgnoringCase("\xC3\xA9", "\xC3\xA9\x80"));
}

TEST(NameCase, FoldedNamesSortAsUpperCasedUtf16Units) {
  std::vector<std::string> names = {
      "zeta",  "Zebra", "_under", "apple", "caf\xC3\xA9", "CAFE", "\xC3\xA9" "clair",
      "\xEF\xBC\xA1",          // fullwidth A, U+FF21
      "\xF0\x9F\x98\x80",      // U+1F600, two UTF-16 units from D83D
      "\xE2\x82\xAC",          // euro sign, U+20AC
      "\xED\x9F\xBF",          // U+D7FF
      "\xEE\x80\x80",          // U+E000
  };
  std::vector<std::string> by_key = names;
  std::sort(by_key.begin(), by_key.end(),
            [](const std::string& a, const std::string& b) { return FoldCase(a) < FoldCase(b); });
  std::vector<std::string> by_units = names;
  std::sort(by_units.begin(), by_units.end(),
            [](const std::string& a, const std::string& b) { return UpperUnits(a) < UpperUnits(b); });
  EXPECT_EQ(by_key, by_units);
  EXPECT_LT(FoldCase("\xF0\x9F\x98\x80"), FoldCase("\xEE\x80\x80"));
  EXPECT_LT(FoldCase("\xED\x9F\xBF"), FoldCase("\xF0\x9F\x98\x80"));
}

}  // namespace
}  // namespace orvane::platform
