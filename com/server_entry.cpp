// The entry points of the in-process server: class objects, unloading,
// registration for every user (regsvr32) and for the current user only
// (regsvr32 /n /i:user, through DllInstall).
#include <windows.h>

#include <cwchar>

#include "com/class_factory.h"
#include "com/com_guid.h"
#include "com/registration.h"
#include "com/server_state.h"

using orvane::com::RegistrationScope;

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    orvane::com::SetServerModule(instance);
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (clsid != orvane::com::ClassGuid()) return CLASS_E_CLASSNOTAVAILABLE;
  return orvane::com::QuorvelFactory()->QueryInterface(iid, out);
}

HRESULT STDAPICALLTYPE DllCanUnloadNow() { return orvane::com::ServerInUse() ? S_FALSE : S_OK; }

HRESULT STDAPICALLTYPE DllRegisterServer() { return orvane::com::RegisterServer(RegistrationScope::kMachine); }

HRESULT STDAPICALLTYPE DllUnregisterServer() { return orvane::com::UnregisterServer(RegistrationScope::kMachine); }

// The command line "user" (any case) registers for the current user only;
// anything else, or none, for every user.
HRESULT STDAPICALLTYPE DllInstall(BOOL install, LPCWSTR command_line) {
  const bool user = command_line != nullptr && _wcsicmp(command_line, L"user") == 0;
  const RegistrationScope scope = user ? RegistrationScope::kUser : RegistrationScope::kMachine;
  return install ? orvane::com::RegisterServer(scope) : orvane::com::UnregisterServer(scope);
}

}  // extern "C"
