// Late-bound calls from automation clients onto orvane::Invoke.
#include "com/dispatch_call.h"

#include <new>
#include <optional>
#include <vector>

#include "com/com_guid.h"
#include "com/variant_bridge.h"
#include "orvane/dispatch.h"
#include "orvane/runtime_errors.h"

namespace orvane::com {
namespace {

bool SameIgnoringCase(const std::string& a, const std::string& b) {
  return CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) == CSTR_EQUAL;
}

BSTR Bstr(const std::string& text) { return text.empty() ? nullptr : ToBstr(text); }

void SetError(const ErrorRecord& record) {
  ICreateErrorInfo* create = nullptr;
  if (FAILED(CreateErrorInfo(&create))) return;
  BSTR text = ToBstr(record.source);
  create->SetSource(text);
  SysFreeString(text);
  text = ToBstr(record.description);
  create->SetDescription(text);
  SysFreeString(text);
  text = ToBstr(record.help_file);
  create->SetHelpFile(text);
  SysFreeString(text);
  create->SetHelpContext(static_cast<DWORD>(record.help_context));
  create->SetGUID(DispatchGuid());
  IErrorInfo* info = nullptr;
  if (SUCCEEDED(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info)))) {
    SetErrorInfo(0, info);
    info->Release();
  }
  create->Release();
}

HRESULT Raised(const ErrorRecord& record, EXCEPINFO* exception) {
  SetError(record);
  if (exception == nullptr) return ErrorResult(record);
  *exception = EXCEPINFO{};
  exception->bstrSource = Bstr(record.source);
  exception->bstrDescription = Bstr(record.description);
  exception->bstrHelpFile = Bstr(record.help_file);
  exception->dwHelpContext = static_cast<DWORD>(record.help_context);
  exception->scode = ErrorResult(record);
  return DISP_E_EXCEPTION;
}

InvokeKind KindOf(WORD flags) {
  if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) return InvokeKind::kPropertyPut;
  if (flags & DISPATCH_METHOD) return InvokeKind::kMethod;
  return InvokeKind::kPropertyGet;
}

bool Omitted(const VARIANT& value) {
  return V_VT(&value) == VT_ERROR && V_ERROR(&value) == DISP_E_PARAMNOTFOUND;
}

// Which caller VARIANT stands for each parameter position (nullptr: not
// passed). Returns DISP_E_PARAMNOTFOUND for a named argument the member
// does not have, naming it in `arg_error`.
HRESULT ArrangeArguments(const MemberInfo& member, InvokeKind kind, DISPPARAMS* params,
                         std::vector<VARIANT*>& slots, UINT* arg_error) {
  const UINT named = params->cNamedArgs;
  const UINT positional = params->cArgs - named;
  if (kind == InvokeKind::kPropertyPut) {
    if (params->cArgs >= 1) slots.push_back(&params->rgvarg[0]);
    for (UINT i = 1; i < params->cArgs; ++i) slots.push_back(&params->rgvarg[i]);
    return S_OK;
  }
  slots.assign(positional, nullptr);
  for (UINT i = 0; i < positional; ++i) slots[i] = &params->rgvarg[params->cArgs - 1 - i];
  for (UINT k = 0; k < named; ++k) {
    const DISPID position = params->rgdispidNamedArgs[k];
    if (position < 0 || static_cast<size_t>(position) >= member.params.size()) {
      if (arg_error != nullptr) *arg_error = k;
      return DISP_E_PARAMNOTFOUND;
    }
    if (slots.size() <= static_cast<size_t>(position)) slots.resize(position + 1, nullptr);
    slots[position] = &params->rgvarg[k];
  }
  return S_OK;
}

// `arrays` holds each array argument as it was read: an array the member
// left as it was is not written back, so its elements keep their own types.
void WriteBackArguments(const MemberInfo& member, const std::vector<VARIANT*>& slots,
                        const std::vector<std::optional<Variant>>& values,
                        const std::vector<std::optional<Variant>>& arrays) {
  for (size_t i = 0; i < slots.size() && i < member.params.size(); ++i) {
    if (slots[i] == nullptr || !values[i] || !member.params[i].by_ref) continue;
    if (arrays[i] && *arrays[i] == *values[i]) continue;
    if (V_VT(slots[i]) & VT_BYREF) WriteThrough(*values[i], *slots[i]);
  }
}

// A typed by-reference argument that could not receive what the member
// may leave in its parameter is refused (13) before anything runs, so a
// call either fails having changed nothing or writes every argument back.
void CheckReferences(const MemberInfo& member, const std::vector<VARIANT*>& slots) {
  for (size_t i = 0; i < slots.size() && i < member.params.size(); ++i) {
    if (slots[i] == nullptr || !member.params[i].by_ref || !(V_VT(slots[i]) & VT_BYREF)) continue;
    if (!CanReceive(V_VT(slots[i]) & ~VT_BYREF, member.params[i].type)) RaiseRuntimeError(kErrTypeMismatch);
  }
}

HRESULT Call(Quorvel& control, const MemberInfo& member, InvokeKind kind, const std::vector<VARIANT*>& slots,
             VARIANT* result) {
  if (kind != InvokeKind::kPropertyPut) CheckReferences(member, slots);
  std::vector<std::optional<Variant>> values(slots.size()), arrays(slots.size());
  std::vector<Variant*> args(slots.size(), nullptr);
  std::vector<VARIANT*> written = slots;
  for (size_t i = 0; i < slots.size(); ++i) {
    if (slots[i] == nullptr || Omitted(*slots[i])) continue;
    if (member.kind == MemberKind::kMethod && i < member.params.size() && member.params[i].type == VarType::kVariant &&
        HoldsObject(*slots[i])) {
      // An object (a script's object that is no array) reaches a Variant
      // parameter as a value that is no array: the members refuse it as
      // such (60007). The caller keeps its object.
      values[i] = Variant();
      written[i] = nullptr;
    } else {
      values[i] = FromVariant(*slots[i]);
      if (values[i]->is_array()) arrays[i] = values[i];
    }
    args[i] = &*values[i];
  }
  Variant returned;
  try {
    returned = Invoke(control, member, kind, args);
  } catch (...) {
    if (kind != InvokeKind::kPropertyPut) WriteBackArguments(member, written, values, arrays);
    throw;
  }
  if (kind != InvokeKind::kPropertyPut) WriteBackArguments(member, written, values, arrays);
  if (result != nullptr) ToVariant(returned, *result);
  return S_OK;
}

}  // namespace

HRESULT ErrorResult(const ErrorRecord& record) {
  return MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, static_cast<WORD>(record.number));
}

HRESULT RaisedResult(const ErrorRecord& record) {
  SetError(record);
  return ErrorResult(record);
}

HRESULT IdsOfNames(LPOLESTR* names, UINT count, DISPID* ids) {
  if (count == 0) return S_OK;
  if (names == nullptr || ids == nullptr) return E_POINTER;
  const MemberInfo* member = FindMember(ToUtf8(names[0], wcslen(names[0])));
  HRESULT status = S_OK;
  ids[0] = member != nullptr ? member->dispid : DISPID_UNKNOWN;
  if (member == nullptr) status = DISP_E_UNKNOWNNAME;
  for (UINT n = 1; n < count; ++n) {
    ids[n] = DISPID_UNKNOWN;
    const std::string name = ToUtf8(names[n], wcslen(names[n]));
    for (size_t i = 0; member != nullptr && i < member->params.size(); ++i) {
      if (SameIgnoringCase(member->params[i].name, name)) ids[n] = static_cast<DISPID>(i);
    }
    if (ids[n] == DISPID_UNKNOWN) status = DISP_E_UNKNOWNNAME;
  }
  return status;
}

HRESULT InvokeMember(Quorvel& control, DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result,
                     EXCEPINFO* exception, UINT* arg_error) {
  const MemberInfo* member = FindMember(static_cast<int32_t>(id));
  if (member == nullptr) return DISP_E_MEMBERNOTFOUND;
  DISPPARAMS none{};
  if (params == nullptr) params = &none;
  const InvokeKind kind = KindOf(flags);
  std::vector<VARIANT*> slots;
  const HRESULT arranged = ArrangeArguments(*member, kind, params, slots, arg_error);
  if (FAILED(arranged)) return arranged;
  if (result != nullptr) VariantInit(result);
  try {
    return Call(control, *member, kind, slots, result);
  } catch (const Error& error) {
    return Raised(error.record(), exception);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

}  // namespace orvane::com
