// The COM object of class Quorvel: one control and the interfaces a
// script host or a container reaches it through. Creating the object is the
// control's initialise event; its last Release is the terminate event.
// Every call into the control holds the server's control lock.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <atomic>
#include <memory>

#include "orvane/container.h"
#include "orvane/quorvel.h"

namespace orvane::com {

class QuorvelObject : public IDispatch, public ISupportErrorInfo, public IProvideClassInfo2, private Container {
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

 private:
  QuorvelObject();
  ~QuorvelObject();

  // Container
  void PropertyChanged(std::string_view name) override;
  bool AmbientUserMode() const override;

  std::atomic<ULONG> references_{1};
  std::unique_ptr<Quorvel> control_;
  bool dirty_ = false;
};

}  // namespace orvane::com
