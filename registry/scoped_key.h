// An open registry key that closes itself when it goes out of scope: the
// one owner of a key handle that the component opened or created. Every
// open asks for the control's access mask. Move-only; one operation owns it.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "platform/win32_registry.h"

namespace orvane {

// Query, set, create sub-key, enumerate, notify and create link: the access
// the control asks for on every open and create, reads included.
inline constexpr REGSAM kControlKeyAccess = 0x3F;

// The predefined root handle of a root-key value (defHKey), sign-extended
// as Windows does. Any other 32-bit value gives a handle the registry
// refuses, as Windows would.
inline HKEY RootHandle(int32_t root) {
  return reinterpret_cast<HKEY>(static_cast<intptr_t>(root));
}

// The 32-bit root-key value of a predefined root handle.
inline int32_t RootValue(HKEY root) {
  return static_cast<int32_t>(reinterpret_cast<intptr_t>(root));
}

class ScopedKey {
 public:
  ScopedKey() = default;
  ~ScopedKey() { Close(); }
  ScopedKey(ScopedKey&& other) noexcept : key_(std::exchange(other.key_, nullptr)) {}
  ScopedKey& operator=(ScopedKey&& other) noexcept {
    if (this != &other) {
      Close();
      key_ = std::exchange(other.key_, nullptr);
    }
    return *this;
  }
  ScopedKey(const ScopedKey&) = delete;
  ScopedKey& operator=(const ScopedKey&) = delete;

  // Opens `path` under `parent` (an empty path opens the parent itself).
  // Returns the registry status; on failure the key stays closed.
  LONG Open(HKEY parent, const std::string& path) {
    Close();
    const LONG status = RegOpenKeyExA(parent, path.c_str(), 0, kControlKeyAccess, &key_);
    if (status != ERROR_SUCCESS) key_ = nullptr;
    return status;
  }

  // Creates or opens `path` under `parent`, with every missing key above
  // it. `disposition`, when given, receives 1 (created) or 2 (existed).
  LONG Create(HKEY parent, const std::string& path, DWORD* disposition = nullptr) {
    Close();
    DWORD ignored = 0;
    const LONG status = RegCreateKeyExA(parent, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                        kControlKeyAccess, nullptr, &key_,
                                        disposition != nullptr ? disposition : &ignored);
    if (status != ERROR_SUCCESS) key_ = nullptr;
    return status;
  }

  void Close() {
    if (key_ != nullptr) RegCloseKey(std::exchange(key_, nullptr));
  }

  HKEY get() const { return key_; }
  bool is_open() const { return key_ != nullptr; }

 private:
  HKEY key_ = nullptr;
};

}  // namespace orvane
