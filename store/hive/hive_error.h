// The failure of a hive file (a file that is gone, not a hive, damaged, or
// that cannot be written), with the Win32 status the registry call returns
// and a message naming the file. Thrown inside a registry call by the hive
// layer; the session turns it into the call's status.
#pragma once

#include <stdexcept>
#include <string>

#include "platform/win32_registry.h"

namespace orvane::platform {

class HiveError : public std::runtime_error {
 public:
  HiveError(LONG status, const std::string& message) : std::runtime_error(message), status_(status) {}
  LONG status() const { return status_; }

 private:
  LONG status_;
};

}  // namespace orvane::platform
