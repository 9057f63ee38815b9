#include "store/registry_kinds.h"

#include <string>

#include "store/key_store.h"
#include "store/store_location.h"
#include "store/store_schema.h"
#include "store/wine/wine_prefix.h"

namespace orvane::platform {
namespace {

std::unique_ptr<RegistryKind> OpenSqliteStore(const std::filesystem::path& file) {
  std::string error;
  if (!PrepareStoreFile(file, &error)) throw StoreStatusError(ERROR_CANTOPEN, error);
  try {
    return KeyStore::Open(RealStorePath(file));
  } catch (const StoreFormatError& format) {
    throw StoreStatusError(ERROR_BADDB, format.what());
  } catch (const SqliteError& sqlite) {
    throw StoreStatusError(SqliteErrorStatus(sqlite.code(), true), sqlite.what());
  }
}

}  // namespace

std::unique_ptr<RegistryKind> OpenRegistryKind(const std::filesystem::path& location) {
  if (IsWinePrefix(location)) return OpenWinePrefix(location);
  return OpenSqliteStore(location);
}

}  // namespace orvane::platform
