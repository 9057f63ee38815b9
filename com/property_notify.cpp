// IPropertyNotifySink connections of the control object.
#include "com/property_notify.h"

#include <olectl.h>

namespace orvane::com {

PropertyNotifyPoint::~PropertyNotifyPoint() {
  for (auto& [cookie, sink] : sinks_) sink->Release();
}

HRESULT PropertyNotifyPoint::QueryInterface(REFIID iid, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (iid != IID_IUnknown && iid != IID_IConnectionPoint) return E_NOINTERFACE;
  *out = static_cast<IConnectionPoint*>(this);
  AddRef();
  return S_OK;
}

HRESULT PropertyNotifyPoint::GetConnectionInterface(IID* iid) {
  if (iid == nullptr) return E_POINTER;
  *iid = IID_IPropertyNotifySink;
  return S_OK;
}

HRESULT PropertyNotifyPoint::GetConnectionPointContainer(IConnectionPointContainer** container) {
  if (container == nullptr) return E_POINTER;
  owner_.AddRef();
  *container = &owner_;
  return S_OK;
}

HRESULT PropertyNotifyPoint::Advise(IUnknown* sink, DWORD* cookie) {
  if (sink == nullptr || cookie == nullptr) return E_POINTER;
  *cookie = 0;
  IPropertyNotifySink* notify = nullptr;
  if (FAILED(sink->QueryInterface(IID_IPropertyNotifySink, reinterpret_cast<void**>(&notify)))) {
    return CONNECT_E_CANNOTCONNECT;
  }
  sinks_.emplace_back(++next_cookie_, notify);
  *cookie = next_cookie_;
  return S_OK;
}

HRESULT PropertyNotifyPoint::Unadvise(DWORD cookie) {
  for (auto it = sinks_.begin(); it != sinks_.end(); ++it) {
    if (it->first != cookie) continue;
    IPropertyNotifySink* sink = it->second;
    sinks_.erase(it);
    sink->Release();
    return S_OK;
  }
  return CONNECT_E_NOCONNECTION;
}

HRESULT PropertyNotifyPoint::EnumConnections(IEnumConnections** connections) {
  if (connections != nullptr) *connections = nullptr;
  return E_NOTIMPL;
}

namespace {

// The sinks as they are now, each held, since a sink may unadvise while it
// is called.
struct HeldSinks {
  explicit HeldSinks(const std::vector<std::pair<DWORD, IPropertyNotifySink*>>& sinks) {
    for (const auto& entry : sinks) {
      entry.second->AddRef();
      held.push_back(entry.second);
    }
  }
  ~HeldSinks() {
    for (IPropertyNotifySink* sink : held) sink->Release();
  }
  HeldSinks(const HeldSinks&) = delete;
  HeldSinks& operator=(const HeldSinks&) = delete;
  std::vector<IPropertyNotifySink*> held;
};

}  // namespace

void PropertyNotifyPoint::Changed(DISPID id) {
  const HeldSinks sinks(sinks_);
  for (IPropertyNotifySink* sink : sinks.held) sink->OnChanged(id);
}

bool PropertyNotifyPoint::EditAllowed(DISPID id) {
  const HeldSinks sinks(sinks_);
  for (IPropertyNotifySink* sink : sinks.held) {
    if (sink->OnRequestEdit(id) == S_FALSE) return false;
  }
  return true;
}

}  // namespace orvane::com
