// Test helpers: build keys and values through the registry API, and print
// a key's whole subtree as text (one line per key and per value, names,
// types and bytes exact) so a test can compare a tree whole.
#pragma once

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
