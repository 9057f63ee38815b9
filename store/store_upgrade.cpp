#include "store/store_upgrade.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "store/name_case.h"

namespace orvane::platform {
namespace {

constexpr const char* kCreateRenames =
    "CREATE TABLE IF NOT EXISTS upgrade_renames(kind TEXT NOT NULL, key INTEGER NOT NULL, "
    "old_name BLOB NOT NULL, new_name BLOB NOT NULL)";

bool HasNonAscii(std::string_view name) {
  return std::any_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

// A name whose folded form may change: its owner (the parent key, or the
// key holding the value), its row and its name, and what it becomes.
struct Named {
  int64_t owner;
  int64_t row;  // key id, or value seq
  std::string name;
  std::string new_name;
  std::string folded;
};

// Gives each name its new folded form, in the order given (oldest first
// within an owner). A name whose form an earlier sibling took is renamed
// with the first suffix whose form no sibling has or had. Siblings of ASCII
// names only are left out: no name here folds into ASCII.
void AssignNames(std::vector<Named>& names) {
  std::map<int64_t, std::set<std::string>> had;
  for (const Named& named : names) had[named.owner].insert(FoldCase(named.name));
  std::map<int64_t, std::set<std::string>> taken;
  for (Named& named : names) {
    std::set<std::string>& siblings = taken[named.owner];
    const std::set<std::string>& original = had[named.owner];
    named.new_name = named.name;
    named.folded = FoldCase(named.name);
    // The name itself need only be free of earlier siblings; a renamed one
    // must also differ from every name the owner had.
    for (int suffix = 2; siblings.count(named.folded) != 0 || (suffix > 2 && original.count(named.folded) != 0);
         ++suffix) {
      named.new_name = named.name + " (" + std::to_string(suffix) + ")";
      named.folded = FoldCase(named.new_name);
    }
    siblings.insert(named.folded);
  }
}

enum class Kind { kKey, kValue };

void RecordRename(Db& db, Kind kind, int64_t key, const Named& named) {
  db.Exec(kCreateRenames);
  db.Prepare(kind == Kind::kKey
                 ? "INSERT INTO upgrade_renames(kind, key, old_name, new_name) VALUES('key', ?, ?, ?)"
                 : "INSERT INTO upgrade_renames(kind, key, old_name, new_name) VALUES('value', ?, ?, ?)")
      .Bind(1, key)
      .BindBlob(2, named.name)
      .BindBlob(3, named.new_name)
      .Run();
}

void UpgradeKeys(Db& db) {
  std::vector<Named> names;
  {
    Query query = db.Prepare("SELECT parent, id, name FROM keys ORDER BY parent, born, id");
    while (query.Step()) {
      if (HasNonAscii(query.Blob(2))) names.push_back({query.Int(0), query.Int(1), std::string(query.Blob(2)), {}, {}});
    }
  }
  if (names.empty()) return;
  // The unique index is rebuilt afterwards: renames may swap forms between rows.
  db.Exec("DROP INDEX keys_by_parent");
  AssignNames(names);
  for (const Named& named : names) {
    db.Prepare("UPDATE keys SET name = ?, folded = ? WHERE id = ?")
        .BindBlob(1, named.new_name)
        .BindBlob(2, named.folded)
        .Bind(3, named.row)
        .Run();
    if (named.new_name != named.name) RecordRename(db, Kind::kKey, named.row, named);
  }
  db.Exec("CREATE UNIQUE INDEX keys_by_parent ON keys(parent, folded)");
}

struct ValueRow {
  Named named;
  int64_t type;
  std::string data;
};

void UpgradeValues(Db& db) {
  std::vector<ValueRow> rows;
  {
    Query query = db.Prepare("SELECT key, seq, name, type, data FROM vals ORDER BY key, seq");
    while (query.Step()) {
      if (!HasNonAscii(query.Blob(2))) continue;
      rows.push_back({{query.Int(0), query.Int(1), std::string(query.Blob(2)), {}, {}},
                      query.Int(3), std::string(query.Blob(4))});
    }
  }
  if (rows.empty()) return;
  std::vector<Named> names;
  for (const ValueRow& row : rows) names.push_back(row.named);
  AssignNames(names);
  // Rows are replaced rather than updated: the folded name is the key of
  // the table, and renames may swap forms between rows.
  for (const ValueRow& row : rows) {
    db.Prepare("DELETE FROM vals WHERE key = ? AND seq = ?").Bind(1, row.named.owner).Bind(2, row.named.row).Run();
  }
  for (size_t i = 0; i < rows.size(); ++i) {
    const Named& named = names[i];
    db.Prepare("INSERT INTO vals(key, folded, seq, name, type, data) VALUES(?, ?, ?, ?, ?, ?)")
        .Bind(1, named.owner)
        .BindBlob(2, named.folded)
        .Bind(3, named.row)
        .BindBlob(4, named.new_name)
        .Bind(5, rows[i].type)
        .BindBlob(6, rows[i].data)
        .Run();
    if (named.new_name != named.name) RecordRename(db, Kind::kValue, named.owner, named);
  }
}

}  // namespace

void UpgradeFoldedNames(Db& db) {
  UpgradeKeys(db);
  UpgradeValues(db);
}

}  // namespace orvane::platform
