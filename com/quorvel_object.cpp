// The object's IUnknown, IDispatch, error and class information interfaces.
#include "com/quorvel_object.h"

#include <new>

#include "com/com_guid.h"
#include "com/dispatch_call.h"
#include "com/server_state.h"
#include "com/type_library.h"
#include "orvane/dispatch.h"

namespace orvane::com {

QuorvelObject* QuorvelObject::Create(HRESULT& status) {
  std::lock_guard<std::recursive_mutex> hold(ControlLock());
  try {
    QuorvelObject* object = new QuorvelObject();
    status = S_OK;
    return object;
  } catch (const Error& error) {
    status = ErrorResult(error.record());
  } catch (...) {
    status = E_OUTOFMEMORY;
  }
  return nullptr;
}

QuorvelObject::QuorvelObject() {
  control_ = std::make_unique<Quorvel>(static_cast<Container&>(*this));
  AddServerReference();
}

QuorvelObject::~QuorvelObject() {
  {
    std::lock_guard<std::recursive_mutex> hold(ControlLock());
    try {
      control_.reset();
      if (site_ != nullptr) site_->Release();
    } catch (...) {
      // The terminate event has nowhere to report a failure.
    }
  }
  ReleaseServerReference();
}

HRESULT QuorvelObject::QueryInterface(REFIID iid, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (iid == IID_IUnknown || iid == IID_IDispatch || iid == DispatchGuid()) {
    *out = static_cast<IDispatch*>(this);
  } else if (iid == IID_ISupportErrorInfo) {
    *out = static_cast<ISupportErrorInfo*>(this);
  } else if (iid == IID_IProvideClassInfo || iid == IID_IProvideClassInfo2) {
    *out = static_cast<IProvideClassInfo2*>(this);
  } else if (iid == IID_IPersist || iid == IID_IPersistPropertyBag) {
    *out = static_cast<IPersistPropertyBag*>(this);
  } else if (iid == IID_IPersistStreamInit) {
    *out = static_cast<IPersistStreamInit*>(this);
  } else if (iid == IID_IOleObject) {
    *out = static_cast<IOleObject*>(this);
  } else if (iid == IID_IConnectionPointContainer) {
    *out = static_cast<IConnectionPointContainer*>(this);
  } else {
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

ULONG QuorvelObject::AddRef() { return ++references_; }

ULONG QuorvelObject::Release() {
  const ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

HRESULT QuorvelObject::GetTypeInfoCount(UINT* count) {
  if (count == nullptr) return E_POINTER;
  *count = 1;
  return S_OK;
}

HRESULT QuorvelObject::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
  if (info == nullptr) return E_POINTER;
  *info = nullptr;
  if (index != 0) return DISP_E_BADINDEX;
  return TypeInfoOf(DispatchGuid(), info);
}

// IDispatch's reserved interface argument must be IID_NULL.
HRESULT QuorvelObject::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
  return IdsOfNames(names, count, ids);
}

HRESULT QuorvelObject::Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                              EXCEPINFO* exception, UINT* arg_error) {
  if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
  std::lock_guard<std::recursive_mutex> hold(ControlLock());
  const MemberInfo* member = FindMember(static_cast<int32_t>(id));
  if ((flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) && member != nullptr &&
      member->kind == MemberKind::kProperty && !notify_point_.EditAllowed(id)) {
    return CTL_E_SETNOTPERMITTED;
  }
  return InvokeMember(*control_, id, flags, params, result, exception, arg_error);
}

HRESULT QuorvelObject::EnumConnectionPoints(IEnumConnectionPoints** points) {
  if (points != nullptr) *points = nullptr;
  return E_NOTIMPL;
}

HRESULT QuorvelObject::FindConnectionPoint(REFIID iid, IConnectionPoint** point) {
  if (point == nullptr) return E_POINTER;
  *point = nullptr;
  if (iid != IID_IPropertyNotifySink) return CONNECT_E_NOCONNECTION;
  notify_point_.AddRef();
  *point = &notify_point_;
  return S_OK;
}

HRESULT QuorvelObject::InterfaceSupportsErrorInfo(REFIID iid) {
  return iid == IID_IDispatch || iid == DispatchGuid() ? S_OK : S_FALSE;
}

HRESULT QuorvelObject::GetClassInfo(ITypeInfo** info) { return TypeInfoOf(ClassGuid(), info); }

HRESULT QuorvelObject::GetGUID(DWORD kind, GUID* guid) {
  if (guid == nullptr) return E_POINTER;
  if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) return E_INVALIDARG;
  *guid = EventsGuid();
  return S_OK;
}

void QuorvelObject::PropertyChanged(std::string_view name) {
  dirty_ = true;
  if (const MemberInfo* member = FindMember(name); member != nullptr) notify_point_.Changed(member->dispid);
}

bool QuorvelObject::AmbientUserMode() const {
  if (site_ == nullptr) return true;
  IDispatch* ambient = nullptr;
  if (FAILED(site_->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&ambient)))) return true;
  DISPPARAMS none{};
  VARIANT mode;
  VariantInit(&mode);
  const HRESULT status = ambient->Invoke(DISPID_AMBIENT_USERMODE, IID_NULL, LOCALE_USER_DEFAULT,
                                         DISPATCH_PROPERTYGET, &none, &mode, nullptr, nullptr);
  ambient->Release();
  const bool run_mode = FAILED(status) || V_VT(&mode) != VT_BOOL || V_BOOL(&mode) != VARIANT_FALSE;
  VariantClear(&mode);
  return run_mode;
}

}  // namespace orvane::com
