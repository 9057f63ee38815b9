// CallBody: what one registry call does, handed to the session without
// copying it or allocating: a reference to any callable taking the store
// (as a RegistryKind) and the handle table and returning a Win32 status.
// The callable must outlive the call, as a lambda at the call site does.
#pragma once

#include <memory>
#include <type_traits>

#include "platform/win32_registry.h"

namespace orvane::platform {

class RegistryKind;
class HandleTable;

class CallBody {
 public:
  template <typename Fn, typename = std::enable_if_t<!std::is_same_v<std::decay_t<Fn>, CallBody>>>
  CallBody(Fn&& fn)  // NOLINT(google-explicit-constructor): a lambda converts where a body is expected
      : target_(const_cast<void*>(static_cast<const void*>(std::addressof(fn)))),
        run_([](void* target, RegistryKind& store, HandleTable& handles) -> LONG {
          return (*static_cast<std::remove_reference_t<Fn>*>(target))(store, handles);
        }) {}

  LONG operator()(RegistryKind& store, HandleTable& handles) const { return run_(target_, store, handles); }

 private:
  void* target_;
  LONG (*run_)(void*, RegistryKind&, HandleTable&);
};

}  // namespace orvane::platform
