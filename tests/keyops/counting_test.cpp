// CountItems over a key alone and its whole subtree, refused and missing
// keys, and FlushRootKey.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>
#ifndef _WIN32
#include <malloc.h>
#endif

#include "keyops/counting.h"
#include "keyops/registry_text.h"
#ifndef _WIN32
#include "store/registry_store.h"
#endif
#include "registry/expect_error.h"
#include "support/read_only_key.h"
#include "support/temp_registry.h"
#include "support/wine.h"

namespace orvane {
namespace {

using namespace testing::tree_helpers;

const std::string kKey = "Software\\Count";

// "values/sub-keys" of CountItems.
std::string Counted(HKEY root, const std::string& path, uint8_t include) {
  const Variant totals = CountItems(root, path, include);
  EXPECT_EQ(totals.type(), VarType::kLong);
  EXPECT_EQ(totals.array().bound(1), (ArrayBound{0, 1}));
  return std::to_string(totals.array().at(0).long_value()) + "/" + std::to_string(totals.array().at(1).long_value());
}

// The same totals from an independent walk: keys and values of TreeText.
std::string WalkedTotals(HKEY root, const std::string& path) {
  const std::string text = TreeText(root, path);
  int keys = -1;  // the starting key is not counted
  int values = 0;
  for (size_t at = 0; at < text.size(); at = text.find('\n', at) + 1) {
    (text[at] == '[' ? keys : values) += 1;
  }
  return std::to_string(values) + "/" + std::to_string(keys);
}

class CountingTest : public ::testing::Test {
 protected:
  TempRegistry registry_;
};

TEST_F(CountingTest, CountsTheKeyAloneOrWithEveryDescendant) {
  for (const char* name : {"a", "b", "c"}) PutString(HKEY_CURRENT_USER, kKey, name, "x");
  PutString(HKEY_CURRENT_USER, kKey + "\\One", "d", "x");
  PutString(HKEY_CURRENT_USER, kKey + "\\One", "e", "x");
  for (const char* name : {"\\Two\\1", "\\Two\\2", "\\Two\\3"}) PutKey(HKEY_CURRENT_USER, kKey + name);
  EXPECT_EQ(Counted(HKEY_CURRENT_USER, kKey, 0), "3/2");
  EXPECT_EQ(Counted(HKEY_CURRENT_USER, kKey, 1), "5/5");
  EXPECT_EQ(Counted(HKEY_CURRENT_USER, kKey, 2), "5/5");  // any non-zero flag includes
}

TEST_F(CountingTest, RootCountsTheWholeRoot) {
  // Wine's HKEY_LOCAL_MACHINE holds Perflib\009 as a key whose sub-keys
  // cannot be listed (status 6), where Windows has an ordinary key: there
  // the whole of HKEY_USERS is counted instead.
  const HKEY root = testing::RunningUnderWine() ? HKEY_USERS : HKEY_LOCAL_MACHINE;
  PutString(root, "SOFTWARE\\Count\\deep\\er", "v", "x");
  const std::string expected = WalkedTotals(root, "");
  EXPECT_NE(expected, "0/0");
  EXPECT_EQ(Counted(root, "", 1), expected);
}

// A key that refuses access counts as empty: it is one sub-key of its
// parent, but its own values and children are not counted.
TEST_F(CountingTest, RefusedKeyCountsAsEmpty) {
  PutString(HKEY_CURRENT_USER, kKey + "\\Locked", "v", "x");
  PutString(HKEY_CURRENT_USER, kKey + "\\Locked\\child", "w", "x");
  PutString(HKEY_CURRENT_USER, kKey + "\\Open", "v", "x");
  ASSERT_EQ(testing::SetKeyReadOnly(HKEY_CURRENT_USER, (kKey + "\\Locked").c_str(), true), 0);
  EXPECT_EQ(Counted(HKEY_CURRENT_USER, kKey, 1), "1/2");
  EXPECT_EQ(Counted(HKEY_CURRENT_USER, kKey + "\\Locked", 1), "0/0");
}

TEST_F(CountingTest, MissingKeyRaises) {
  EXPECT_ERROR_NUMBER(CountItems(HKEY_CURRENT_USER, kKey + "\\Nowhere", 1), 60002);
}

TEST_F(CountingTest, FlushLeavesContentAsItWasAndRaisesForABadRoot) {
  PutString(HKEY_CURRENT_USER, kKey, "v", "x");
  const std::string before = TreeText(HKEY_CURRENT_USER, "");
  EXPECT_FALSE(FlushRootKey(HKEY_CURRENT_USER));
  EXPECT_TREE_EQ(TreeText(HKEY_CURRENT_USER, ""), before);
  EXPECT_ERROR_NUMBER(FlushRootKey(reinterpret_cast<HKEY>(intptr_t{0x12345})), 60006);
}

#ifndef _WIN32
// Bytes this process has read through system calls so far (/proc/self/io).
int64_t BytesRead() {
  std::ifstream io("/proc/self/io");
  std::string field;
  int64_t value = 0;
  while (io >> field >> value) {
    if (field == "rchar:") return value;
  }
  return -1;
}

// Bytes of the heap in use.
int64_t HeapInUse() { return static_cast<int64_t>(mallinfo2().uordblks); }

// Four values of 125 MB in all: counting them, alone or from the parent
// with its subtree, keeps none of their data in memory and reads it at
// most once (SQLite passes over the pages of a row it compares; the store
// used to read it five times and keep it).
TEST_F(CountingTest, CountKeepsNoValueDataAndReadsItAtMostOnce) {
  constexpr size_t kTotal = 125'000'000;
  const std::string data(kTotal / 4, 'd');
  HKEY big = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, (kKey + "\\Big").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &big, nullptr),
            ERROR_SUCCESS);
  for (const char* name : {"a", "b", "c", "d"}) {
    EXPECT_EQ(RegSetValueExA(big, name, 0, REG_BINARY, reinterpret_cast<const BYTE*>(data.data()),
                             static_cast<DWORD>(data.size())),
              ERROR_SUCCESS);
  }
  RegCloseKey(big);
  PutString(HKEY_CURRENT_USER, kKey, "small", "x");
  // Closing the store and opening it again forgets what this process cached.
  ASSERT_EQ(platform::SelectRegistryStore(registry_.file()), ERROR_SUCCESS);
  PutString(HKEY_CURRENT_USER, "Software\\Other", "v", "x");
  const int64_t read_before = BytesRead();
  ASSERT_GE(read_before, 0) << "no /proc/self/io";
  const int64_t heap_before = HeapInUse();
  EXPECT_EQ(Counted(HKEY_CURRENT_USER, kKey + "\\Big", 0), "4/0");
  EXPECT_EQ(Counted(HKEY_CURRENT_USER, kKey, 1), "5/1");
  EXPECT_LT(BytesRead() - read_before, static_cast<int64_t>(kTotal + kTotal / 2));
  // SQLite keeps at most 32 MiB of pages in its cache.
  EXPECT_LT(HeapInUse() - heap_before, int64_t{48} << 20);
}
#endif

}  // namespace
}  // namespace orvane
