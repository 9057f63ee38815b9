// The connection point for IPropertyNotifySink, as containers expect of a
// control: each sink is told of every property change by the property's
// dispatch identifier (OnChanged), and asked before an assignment
// (OnRequestEdit), where any sink may refuse it. The point lives inside its
// control object and shares the object's reference count.
#pragma once

#include <windows.h>
#include <ocidl.h>

#include <utility>
#include <vector>

namespace orvane::com {

class PropertyNotifyPoint : public IConnectionPoint {
 public:
  explicit PropertyNotifyPoint(IConnectionPointContainer& owner) : owner_(owner) {}
  ~PropertyNotifyPoint();
  PropertyNotifyPoint(const PropertyNotifyPoint&) = delete;
  PropertyNotifyPoint& operator=(const PropertyNotifyPoint&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return owner_.AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return owner_.Release(); }

  HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override;
  HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** container) override;
  HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
  // Not offered (E_NOTIMPL): containers keep their own cookies.
  HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** connections) override;

  // Tells every sink that property `id` changed.
  void Changed(DISPID id);
  // Whether every sink lets property `id` be assigned.
  bool EditAllowed(DISPID id);

 private:
  IConnectionPointContainer& owner_;
  std::vector<std::pair<DWORD, IPropertyNotifySink*>> sinks_;
  DWORD next_cookie_ = 0;
};

}  // namespace orvane::com
