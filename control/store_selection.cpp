// The public choice of the registry store, over the platform's store
// functions; a failed selection raises the store's status as the control's
// numbered error.
#include "orvane/store.h"

#include "store/registry_store.h"
#include "registry/registry_error.h"

namespace orvane {

std::filesystem::path DefaultStorePath() { return platform::DefaultRegistryPath(); }

void SelectStore(const std::filesystem::path& file) {
  RaiseRegistryError(static_cast<int32_t>(platform::SelectRegistryStore(file)));
}

std::filesystem::path CurrentStorePath() { return platform::CurrentRegistryPath(); }

}  // namespace orvane
