// An open registry key that closes itself; predefined roots are never
// closed. Move-only; belongs to the thread that opened it.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/win32_registry.h"

namespace orvane::regedit {

class KeyHandle {
 public:
  KeyHandle() = default;
  explicit KeyHandle(HKEY key) : key_(key) {}
  ~KeyHandle() { Close(); }
  KeyHandle(KeyHandle&& other) noexcept : key_(std::exchange(other.key_, nullptr)) {}
  KeyHandle& operator=(KeyHandle&& other) noexcept {
    if (this != &other) {
      Close();
      key_ = std::exchange(other.key_, nullptr);
    }
    return *this;
  }
  KeyHandle(const KeyHandle&) = delete;
  KeyHandle& operator=(const KeyHandle&) = delete;

  HKEY get() const { return key_; }
  HKEY* out() {
    Close();
    return &key_;
  }
  void Close() {
    if (key_ != nullptr) RegCloseKey(key_);
    key_ = nullptr;
  }

 private:
  HKEY key_ = nullptr;
};

// The access regedit asks for when it opens or creates a key to change it.
constexpr REGSAM kWriteAccess = KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_CREATE_SUB_KEY | KEY_ENUMERATE_SUB_KEYS;

// The names of the sub-keys of `key`, in enumeration order, however long;
// *status is the first failure other than the end of the list.
std::vector<std::string> SubKeyNames(HKEY key, LONG* status);

}  // namespace orvane::regedit
