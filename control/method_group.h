// Runs the body of one control method as one group of registry calls and
// raises the first store failure that any call of it met (a full disk, an
// I/O error, a busy store, damage), or that its commit met, or that a
// commit of earlier held changes met meanwhile: even when the routine that
// met it dropped the status or turned it into another error, the caller of
// the method gets the store's failure, never a success or a wrong answer.
#pragma once

#include <type_traits>

#include "orvane/error.h"
#include "store/store_extensions.h"
#include "registry/registry_error.h"

namespace orvane {

template <typename Body>
auto InMethodGroup(Body&& body) -> decltype(body()) {
  platform::RegistryMethodScope group;
  const auto run = [&]() -> decltype(body()) {
    try {
      return body();
    } catch (const Error&) {
      RaiseRegistryError(static_cast<int32_t>(group.End()));  // the store's failure wins
      throw;
    }
  };
  if constexpr (std::is_void_v<decltype(body())>) {
    run();
    RaiseRegistryError(static_cast<int32_t>(group.End()));
  } else {
    auto result = run();
    RaiseRegistryError(static_cast<int32_t>(group.End()));
    return result;
  }
}

}  // namespace orvane
