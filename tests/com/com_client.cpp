#include "com/com_client.h"

namespace orvane::testing {

void ComClientTest::SetUp() {
  ASSERT_HRESULT_SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  CLSID clsid{};
  ASSERT_HRESULT_SUCCEEDED(CLSIDFromProgID(L"RegistryEditor.Quorvel", &clsid));
  ASSERT_HRESULT_SUCCEEDED(
      CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, reinterpret_cast<void**>(&control_)));
}

void ComClientTest::TearDown() {
  if (control_ != nullptr) control_->Release();
  CoUninitialize();
}

DISPID ComClientTest::Id(const wchar_t* name) {
  DISPID id = DISPID_UNKNOWN;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  EXPECT_HRESULT_SUCCEEDED(control_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id)) << name;
  return id;
}

HRESULT ComClientTest::Call(const wchar_t* name, WORD flags, std::vector<VARIANT*> args, VARIANT* result,
                            CallResult* outcome, std::vector<const wchar_t*> named) {
  std::vector<LPOLESTR> names{const_cast<LPOLESTR>(name)};
  for (const wchar_t* param : named) names.push_back(const_cast<LPOLESTR>(param));
  std::vector<DISPID> ids(names.size());
  HRESULT status =
      control_->GetIDsOfNames(IID_NULL, names.data(), static_cast<UINT>(names.size()), LOCALE_USER_DEFAULT, ids.data());
  if (FAILED(status)) return status;
  // rgvarg holds the named arguments first, then the positional ones last to first.
  const size_t positional = args.size() - named.size();
  std::vector<VARIANT> arguments;
  std::vector<DISPID> named_ids;
  for (size_t k = 0; k < named.size(); ++k) {
    arguments.push_back(*args[positional + k]);
    named_ids.push_back(ids[k + 1]);
  }
  for (size_t i = positional; i-- > 0;) arguments.push_back(*args[i]);
  DISPID put = DISPID_PROPERTYPUT;
  DISPPARAMS params{arguments.data(), named_ids.data(), static_cast<UINT>(arguments.size()),
                    static_cast<UINT>(named_ids.size())};
  if (flags & DISPATCH_PROPERTYPUT) {
    params.rgdispidNamedArgs = &put;
    params.cNamedArgs = 1;
  }
  CallResult local;
  CallResult& out = outcome != nullptr ? *outcome : local;
  out.status = control_->Invoke(ids[0], IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, &out.exception,
                                &out.arg_error);
  return out.status;
}

void ComClientTest::Put(const wchar_t* name, VARIANT* value) {
  ASSERT_HRESULT_SUCCEEDED(Call(name, DISPATCH_PROPERTYPUT, {value}, nullptr)) << name;
}

void ComClientTest::Get(const wchar_t* name, VARIANT* result) {
  ASSERT_HRESULT_SUCCEEDED(Call(name, DISPATCH_PROPERTYGET, {}, result)) << name;
}

}  // namespace orvane::testing
