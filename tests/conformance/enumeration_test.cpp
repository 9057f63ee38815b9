// Enumeration by index: sub-keys in case-insensitive name order (upper-cased
// UTF-16 code units, as Windows sorts), values in
// the order they were written; name and data buffers that are too small.
#include "registry_fixture.h"

#include <cstdio>
#include <utility>

namespace conformance {
namespace {

using Enumeration = RegistryTest;
ORVANE_CONFORMANCE_KINDS(Enumeration);
using Names = std::vector<std::string>;

TEST_P(Enumeration, SubKeysComeInCaseInsensitiveNameOrder) {
  for (const char* name : {"delta", "Bravo", "alpha", "ECHO", "Charlie", "alp"}) MustCreate(Base(), name);
  EXPECT_EQ(SubKeyNames(Base()), (Names{"alp", "alpha", "Bravo", "Charlie", "delta", "ECHO"}));
}

TEST_P(Enumeration, SubKeysCompareAsTextNotAsNumbers) {
  for (const char* name : {"9", "10", "100", "1 0", "1-0"}) MustCreate(Base(), name);
  EXPECT_EQ(SubKeyNames(Base()), (Names{"1 0", "1-0", "10", "100", "9"}));
}

TEST_P(Enumeration, SubKeysCompareInUpperCase) {
  // '_' (0x5F) lies between the upper-case (0x41-0x5A) and the lower-case
  // letters (0x61-0x7A): names are compared after upper-casing, so it sorts
  // after every letter. Wine compares lower-cased names instead, which puts
  // '_' and '[' first; Windows keeps its sub-key lists sorted by upper-cased
  // name (the registry hive format), so this order is checked only elsewhere.
  for (const char* name : {"_under", "Zulu", "apple", "[bracket"}) MustCreate(Base(), name);
  if (!RunningUnderWine()) {
    EXPECT_EQ(SubKeyNames(Base()), (Names{"apple", "Zulu", "[bracket", "_under"}));
  }
  EXPECT_EQ(SubKeyNames(Base()).size(), 4u);
}

TEST_P(Enumeration, SubKeysBeyondAsciiSortAsUpperCasedUtf16Units) {
  if (!AnsiCodePageIsUtf8()) GTEST_SKIP() << "the ANSI code page is not UTF-8";
  // Upper-cased UTF-16 units: E, Z, É (C9), Ā (100), Ÿ (178, from ÿ),
  // € (20AC), U+1F600 (D83D DE00), fullwidth A (FF21); in UTF-8 the emoji
  // would sort last.
  const Names created = {"\xEF\xBD\x81",  "\xF0\x9F\x98\x80", "\xE2\x82\xAC" "uro", "\xC3\xBF",
                         "\xC4\x80",      "\xC3\xA9" "clair",  "Zebra",                 "eagle"};
  for (const std::string& name : created) MustCreate(Base(), name);
  Names expected = {"eagle", "Zebra", "\xC3\xA9" "clair", "\xC4\x80", "\xC3\xBF", "\xE2\x82\xAC" "uro",
                    "\xF0\x9F\x98\x80", "\xEF\xBD\x81"};
  // Wine compares lower-cased names, which puts ÿ (FF) before ā (101);
  // Windows upper-cases (Ÿ is 178), as our store does.
  if (RunningUnderWine()) std::swap(expected[3], expected[4]);
  EXPECT_EQ(SubKeyNames(Base()), expected);
}

TEST_P(Enumeration, SubKeyOrderFollowsCreationAndDeletion) {
  MustCreate(Base(), "b");
  MustCreate(Base(), "d");
  EXPECT_EQ(SubKeyNames(Base()), (Names{"b", "d"}));
  MustCreate(Base(), "C");
  MustCreate(Base(), "A");
  EXPECT_EQ(SubKeyNames(Base()), (Names{"A", "b", "C", "d"}));
  ASSERT_EQ(RegDeleteKeyA(Base(), "b"), ERROR_SUCCESS);
  EXPECT_EQ(SubKeyNames(Base()), (Names{"A", "C", "d"}));
}

TEST_P(Enumeration, ValuesComeInTheOrderTheyWereWritten) {
  for (const char* name : {"zeta", "Alpha", "mid", ""}) ASSERT_EQ(SetDword(Base(), name, 1), ERROR_SUCCESS);
  const Names written{"zeta", "Alpha", "mid", ""};
  // Windows keeps a key's values in a list in the order they were written;
  // Wine keeps them sorted by name, so the order is checked only elsewhere.
  if (!RunningUnderWine()) {
    EXPECT_EQ(ValueNames(Base()), written);
  }

  // A replaced value keeps its place, even with another type and size.
  ASSERT_EQ(SetString(Base(), "ALPHA", "a longer string than before"), ERROR_SUCCESS);
  if (!RunningUnderWine()) {
    EXPECT_EQ(ValueNames(Base()), written);
  }

  // A deleted and re-created value goes last.
  ASSERT_EQ(RegDeleteValueA(Base(), "zeta"), ERROR_SUCCESS);
  ASSERT_EQ(SetDword(Base(), "Zeta", 2), ERROR_SUCCESS);
  if (!RunningUnderWine()) {
    EXPECT_EQ(ValueNames(Base()), (Names{"Alpha", "mid", "", "Zeta"}));
  }
  EXPECT_EQ(ValueNames(Base()).size(), 4u);
}

TEST_P(Enumeration, ValueEnumerationGivesTypeAndData) {
  ASSERT_EQ(SetString(Base(), "S", "text"), ERROR_SUCCESS);
  char name[kNameBuffer];
  DWORD length = kNameBuffer;
  DWORD type = 0;
  char data[16];
  DWORD size = sizeof data;
  ASSERT_EQ(RegEnumValueA(Base(), 0, name, &length, nullptr, &type, reinterpret_cast<BYTE*>(data), &size),
            ERROR_SUCCESS);
  EXPECT_EQ(std::string(name, length), "S");
  EXPECT_EQ(type, REG_SZ);
  EXPECT_EQ(std::string(data, size), std::string("text", 5));

  // Without a data buffer: type and size only.
  length = kNameBuffer;
  size = 0;
  ASSERT_EQ(RegEnumValueA(Base(), 0, name, &length, nullptr, &type, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(size, 5u);
}

TEST_P(Enumeration, ShortDataBufferGivesMoreDataAndTheNeededSize) {
  ASSERT_EQ(SetString(Base(), "Test", "foobar"), ERROR_SUCCESS);
  char name[kNameBuffer];
  DWORD length = kNameBuffer;
  DWORD type = 0;
  char data[16] = "xxxxxxxxxx";
  DWORD size = 2;
  EXPECT_EQ(RegEnumValueA(Base(), 0, name, &length, nullptr, &type, reinterpret_cast<BYTE*>(data), &size),
            ERROR_MORE_DATA);
  EXPECT_EQ(size, 7u);
  EXPECT_EQ(type, REG_SZ);
}

TEST_P(Enumeration, NameBufferMustHoldTheTerminator) {
  MustCreate(Base(), "Seven77");
  ASSERT_EQ(SetDword(Base(), "Seven77", 1), ERROR_SUCCESS);
  char name[16];
  DWORD length = 7;
  EXPECT_EQ(RegEnumKeyExA(Base(), 0, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_MORE_DATA);
  length = 7;
  EXPECT_EQ(RegEnumValueA(Base(), 0, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_MORE_DATA);

  length = 8;
  ASSERT_EQ(RegEnumKeyExA(Base(), 0, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
  EXPECT_EQ(length, 7u) << "the length excludes the terminator";
  EXPECT_STREQ(name, "Seven77");
  length = 8;
  ASSERT_EQ(RegEnumValueA(Base(), 0, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
  EXPECT_EQ(length, 7u);
  EXPECT_STREQ(name, "Seven77");
}

TEST_P(Enumeration, ShortNameBufferStillReportsTypeAndDataSize) {
  ASSERT_EQ(SetString(Base(), "Test", "foobar"), ERROR_SUCCESS);
  char name[16];
  DWORD length = 3;
  DWORD type = 0;
  char data[20];
  DWORD size = sizeof data;
  EXPECT_EQ(RegEnumValueA(Base(), 0, name, &length, nullptr, &type, reinterpret_cast<BYTE*>(data), &size),
            ERROR_MORE_DATA);
  EXPECT_EQ(size, 7u) << "the data size is reported though the name did not fit";
  EXPECT_EQ(type, REG_SZ);
}

TEST_P(Enumeration, SubKeyEnumerationFillsClassAndTime) {
  MustCreate(Base(), "Sub");
  char name[kNameBuffer];
  DWORD length = kNameBuffer;
  char class_name[kNameBuffer] = "unchanged";
  DWORD class_length = kNameBuffer;
  FILETIME time{0, 0};
  ASSERT_EQ(RegEnumKeyExA(Base(), 0, name, &length, nullptr, class_name, &class_length, &time), ERROR_SUCCESS);
  EXPECT_EQ(class_length, 0u) << "keys are created without a class";
  EXPECT_NE(time.dwHighDateTime, 0u) << "a last-write time is reported";
}

std::string NumberedName(int number) {
  char name[16];
  std::snprintf(name, sizeof name, "k%d", number);
  return name;
}

TEST_P(Enumeration, ManySubKeysEnumerateCompletelyAndInOrder) {
  for (int i = 999; i >= 0; --i) MustCreate(Base(), NumberedName(1000 + i));
  const Names names = SubKeyNames(Base());
  ASSERT_EQ(names.size(), 1000u);
  for (int i = 0; i < 1000; ++i) EXPECT_EQ(names[i], NumberedName(1000 + i));
}

}  // namespace
}  // namespace conformance
