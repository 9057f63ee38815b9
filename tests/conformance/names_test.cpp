// Key and value names: stored in the case they were created with, compared
// without regard to letter case (every letter, not only ASCII), and limited to 255 characters (keys)
// and 16383 characters (values).
#include "registry_fixture.h"

namespace conformance {
namespace {

using Names = RegistryTest;
ORVANE_CONFORMANCE_KINDS(Names);

TEST_P(Names, KeyKeepsTheCaseItWasCreatedWith) {
  DWORD disposition = 0;
  Key first;
  ASSERT_EQ(CreateKey(Base(), "MixedCase", first, &disposition), ERROR_SUCCESS);
  EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
  Key second;
  ASSERT_EQ(CreateKey(Base(), "MIXEDCASE", second, &disposition), ERROR_SUCCESS);
  EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
  EXPECT_EQ(SubKeyNames(Base()), std::vector<std::string>{"MixedCase"});

  // Both handles name the same key.
  ASSERT_EQ(SetDword(second.get(), "V", 7), ERROR_SUCCESS);
  EXPECT_EQ(QueryNoBuffer(first.get(), "V").result, ERROR_SUCCESS);
}

TEST_P(Names, PathsMatchWithoutCaseAtEveryLevel) {
  MustCreate(Base(), "Outer\\Inner\\Leaf");
  Key key;
  EXPECT_EQ(OpenKey(Base(), "OUTER\\inner\\lEaF", key), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteKeyA(Base(), "outer\\INNER\\leaf"), ERROR_SUCCESS);
  EXPECT_EQ(OpenKey(Base(), "Outer\\Inner\\Leaf", key), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(OpenKey(Base(), "Outer\\Inner", key), ERROR_SUCCESS);
}

TEST_P(Names, ValueKeepsItsFirstCaseWhenReplaced) {
  ASSERT_EQ(SetString(Base(), "Value", "old"), ERROR_SUCCESS);
  ASSERT_EQ(SetDword(Base(), "VALUE", 42), ERROR_SUCCESS);
  EXPECT_EQ(ValueNames(Base()), std::vector<std::string>{"Value"});
  const Query query = QueryWhole(Base(), "vAlUe");
  ASSERT_EQ(query.result, ERROR_SUCCESS);
  EXPECT_EQ(query.type, REG_DWORD);
  EXPECT_EQ(query.data, std::string("\x2a\0\0\0", 4));
  EXPECT_EQ(RegDeleteValueA(Base(), "value"), ERROR_SUCCESS);
  EXPECT_TRUE(ValueNames(Base()).empty());
}

TEST_P(Names, CharactersBesideTheAsciiLettersAreNotLetters) {
  // Characters around the letters are distinct names of their own.
  for (const char* name : {"a@", "a`", "a[", "a{", "A_"}) MustCreate(Base(), name);
  EXPECT_EQ(SubKeyNames(Base()).size(), 5u);
  ASSERT_EQ(SetDword(Base(), "x@", 1), ERROR_SUCCESS);
  ASSERT_EQ(SetDword(Base(), "x`", 2), ERROR_SUCCESS);
  EXPECT_EQ(ValueNames(Base()).size(), 2u);
}

// UTF-8 spellings of CAFÉ, café, NOËL, noël, Ê, Ú, ê.
constexpr const char* kCafeUpper = "CAF\xC3\x89";
constexpr const char* kCafeLower = "caf\xC3\xA9";
constexpr const char* kNoelUpper = "NO\xC3\x8BL";
constexpr const char* kNoelLower = "no\xC3\xABl";

TEST_P(Names, LettersBeyondAsciiMatchWithoutCase) {
  if (!AnsiCodePageIsUtf8()) GTEST_SKIP() << "the ANSI code page is not UTF-8";
  DWORD disposition = 0;
  Key upper;
  ASSERT_EQ(CreateKey(Base(), kCafeUpper, upper, &disposition), ERROR_SUCCESS);
  EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
  Key lower;
  ASSERT_EQ(CreateKey(Base(), kCafeLower, lower, &disposition), ERROR_SUCCESS);
  EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
  EXPECT_EQ(SubKeyNames(Base()), std::vector<std::string>{kCafeUpper});
  MustCreate(Base(), std::string(kCafeLower) + "\\Inner");
  Key inner;
  EXPECT_EQ(OpenKey(Base(), std::string(kCafeUpper) + "\\INNER", inner), ERROR_SUCCESS);

  ASSERT_EQ(SetString(upper.get(), kNoelUpper, "first"), ERROR_SUCCESS);
  ASSERT_EQ(SetString(lower.get(), kNoelLower, "second"), ERROR_SUCCESS);
  EXPECT_EQ(ValueNames(upper.get()), std::vector<std::string>{kNoelUpper});
  EXPECT_EQ(QueryWhole(upper.get(), kNoelLower).data, std::string("second", 7));
  EXPECT_EQ(RegDeleteValueA(upper.get(), kNoelLower), ERROR_SUCCESS);
  EXPECT_TRUE(ValueNames(upper.get()).empty());

  ASSERT_EQ(RegDeleteKeyA(Base(), (std::string(kCafeUpper) + "\\inner").c_str()), ERROR_SUCCESS);
  upper.Close();
  lower.Close();
  EXPECT_EQ(RegDeleteKeyA(Base(), kCafeLower), ERROR_SUCCESS);
  EXPECT_TRUE(SubKeyNames(Base()).empty());
  EXPECT_EQ(OpenKey(Base(), kCafeUpper, upper), ERROR_FILE_NOT_FOUND);
}

TEST_P(Names, DifferentLettersSharingBytesStayApart) {
  if (!AnsiCodePageIsUtf8()) GTEST_SKIP() << "the ANSI code page is not UTF-8";
  // Ê (C3 8A) and Ú (C3 9A) differ in one byte, by the bit that separates
  // upper from lower case in Windows-1252; ê (C3 AA) is Ê's lower case.
  MustCreate(Base(), "\xC3\x8A");
  MustCreate(Base(), "\xC3\x9A");
  EXPECT_EQ(SubKeyNames(Base()).size(), 2u);
  ASSERT_EQ(SetDword(Base(), "\xC3\x8A", 1), ERROR_SUCCESS);
  ASSERT_EQ(SetDword(Base(), "\xC3\x9A", 2), ERROR_SUCCESS);
  ASSERT_EQ(SetDword(Base(), "\xC3\xAA", 3), ERROR_SUCCESS);
  EXPECT_EQ(ValueNames(Base()), (std::vector<std::string>{"\xC3\x8A", "\xC3\x9A"}));
  EXPECT_EQ(QueryWhole(Base(), "\xC3\x8A").data, std::string("\3\0\0\0", 4));
}

TEST_P(Names, DotsSpacesAndSlashesAreOrdinaryCharacters) {
  for (const char* name : {".", "..", "a", "a ", " a", "a.b", "a/b", "\t"}) MustCreate(Base(), name);
  EXPECT_EQ(SubKeyNames(Base()), (std::vector<std::string>{"\t", " a", ".", "..", "a", "a ", "a.b", "a/b"}));
  Key key;
  ASSERT_EQ(OpenKey(Base(), "..", key), ERROR_SUCCESS);
  EXPECT_TRUE(SubKeyNames(key.get()).empty()) << "\"..\" is a key of its own, not the parent";
}

TEST_P(Names, ValueNameMayContainBackslashes) {
  ASSERT_EQ(SetString(Base(), "Not\\A\\Path", "text"), ERROR_SUCCESS);
  EXPECT_EQ(ValueNames(Base()), std::vector<std::string>{"Not\\A\\Path"});
  EXPECT_TRUE(SubKeyNames(Base()).empty());
  EXPECT_EQ(QueryWhole(Base(), "not\\a\\path").data, std::string("text", 5));
}

TEST_P(Names, KeyNameOf255CharactersIsTheLongest) {
  const std::string longest(255, 'k');
  Key key;
  ASSERT_EQ(CreateKey(Base(), longest, key), ERROR_SUCCESS);
  EXPECT_EQ(SubKeyNames(Base()), std::vector<std::string>{longest});
  EXPECT_EQ(OpenKey(Base(), longest, key), ERROR_SUCCESS);

  // Windows documents 255 characters as the limit of a key name; Wine's
  // own registry accepts one character more.
  if (RunningUnderWine()) return;
  const std::string too_long(256, 'k');
  EXPECT_EQ(CreateKey(Base(), too_long, key), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(OpenKey(Base(), too_long, key), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(CreateKey(Base(), "Fine\\" + too_long, key), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(SubKeyNames(Base()), std::vector<std::string>{longest}) << "nothing else was created";
}

TEST_P(Names, PathMayExceed255CharactersWhenEveryNameFits) {
  // 257 characters in all; the ANSI entry points of Wine refuse paths over
  // 260 characters, so the test stays below that.
  const std::string name(85, 'p');
  const std::string path = name + "\\" + name + "\\" + name;
  Key key;
  ASSERT_EQ(CreateKey(Base(), path, key), ERROR_SUCCESS);
  EXPECT_EQ(OpenKey(Base(), path, key), ERROR_SUCCESS);
}

TEST_P(Names, ValueNameOf16383CharactersIsTheLongest) {
  const std::string longest(16383, 'v');
  ASSERT_EQ(SetDword(Base(), longest.c_str(), 1), ERROR_SUCCESS);
  EXPECT_EQ(QueryNoBuffer(Base(), longest.c_str()).result, ERROR_SUCCESS);

  std::string name(16384, '\0');
  DWORD length = 16384;
  ASSERT_EQ(RegEnumValueA(Base(), 0, name.data(), &length, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
  EXPECT_EQ(length, 16383u);
  EXPECT_EQ(name.substr(0, length), longest);

  const std::string too_long(16384, 'v');
  EXPECT_EQ(SetDword(Base(), too_long.c_str(), 1), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(QueryNoBuffer(Base(), too_long.c_str()).result, ERROR_FILE_NOT_FOUND);
}

}  // namespace
}  // namespace conformance
