// The keys and values of registration. Every path is below the scope's
// classes root; values are strings, written as UTF-8 through the
// platform's registry calls (the server's path may be beyond ASCII).
#include "com/registration.h"

#include "com/guids.h"
#include "com/server_state.h"
#include "platform/win32_registry.h"

namespace orvane::com {
namespace {

// The automation marshaller every dispinterface of a type library uses.
constexpr const char* kAutomationProxy = "{00020420-0000-0000-C000-000000000046}";
constexpr const char* kClassTitle = "Quorvel Control";

struct Entry {
  std::string key;
  std::string name;  // empty: the key's default value
  std::string value;
  bool has_value = true;
};

HKEY ClassesRoot(RegistrationScope scope, REGSAM access, LONG& status) {
  HKEY key = nullptr;
  const HKEY top = scope == RegistrationScope::kMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
  status = RegCreateKeyExA(top, "Software\\Classes", 0, nullptr, 0, access, nullptr, &key, nullptr);
  return key;
}

std::string Version() { return std::to_string(kLibraryMajor) + "." + std::to_string(kLibraryMinor); }

std::string ServerFolder() {
  const std::string path = ServerPath();
  return path.substr(0, path.find_last_of('\\'));
}

void AddInterface(std::vector<Entry>& entries, const char* id, const char* name) {
  const std::string key = "Interface\\{" + std::string(id) + "}";
  entries.push_back({key, "", name});
  entries.push_back({key + "\\ProxyStubClsid32", "", kAutomationProxy});
  entries.push_back({key + "\\TypeLib", "", BracedId(kLibraryId)});
  entries.push_back({key + "\\TypeLib", "Version", Version()});
}

std::vector<Entry> Entries() {
  const std::string clsid = "CLSID\\" + BracedId(kClassId);
  const std::string typelib = "TypeLib\\" + BracedId(kLibraryId) + "\\" + Version();
  std::vector<Entry> entries = {
      {clsid, "", kClassTitle},
      {clsid + "\\InprocServer32", "", ServerPath()},
      {clsid + "\\InprocServer32", "ThreadingModel", "Apartment"},
      {clsid + "\\ProgID", "", kVersionedProgId},
      {clsid + "\\VersionIndependentProgID", "", kProgId},
      {clsid + "\\TypeLib", "", BracedId(kLibraryId)},
      {clsid + "\\Version", "", Version()},
      {clsid + "\\Control", "", "", false},
      {kProgId, "", kClassTitle},
      {std::string(kProgId) + "\\CLSID", "", BracedId(kClassId)},
      {std::string(kProgId) + "\\CurVer", "", kVersionedProgId},
      {kVersionedProgId, "", kClassTitle},
      {std::string(kVersionedProgId) + "\\CLSID", "", BracedId(kClassId)},
      {typelib, "", kLibraryName},
      {typelib + "\\0\\win64", "", ServerPath()},
      {typelib + "\\FLAGS", "", "0"},
      {typelib + "\\HELPDIR", "", ServerFolder()},
  };
  AddInterface(entries, kDispatchId, kDispatchName);
  AddInterface(entries, kEventsId, kEventsName);
  return entries;
}

LONG Write(HKEY root, const Entry& entry) {
  HKEY key = nullptr;
  LONG status = RegCreateKeyExA(root, entry.key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
  if (status != ERROR_SUCCESS) return status;
  if (entry.has_value) {
    status = RegSetValueExA(key, entry.name.empty() ? nullptr : entry.name.c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(entry.value.c_str()),
                            static_cast<DWORD>(entry.value.size() + 1));
  }
  RegCloseKey(key);
  return status;
}

// Deletes `key` below `parent` when it holds neither sub-keys nor values.
void DeleteIfEmpty(HKEY parent, const char* key) {
  HKEY handle = nullptr;
  if (RegOpenKeyExA(parent, key, 0, KEY_READ, &handle) != ERROR_SUCCESS) return;
  DWORD sub_keys = 1, values = 1;
  RegQueryInfoKeyA(handle, nullptr, nullptr, nullptr, &sub_keys, nullptr, nullptr, &values, nullptr, nullptr,
                   nullptr, nullptr);
  RegCloseKey(handle);
  if (sub_keys == 0 && values == 0) RegDeleteKeyA(parent, key);
}

// Deletes our trees, then the containers registration may have created
// for them (in a user's hive they often do not exist before), when empty.
LONG DeleteOwned(HKEY root) {
  LONG result = ERROR_SUCCESS;
  for (const std::string& key : OwnedClassKeys()) {
    const LONG status = RegDeleteTreeA(root, key.c_str());
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) result = status;
  }
  for (const char* container : {"CLSID", "Interface", "TypeLib"}) DeleteIfEmpty(root, container);
  return result;
}

}  // namespace

std::vector<std::string> OwnedClassKeys() {
  return {"CLSID\\" + BracedId(kClassId),
          kProgId,
          kVersionedProgId,
          "TypeLib\\" + BracedId(kLibraryId),
          "Interface\\" + BracedId(kDispatchId),
          "Interface\\" + BracedId(kEventsId)};
}

HRESULT RegisterServer(RegistrationScope scope) {
  LONG status = ERROR_SUCCESS;
  HKEY root = ClassesRoot(scope, KEY_ALL_ACCESS, status);
  if (root == nullptr) return HRESULT_FROM_WIN32(status);
  for (const Entry& entry : Entries()) {
    status = Write(root, entry);
    if (status != ERROR_SUCCESS) break;
  }
  if (status != ERROR_SUCCESS) DeleteOwned(root);
  RegCloseKey(root);
  return HRESULT_FROM_WIN32(status);
}

HRESULT UnregisterServer(RegistrationScope scope) {
  LONG status = ERROR_SUCCESS;
  HKEY root = ClassesRoot(scope, KEY_ALL_ACCESS, status);
  if (root == nullptr) return HRESULT_FROM_WIN32(status);
  status = DeleteOwned(root);
  RegCloseKey(root);
  // The classes root itself, when registration created it for this user.
  if (scope == RegistrationScope::kUser) {
    HKEY software = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_ALL_ACCESS, &software) == ERROR_SUCCESS) {
      DeleteIfEmpty(software, "Classes");
      RegCloseKey(software);
    }
  }
  return HRESULT_FROM_WIN32(status);
}

}  // namespace orvane::com
