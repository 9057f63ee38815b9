#include "com/test_container.h"

namespace orvane::testing {

HRESULT TestSite::QueryInterface(REFIID iid, void** out) {
  *out = nullptr;
  if (iid == IID_IUnknown || iid == IID_IOleClientSite) {
    *out = static_cast<IOleClientSite*>(this);
  } else if (iid == IID_IDispatch) {
    *out = static_cast<IDispatch*>(this);
  } else {
    return E_NOINTERFACE;
  }
  return S_OK;
}

HRESULT TestSite::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
  *moniker = nullptr;
  return E_NOTIMPL;
}

HRESULT TestSite::GetContainer(IOleContainer** container) {
  *container = nullptr;
  return E_NOINTERFACE;
}

HRESULT TestSite::GetTypeInfoCount(UINT* count) {
  *count = 0;
  return S_OK;
}

HRESULT TestSite::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*, UINT*) {
  if (id != DISPID_AMBIENT_USERMODE || result == nullptr) return DISP_E_MEMBERNOTFOUND;
  ++user_mode_questions;
  VariantInit(result);
  result->vt = VT_BOOL;
  result->boolVal = user_mode_ ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

TestBag::~TestBag() {
  for (auto& entry : entries_) VariantClear(&entry.second);
}

HRESULT TestBag::QueryInterface(REFIID iid, void** out) {
  *out = nullptr;
  if (iid != IID_IUnknown && iid != IID_IPropertyBag) return E_NOINTERFACE;
  *out = static_cast<IPropertyBag*>(this);
  return S_OK;
}

HRESULT TestBag::Read(LPCOLESTR name, VARIANT* value, IErrorLog*) {
  const VARIANT* found = Find(name);
  if (found == nullptr) return E_INVALIDARG;
  return VariantCopy(value, const_cast<VARIANT*>(found));
}

HRESULT TestBag::Write(LPCOLESTR name, VARIANT* value) {
  for (auto& entry : entries_) {
    if (entry.first == name) return VariantCopy(&entry.second, value);
  }
  entries_.emplace_back(name, VARIANT{});
  VariantInit(&entries_.back().second);
  return VariantCopy(&entries_.back().second, value);
}

std::vector<std::wstring> TestBag::Names() const {
  std::vector<std::wstring> names;
  for (const auto& entry : entries_) names.push_back(entry.first);
  return names;
}

const VARIANT* TestBag::Find(const std::wstring& name) const {
  for (const auto& entry : entries_) {
    if (_wcsicmp(entry.first.c_str(), name.c_str()) == 0) return &entry.second;
  }
  return nullptr;
}

}  // namespace orvane::testing
