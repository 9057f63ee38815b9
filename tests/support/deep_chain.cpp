#include "support/deep_chain.h"

#include "store/sqlite_db.h"

namespace orvane::testing {

void AppendDeepChain(const std::filesystem::path& file, int64_t levels) {
  auto db = platform::Db::Open(file);
  const int64_t top = db->ScalarInt("SELECT max(id) FROM keys");
  db->Run("BEGIN IMMEDIATE");
  db->Prepare(
        "WITH RECURSIVE chain(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM chain WHERE n < ?2) "
        "INSERT INTO keys(id, parent, name, folded, mtime, born) "
        "SELECT ?1 + n, ?1 + n - 1, 'd', 'D', 0, n FROM chain")
      .Bind(1, top)
      .Bind(2, levels)
      .Run();
  db->Prepare("INSERT INTO vals(key, folded, seq, name, type, data) VALUES(?, 'V', 1, 'v', 1, X'6E6565646C6500')")
      .Bind(1, top + levels)
      .Run();
  db->Run("COMMIT");
}

}  // namespace orvane::testing
