// The COM object of class Quorvel: one control and the interfaces a
// script host or a container reaches it through. Creating the object is the
// control's initialise event; its last Release is the terminate event;
// InitNew is the initialise-properties event (and shows the About box);
// loading saved properties is the read-properties event (in design mode it
// clears the journal). The ambient user mode is asked of the client site;
// without a site the control is in run mode. Every call into the control
// holds the server's control lock.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <atomic>
#include <memory>

#include "com/property_notify.h"
#include "orvane/container.h"
#include "orvane/quorvel.h"

namespace orvane::com {

class QuorvelObject : public IDispatch,
                      public ISupportErrorInfo,
                      public IProvideClassInfo2,
                      public IPersistPropertyBag,
                      public IPersistStreamInit,
                      public IOleObject,
                      public IConnectionPointContainer,
                      private Container {
 public:
  // A new object with one reference; nullptr (and E_OUTOFMEMORY or the
  // control's error as an HRESULT in `status`) when it cannot be made.
  static QuorvelObject* Create(HRESULT& status);

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // IDispatch
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exception, UINT* arg_error) override;

  // ISupportErrorInfo
  HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) override;

  // IProvideClassInfo2
  HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetGUID(DWORD kind, GUID* guid) override;

  // IPersist, IPersistPropertyBag, IPersistStreamInit (persistence.cpp)
  HRESULT STDMETHODCALLTYPE GetClassID(CLSID* clsid) override;
  HRESULT STDMETHODCALLTYPE InitNew() override;
  HRESULT STDMETHODCALLTYPE Load(IPropertyBag* bag, IErrorLog* log) override;
  HRESULT STDMETHODCALLTYPE Save(IPropertyBag* bag, BOOL clear_dirty, BOOL save_all) override;
  HRESULT STDMETHODCALLTYPE IsDirty() override;
  HRESULT STDMETHODCALLTYPE Load(LPSTREAM stream) override;
  HRESULT STDMETHODCALLTYPE Save(LPSTREAM stream, BOOL clear_dirty) override;
  HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER* size) override;

  // IOleObject, as far as a container sites the control (ole_object.cpp).
  // The extent is fixed: 600 by 600 whatever SetExtent asks.
  HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* site) override;
  HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** site) override;
  HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR app, LPCOLESTR object) override;
  HRESULT STDMETHODCALLTYPE Close(DWORD save_option) override;
  HRESULT STDMETHODCALLTYPE SetMoniker(DWORD which, IMoniker* moniker) override;
  HRESULT STDMETHODCALLTYPE GetMoniker(DWORD assign, DWORD which, IMoniker** moniker) override;
  HRESULT STDMETHODCALLTYPE InitFromData(IDataObject* data, BOOL creation, DWORD reserved) override;
  HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD reserved, IDataObject** data) override;
  HRESULT STDMETHODCALLTYPE DoVerb(LONG verb, LPMSG msg, IOleClientSite* site, LONG index, HWND parent,
                                   LPCRECT rect) override;
  HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB** verbs) override;
  HRESULT STDMETHODCALLTYPE Update() override;
  HRESULT STDMETHODCALLTYPE IsUpToDate() override;
  HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID* clsid) override;
  HRESULT STDMETHODCALLTYPE GetUserType(DWORD form, LPOLESTR* type) override;
  HRESULT STDMETHODCALLTYPE SetExtent(DWORD aspect, SIZEL* size) override;
  HRESULT STDMETHODCALLTYPE GetExtent(DWORD aspect, SIZEL* size) override;
  HRESULT STDMETHODCALLTYPE Advise(IAdviseSink* sink, DWORD* connection) override;
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD connection) override;
  HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA** advise) override;
  HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD aspect, DWORD* status) override;
  HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE* palette) override;

  // IConnectionPointContainer: one point, IPropertyNotifySink. Every
  // property change reaches its sinks by dispatch identifier (an
  // assignment of GlobalKeyPath also changes hKey and SubKeyPath); a
  // property assignment any sink refuses in OnRequestEdit fails with
  // CTL_E_SETNOTPERMITTED and changes nothing. Enumerating the points is
  // not offered (E_NOTIMPL).
  HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** points) override;
  HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** point) override;

 private:
  QuorvelObject();
  ~QuorvelObject();

  // Container
  void PropertyChanged(std::string_view name) override;
  bool AmbientUserMode() const override;

  // Runs `action` on the control under the lock; the control's error as
  // its HRESULT (and set with SetErrorInfo).
  template <typename Action>
  HRESULT Guarded(Action action);

  std::atomic<ULONG> references_{1};
  std::unique_ptr<Quorvel> control_;
  bool dirty_ = false;
  PropertyNotifyPoint notify_point_{*this};
  IOleClientSite* site_ = nullptr;
};

}  // namespace orvane::com
