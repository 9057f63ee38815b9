// Loads the server's own type library from its file.
#include "com/type_library.h"

#include <string>

#include "com/server_state.h"

namespace orvane::com {
namespace {

ITypeLib* LoadOwnLibrary() {
  wchar_t path[MAX_PATH * 2] = {};
  GetModuleFileNameW(ServerModule(), path, MAX_PATH * 2);
  ITypeLib* library = nullptr;
  if (FAILED(LoadTypeLibEx(path, REGKIND_NONE, &library))) return nullptr;
  return library;  // kept for the life of the process
}

}  // namespace

HRESULT TypeInfoOf(const GUID& guid, ITypeInfo** info) {
  if (info == nullptr) return E_POINTER;
  *info = nullptr;
  static ITypeLib* library = LoadOwnLibrary();
  if (library == nullptr) return TYPE_E_CANTLOADLIBRARY;
  return library->GetTypeInfoOfGuid(guid, info);
}

}  // namespace orvane::com
