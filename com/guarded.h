// QuorvelObject::Guarded: a container's call into the control under the
// control lock, with the control's errors turned into HRESULTs.
#pragma once

#include <new>

#include "com/dispatch_call.h"
#include "com/quorvel_object.h"
#include "com/server_state.h"

namespace orvane::com {

template <typename Action>
HRESULT QuorvelObject::Guarded(Action action) {
  std::lock_guard<std::recursive_mutex> hold(ControlLock());
  try {
    return action(*control_);
  } catch (const Error& error) {
    return RaisedResult(error.record());
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

}  // namespace orvane::com
