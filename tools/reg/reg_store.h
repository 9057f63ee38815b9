// Reading keys and values through the registry API for the reg verbs: a
// key opened by its command-line name, a key's values and sub-key names in
// the store's order, and one value by name. Call from one thread at a time
// per process, like every registry call.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/win32_registry.h"
#include "tools/reg/reg_key_name.h"
#include "tools/regedit/key_handle.h"

namespace orvane::reg {

struct Value {
  std::string name;  // "" is the default value
  DWORD type = REG_NONE;
  std::string data;

  bool operator==(const Value&) const = default;
};

// Opens `key` with `access`; returns the status (2 when it is missing).
LONG OpenKey(const KeyName& key, REGSAM access, regedit::KeyHandle* handle);

// The values of `key` in the store's order; *status is the first failure.
std::vector<Value> ReadValues(HKEY key, LONG* status);

// The value `name` of `key`, or nothing with *status (2 when missing).
std::optional<Value> ReadValue(HKEY key, const std::string& name, LONG* status);

// Writes `value` into `key`; returns the status.
LONG WriteValue(HKEY key, const Value& value);

// The names of the sub-keys of `key`, in the store's order.
std::vector<std::string> SubKeyNames(HKEY key, LONG* status);

// The name a value goes by in reg's output: "(Default)" for "".
std::string DisplayName(const std::string& name);

}  // namespace orvane::reg
