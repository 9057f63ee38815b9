// Test helper: the number of the orvane::Error a call raises, or 0 when it
// raises nothing.
#pragma once

#include "orvane/error.h"

namespace orvane::testing {

template <typename F>
int32_t Raised(F&& call) {
  try {
    call();
  } catch (const Error& error) {
    return error.number();
  }
  return 0;
}

}  // namespace orvane::testing
