// Methods that move registry content between the registry and files, and
// the system information: each forwards its arguments to one routine of
// regfiles/. None reads or changes the location, none records undo.
#include "control/method_args.h"
#include "control/method_group.h"
#include "orvane/quorvel.h"
#include "regfiles/backup_restore.h"
#include "regfiles/reg_file_transfer.h"
#include "regfiles/system_query.h"
#include "registry/existence.h"
#include "registry/key_path.h"
#include "registry/registry_error.h"
#include "registry/scoped_key.h"

namespace orvane {

std::string Quorvel::SystemInfo(int32_t InfoType) {
  const uint8_t item = NarrowEnumToByte(InfoType);
  return InMethodGroup([&] { return QuerySystemInfo(item); });
}

// The editor program does the work of these four; the group reports a
// failed commit of this process's own earlier changes, which the commit
// before the editor starts meets.
void Quorvel::Import(const std::string& PathName) {
  InMethodGroup([&] { ImportRegFile(PathName); });
}

void Quorvel::Export(const std::string& PathName, bool AllRegistry, const std::string& Comment) {
  std::string key;
  if (!AllRegistry) {
    InMethodGroup([&] {
      if (!KeyOrValueExists(RootHandle(hkey_), sub_key_path_, "", kVerifyKey)) {
        RaiseRegistryErrorCode(kCodeKeyDoesNotExist);
      }
    });
    key = RootKeyName(hkey_);
    if (!sub_key_path_.empty()) key += "\\" + sub_key_path_;
  }
  InMethodGroup([&] { ExportRegFile(PathName, key, Comment); });
}

void Quorvel::Backup() {
  InMethodGroup([&] { BackupRegistry(); });
}

void Quorvel::Restore() {
  InMethodGroup([&] { RestoreRegistry(); });
}

}  // namespace orvane
