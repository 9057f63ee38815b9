// IOleObject: enough for a container to site the control, ask its extent
// and learn how to treat it. The control has no user interface of its own
// at run time, so verbs, monikers, data transfer and advise sinks are not
// supported.
#include "com/com_guid.h"
#include "com/guarded.h"

namespace orvane::com {

HRESULT QuorvelObject::SetClientSite(IOleClientSite* site) {
  std::lock_guard<std::recursive_mutex> hold(ControlLock());
  if (site != nullptr) site->AddRef();
  if (site_ != nullptr) site_->Release();
  site_ = site;
  return S_OK;
}

HRESULT QuorvelObject::GetClientSite(IOleClientSite** site) {
  if (site == nullptr) return E_POINTER;
  std::lock_guard<std::recursive_mutex> hold(ControlLock());
  *site = site_;
  if (site_ != nullptr) site_->AddRef();
  return S_OK;
}

HRESULT QuorvelObject::SetHostNames(LPCOLESTR, LPCOLESTR) { return S_OK; }
HRESULT QuorvelObject::Close(DWORD) { return S_OK; }
HRESULT QuorvelObject::SetMoniker(DWORD, IMoniker*) { return E_NOTIMPL; }

HRESULT QuorvelObject::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
  if (moniker != nullptr) *moniker = nullptr;
  return E_NOTIMPL;
}

HRESULT QuorvelObject::InitFromData(IDataObject*, BOOL, DWORD) { return E_NOTIMPL; }

HRESULT QuorvelObject::GetClipboardData(DWORD, IDataObject** data) {
  if (data != nullptr) *data = nullptr;
  return E_NOTIMPL;
}

HRESULT QuorvelObject::DoVerb(LONG verb, LPMSG, IOleClientSite*, LONG, HWND, LPCRECT) {
  return verb == OLEIVERB_PRIMARY || verb == OLEIVERB_SHOW || verb == OLEIVERB_HIDE ||
                 verb == OLEIVERB_INPLACEACTIVATE || verb == OLEIVERB_UIACTIVATE
             ? S_OK
             : OLEOBJ_S_INVALIDVERB;
}

HRESULT QuorvelObject::EnumVerbs(IEnumOLEVERB** verbs) {
  if (verbs != nullptr) *verbs = nullptr;
  return OLE_S_USEREG;
}

HRESULT QuorvelObject::Update() { return S_OK; }
HRESULT QuorvelObject::IsUpToDate() { return S_OK; }

HRESULT QuorvelObject::GetUserClassID(CLSID* clsid) { return GetClassID(clsid); }

HRESULT QuorvelObject::GetUserType(DWORD, LPOLESTR* type) {
  if (type != nullptr) *type = nullptr;
  return OLE_S_USEREG;
}

HRESULT QuorvelObject::SetExtent(DWORD aspect, SIZEL* size) {
  if (size == nullptr) return E_POINTER;
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  return Guarded([](Quorvel& control) {
    control.Resize();
    return S_OK;
  });
}

HRESULT QuorvelObject::GetExtent(DWORD aspect, SIZEL* size) {
  if (size == nullptr) return E_POINTER;
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  size->cx = Quorvel::kFixedExtent;
  size->cy = Quorvel::kFixedExtent;
  return S_OK;
}

HRESULT QuorvelObject::Advise(IAdviseSink*, DWORD* connection) {
  if (connection != nullptr) *connection = 0;
  return OLE_E_ADVISENOTSUPPORTED;
}

HRESULT QuorvelObject::Unadvise(DWORD) { return OLE_E_NOCONNECTION; }

HRESULT QuorvelObject::EnumAdvise(IEnumSTATDATA** advise) {
  if (advise != nullptr) *advise = nullptr;
  return OLE_E_ADVISENOTSUPPORTED;
}

HRESULT QuorvelObject::GetMiscStatus(DWORD, DWORD* status) {
  if (status == nullptr) return E_POINTER;
  *status = OLEMISC_INVISIBLEATRUNTIME | OLEMISC_SETCLIENTSITEFIRST | OLEMISC_INSIDEOUT | OLEMISC_CANTLINKINSIDE |
            OLEMISC_RECOMPOSEONRESIZE;
  return S_OK;
}

HRESULT QuorvelObject::SetColorScheme(LOGPALETTE*) { return E_NOTIMPL; }

}  // namespace orvane::com
