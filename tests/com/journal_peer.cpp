// A second process for the journal tests (journal_process_test.cpp), driving
// the control through IDispatch. Exit status 0 when every call succeeded,
// else the number of the step that failed.
//   journal_peer record KEY   with undo on: creates KEY and undoes that
//                             (KEY is gone again), releases the control,
//                             then creates KEY with a second control and
//                             ends without releasing it, as a killed
//                             process ends, leaving its journal behind
//   journal_peer start        makes one control and releases it
#include <windows.h>
#include <oleauto.h>

#include <string>

namespace {

HRESULT Call(IDispatch* control, const wchar_t* name, WORD flags, VARIANT* argument) {
  DISPID id = DISPID_UNKNOWN;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  HRESULT status = control->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(status)) return status;
  DISPID put = DISPID_PROPERTYPUT;
  DISPPARAMS params{argument, nullptr, argument != nullptr ? 1u : 0u, 0};
  if (flags == DISPATCH_PROPERTYPUT) {
    params.rgdispidNamedArgs = &put;
    params.cNamedArgs = 1;
  }
  VARIANT result;
  VariantInit(&result);
  status = control->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, &result, nullptr, nullptr);
  VariantClear(&result);
  return status;
}

IDispatch* NewControl() {
  CLSID clsid{};
  IDispatch* control = nullptr;
  if (FAILED(CLSIDFromProgID(L"RegistryEditor.Quorvel", &clsid))) return nullptr;
  CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, reinterpret_cast<void**>(&control));
  return control;
}

// Undo on, then a recorded creation of `path`.
bool CreateRecorded(IDispatch* control, const std::wstring& path) {
  VARIANT on;
  VariantInit(&on);
  V_VT(&on) = VT_BOOL;
  V_BOOL(&on) = VARIANT_TRUE;
  VARIANT location;
  VariantInit(&location);
  V_VT(&location) = VT_BSTR;
  V_BSTR(&location) = SysAllocString(path.c_str());
  const bool done = SUCCEEDED(Call(control, L"UndoEnabled", DISPATCH_PROPERTYPUT, &on)) &&
                    SUCCEEDED(Call(control, L"GlobalKeyPath", DISPATCH_PROPERTYPUT, &location)) &&
                    SUCCEEDED(Call(control, L"SetKey", DISPATCH_METHOD, nullptr));
  VariantClear(&location);
  return done;
}

bool KeyExists(const std::wstring& path) {
  const std::wstring below = path.substr(path.find(L'\\') + 1);  // the path is under HKEY_CURRENT_USER
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, below.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

int Record(const std::wstring& path) {
  IDispatch* first = NewControl();
  if (first == nullptr) return 2;
  if (!CreateRecorded(first, path) || !KeyExists(path)) return 3;
  if (FAILED(Call(first, L"Undo", DISPATCH_METHOD, nullptr)) || KeyExists(path)) return 4;
  first->Release();
  IDispatch* second = NewControl();
  if (second == nullptr || !CreateRecorded(second, path)) return 5;
  TerminateProcess(GetCurrentProcess(), 0);
  return 6;
}

int Start() {
  IDispatch* control = NewControl();
  if (control == nullptr) return 2;
  control->Release();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
  const std::string mode = argc > 1 ? argv[1] : "";
  const std::string key = argc > 2 ? argv[2] : "";
  int status = 1;
  if (mode == "record" && !key.empty()) status = Record(std::wstring(key.begin(), key.end()));  // ASCII
  if (mode == "start") status = Start();
  CoUninitialize();
  return status;
}
