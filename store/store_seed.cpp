#include "store/store_seed.h"

#include <pwd.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "store/store_schema.h"
#include "platform/win32_registry.h"

namespace orvane::platform {
namespace {

constexpr std::string_view kWindowsKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
constexpr std::string_view kNtKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";

struct SeedValue {
  std::string_view key;
  std::string_view name;
  std::string data;
};

// The machine's identifier (systemd or D-Bus), empty when there is none.
std::string MachineId() {
  for (const char* file : {"/etc/machine-id", "/var/lib/dbus/machine-id"}) {
    std::ifstream in(file);
    std::string id;
    if (in >> id && !id.empty()) return id;
  }
  return {};
}

// A Windows-style product identifier, 5-3-7-5 digits, derived from the
// machine identifier so that it is stable for one machine.
std::string ProductId() {
  const std::string id = MachineId();
  std::string digits;
  for (size_t i = 0; i < 20; ++i) {
    const char c = i < id.size() ? id[i] : '0';
    const int value = (c >= '0' && c <= '9') ? c - '0' : (c >= 'a' && c <= 'f') ? c - 'a' + 10 : 0;
    digits += static_cast<char>('0' + value % 10);
  }
  return digits.substr(0, 5) + "-" + digits.substr(5, 3) + "-" + digits.substr(8, 7) + "-" +
         digits.substr(15, 5);
}

// The user's full name from the user database, else the login name.
std::string OwnerName() {
  const passwd* user = getpwuid(getuid());
  if (user == nullptr) return "Owner";
  const std::string gecos = user->pw_gecos != nullptr ? user->pw_gecos : "";
  const std::string full_name = gecos.substr(0, gecos.find(','));
  if (!full_name.empty()) return full_name;
  return user->pw_name != nullptr ? user->pw_name : "Owner";
}

std::vector<SeedValue> SeedValues() {
  const std::string product = ProductId();
  const std::string owner = OwnerName();
  return {
      {kWindowsKey, "ProgramFilesDir", "C:\\Program Files"},
      {kWindowsKey, "CommonFilesDir", "C:\\Program Files\\Common Files"},
      {kWindowsKey, "ProductId", product},
      {kWindowsKey, "RegisteredOwner", owner},
      {kWindowsKey, "RegisteredOrganization", ""},
      {kWindowsKey, "Version", "Windows 98"},
      {kWindowsKey, "VersionNumber", "4.10.2222"},
      {kNtKey, "ProductId", product},
      {kNtKey, "RegisteredOwner", owner},
      {kNtKey, "RegisteredOrganization", ""},
      {kNtKey, "CurrentVersion", "5.1"},
      {kNtKey, "CurrentBuildNumber", "2600"},
  };
}

void InsertRoot(Db& db, int64_t id, std::string_view name) {
  db.Prepare("INSERT INTO keys(id, parent, name, folded, mtime) VALUES(?, 0, ?, ?, ?)")
      .Bind(1, id)
      .BindBlob(2, name)
      .BindBlob(3, FoldName(name))
      .Bind(4, FileTimeNow())
      .Run();
}

// Creates the path below the root `id` (missing keys only); returns its id.
int64_t InsertPath(Db& db, int64_t id, std::string_view path) {
  while (!path.empty()) {
    const size_t end = path.find('\\');
    const std::string_view name = path.substr(0, end);
    path = end == std::string_view::npos ? std::string_view() : path.substr(end + 1);
    db.Prepare("INSERT OR IGNORE INTO keys(parent, name, folded, mtime) VALUES(?, ?, ?, ?)")
        .Bind(1, id)
        .BindBlob(2, name)
        .BindBlob(3, FoldName(name))
        .Bind(4, FileTimeNow())
        .Run();
    Query query = db.Prepare("SELECT id FROM keys WHERE parent = ? AND folded = ?");
    query.Bind(1, id).BindBlob(2, FoldName(name)).Step();
    id = query.Int(0);
  }
  return id;
}

void InsertString(Db& db, int64_t key, int64_t seq, std::string_view name, const std::string& text) {
  db.Prepare("INSERT INTO vals(key, folded, seq, name, type, data) VALUES(?, ?, ?, ?, ?, ?)")
      .Bind(1, key)
      .BindBlob(2, FoldName(name))
      .Bind(3, seq)
      .BindBlob(4, name)
      .Bind(5, REG_SZ)
      .BindBlob(6, std::string_view(text.c_str(), text.size() + 1))
      .Run();
}

}  // namespace

void SeedStore(Db& db) {
  InsertRoot(db, kLocalMachineId, "HKEY_LOCAL_MACHINE");
  InsertRoot(db, kUsersId, "HKEY_USERS");
  InsertRoot(db, kDynDataId, "HKEY_DYN_DATA");
  for (std::string_view path : {"SOFTWARE\\Classes", "SYSTEM\\CurrentControlSet\\Hardware Profiles\\Current",
                                "Config\\0001"}) {
    InsertPath(db, kLocalMachineId, path);
  }
  InsertPath(db, kUsersId, ".Default\\Software");
  InsertPath(db, kUsersId, CurrentUserKeyName() + "\\Software");
  int64_t seq = 0;
  for (const SeedValue& value : SeedValues()) {
    InsertString(db, InsertPath(db, kLocalMachineId, value.key), ++seq, value.name, value.data);
  }
}

}  // namespace orvane::platform
