// Test helpers: build keys and values through the registry API, and print
// a key's whole subtree as text (one line per key and per value, names,
// types and bytes exact) so a test can compare a tree whole.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/win32_registry.h"

namespace orvane::testing {

// Creates `path` under `root` (with missing parents); fails the test if
// that is refused.
void PutKey(HKEY root, const std::string& path);

// Writes `data` as the raw bytes of value `name` with type `type`.
void PutValue(HKEY root, const std::string& path, const std::string& name, DWORD type, const std::string& data);

// Writes a REG_SZ value with its terminating zero.
void PutString(HKEY root, const std::string& path, const std::string& name, const std::string& text);

// Whether `path` opens under `root`.
bool KeyThere(HKEY root, const std::string& path);

// The subtree of `path`: "[relative\path]" per key (the top is "[]"), then
// `"name"=type:hexbytes` per value (a REG_SZ value with one terminator as
// `"name"="text"`), keys pre-order in enumeration order.
// "<missing>" when the key does not open.
std::string TreeText(HKEY root, const std::string& path);

// Compares two TreeText listings. Windows and our store list a key's values
// in the order they were created; Wine lists them sorted by name, so under
// Wine only the values of each key are compared as a set (keys, names,
// types and bytes still exactly).
::testing::AssertionResult TreesMatch(const char* actual_expression, const char* expected_expression,
                                      const std::string& actual, const std::string& expected);
#define EXPECT_TREE_EQ(actual, expected) EXPECT_PRED_FORMAT2(::orvane::testing::TreesMatch, actual, expected)
#define ASSERT_TREE_EQ(actual, expected) ASSERT_PRED_FORMAT2(::orvane::testing::TreesMatch, actual, expected)

// Compares two listings of one value of one key per line, in enumeration
// order; under Wine (values sorted by name, as above) as sets of lines.
::testing::AssertionResult RowsMatch(const char* actual_expression, const char* expected_expression,
                                     const std::string& actual, const std::string& expected);
#define EXPECT_ROWS_EQ(actual, expected) EXPECT_PRED_FORMAT2(::orvane::testing::RowsMatch, actual, expected)

// The data of a REG_SZ value without its terminator; "<missing>" when the
// value cannot be read.
std::string StringAt(HKEY root, const std::string& path, const std::string& name);

// The number of direct sub-keys of `path`, -1 when it does not open.
int SubKeyCount(HKEY root, const std::string& path);

}  // namespace orvane::testing

// The helpers most registry tests build and compare trees with, brought in
// together by `using namespace testing::tree_helpers;`.
namespace orvane::testing::tree_helpers {
using orvane::testing::KeyThere;
using orvane::testing::PutKey;
using orvane::testing::PutString;
using orvane::testing::PutValue;
using orvane::testing::TreeText;
}  // namespace orvane::testing::tree_helpers
