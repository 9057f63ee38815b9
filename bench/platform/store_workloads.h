// The registry workloads measured on our store and, through the same source
// built for Windows, on Wine's registry. Every function speaks the Win32
// registry API only and works below an open key the caller owns; the caller
// times the calls.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32_registry.h"

namespace bench {

// Sizes of the measured data: a tree of 100,000 keys, each key with up to
// ten sub-keys and five values (types 1, 2, 3, 4 and 7); a subtree of
// 10,000 keys of the same shape to copy and delete; a key with 20,000 sub-keys.
constexpr int kTreeKeys = 100000;
constexpr int kSubtreeKeys = 10000;
constexpr int kFanOut = 10;
constexpr int kWideKeys = 20000;

// An open key, closed at destruction.
class OpenKey {
 public:
  OpenKey() = default;
  explicit OpenKey(HKEY handle) : handle_(handle) {}
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;
  OpenKey(OpenKey&& other) noexcept : handle_(other.handle_) { other.handle_ = nullptr; }
  OpenKey& operator=(OpenKey&& other) noexcept;
  ~OpenKey();
  HKEY get() const { return handle_; }
  HKEY* Out() { return &handle_; }

 private:
  HKEY handle_ = nullptr;
};

// Opens or creates parent\path with the access the component asks for;
// aborts the program with a message when the registry refuses.
HKEY MustCreate(HKEY parent, const std::string& path);

// Fills parent\name with a tree of `keys` keys (breadth first, `fan_out`
// sub-keys per key, five values each) and returns the paths of all its keys
// relative to parent\name, the root's own path "" first.
std::vector<std::string> BuildTree(HKEY parent, const std::string& name, int keys, int fan_out);

// Builds parent\name with `count` sub-keys without values.
void BuildWideKey(HKEY parent, const std::string& name, int count);

// Opens root\path, reads its string value, closes it. Returns the read size.
DWORD OpenQueryClose(HKEY root, const std::string& path);

// Creates parent\name and sets one string value in it.
void CreateKeySetValue(HKEY parent, const std::string& name);

// Visits every key below and including `key` as a search does: key
// information, every value with its data, every sub-key by index. Returns
// the number of keys visited.
int64_t WalkTree(HKEY key);

// Copies the values and the subtree of `source` into `target`, with the
// calls a recursive copy makes. Returns the number of keys copied.
int64_t CopyTree(HKEY source, HKEY target);

// Deletes parent\name and its subtree, deepest keys first, enumerating by
// index. Returns the number of keys deleted.
int64_t DeleteTree(HKEY parent, const std::string& name);

// Enumerates every sub-key name of `key` by index. Returns their number.
int64_t EnumerateSubKeys(HKEY key);

// A fixed pseudo-random sequence (the same in every build), for choosing
// keys to open.
class Sequence {
 public:
  explicit Sequence(uint64_t seed) : state_(seed) {}
  uint32_t Next(uint32_t bound);

 private:
  uint64_t state_;
};

}  // namespace bench
