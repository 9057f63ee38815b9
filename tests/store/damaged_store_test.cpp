// A store whose file is damaged where no call has read yet: once a call
// meets the damage, this process writes nothing more to the file (no
// write, no checkpoint at close) and every call returns 1009. The admin
// tool's check reports the damage, recover copies what can be read into a
// new store (on each shape of damage met in the field: a zeroed header, a
// bad page size, a damaged schema page, a file cut short, zeroed pages),
// and neither changes the damaged file nor creates a store where there is
// none or when it fails.
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "store/registry_store.h"
#include "store_test_util.h"
#include "support/temp_registry.h"

extern char** environ;

namespace orvane::testing {
namespace {

using platform::SelectRegistryStore;

constexpr int kValues = 40;
constexpr size_t kPage = 4096;

std::string FileBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::filesystem::path& file, const std::string& bytes) {
  std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

std::string Marked(int i) {
  char mark[16];
  std::snprintf(mark, sizeof(mark), "MARK%04d", i);
  return mark + std::string(2000, 'q');
}

struct AdminResult {
  int exit_code = -1;
  std::string output;  // standard output and standard error
};

AdminResult Admin(const std::vector<std::string>& args) {
  int ends[2];
  if (pipe(ends) != 0) return {};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, ends[1], STDERR_FILENO);
  posix_spawn_file_actions_addclose(&actions, ends[0]);
  std::vector<std::string> strings{ORVANE_REGISTRY_ADMIN};
  strings.insert(strings.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& text : strings) argv.push_back(text.data());
  argv.push_back(nullptr);
  pid_t pid = -1;
  const int rc = posix_spawn(&pid, ORVANE_REGISTRY_ADMIN, &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(ends[1]);
  AdminResult result;
  char buffer[4096];
  for (ssize_t got; (got = read(ends[0], buffer, sizeof(buffer))) > 0;) result.output.append(buffer, got);
  close(ends[0]);
  int status = 0;
  if (rc == 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status)) result.exit_code = WEXITSTATUS(status);
  return result;
}

// A store in `damaged.db` whose values of Software\Damaged fill many pages,
// with the page of value 20 made unreadable, and a sound Software\Sound.
class DamagedStore : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(SelectRegistryStore(file_), ERROR_SUCCESS);
    for (int i = 0; i < kValues; ++i) {
      ASSERT_EQ(WriteText("Software\\Damaged", ("v" + std::to_string(i)).c_str(), Marked(i)), ERROR_SUCCESS);
    }
    ASSERT_EQ(WriteText("Software\\Sound", "x", "sound"), ERROR_SUCCESS);
    ASSERT_EQ(SelectRegistryStore(registry_.file()), ERROR_SUCCESS);  // checkpoints and closes the file
    bytes_ = FileBytes(file_);
    const size_t mark = bytes_.find(Marked(20).substr(0, 8));
    ASSERT_NE(mark, std::string::npos);
    bytes_[mark / kPage * kPage] = 0;  // not a valid b-tree page type
    WriteFile(file_, bytes_);
  }

  TempRegistry registry_;
  const std::filesystem::path file_ = registry_.path() / "damaged.db";
  std::string bytes_;
};

TEST_F(DamagedStore, NothingIsWrittenOnceACallHasMetTheDamage) {
  ::testing::internal::CaptureStderr();
  ASSERT_EQ(SelectRegistryStore(file_), ERROR_SUCCESS);
  EXPECT_EQ(ReadText("Software\\Sound", "x"), "sound");  // the damage is elsewhere
  EXPECT_EQ(ReadText("Software\\Damaged", "v20"), "status 1009");
  EXPECT_EQ(WriteText("Software\\Sound", "y", "after"), ERROR_BADDB);
  EXPECT_EQ(ReadText("Software\\Sound", "x"), "status 1009");
  ASSERT_EQ(SelectRegistryStore(registry_.file()), ERROR_SUCCESS);  // closes the damaged file
  ::testing::internal::GetCapturedStderr();
  EXPECT_TRUE(FileBytes(file_) == bytes_);
  EXPECT_EQ(std::filesystem::exists(file_.string() + "-wal") ? std::filesystem::file_size(file_.string() + "-wal") : 0u,
            0u);
}

TEST_F(DamagedStore, CheckReportsTheDamageAndRecoverCopiesWhatCanBeRead) {
  const AdminResult check = Admin({"--store", file_, "check"});
  EXPECT_EQ(check.exit_code, 1);
  EXPECT_NE(check.output, "ok\n");
  EXPECT_FALSE(check.output.empty());

  const std::filesystem::path copy = registry_.path() / "recovered.db";
  const AdminResult recover = Admin({"--store", file_, "recover", copy});
  EXPECT_EQ(recover.exit_code, 0) << recover.output;
  EXPECT_TRUE(FileBytes(file_) == bytes_);
  EXPECT_EQ(IntegrityCheck(copy), "ok");
  ASSERT_EQ(SelectRegistryStore(copy), ERROR_SUCCESS);
  EXPECT_EQ(ReadText("Software\\Sound", "x"), "sound");
  EXPECT_EQ(ReadText("Software\\Damaged", "v20"), "status 2");
  int kept = 0;
  for (int i = 0; i < kValues; ++i) {
    const std::string text = ReadText("Software\\Damaged", ("v" + std::to_string(i)).c_str());
    if (text == Marked(i)) ++kept;
    else EXPECT_EQ(text, "status 2") << i;
  }
  EXPECT_GT(kept, 0);
  EXPECT_LT(kept, kValues);

  EXPECT_EQ(Admin({"--store", file_, "recover", copy}).exit_code, 1);  // never over an existing file
}

// ----- recover on the damaged shapes found in the field

// A store of a few hundred pages: Software\Damage\Annn\Bnn (30 by 30 keys,
// each with a value) and four sub-keys Cn under each B, each with a value
// of 150 bytes; one of them read-only.
void FillStore(const std::filesystem::path& file) {
  ASSERT_EQ(SelectRegistryStore(file), ERROR_SUCCESS);
  {
    platform::RegistryMethodScope group;
    for (int a = 0; a < 30; ++a) {
      for (int b = 0; b < 30; ++b) {
        char path[64];
        std::snprintf(path, sizeof(path), "Software\\Damage\\A%02d\\B%02d", a, b);
        OwnedKey key;
        ASSERT_EQ(CreateKey(HKEY_CURRENT_USER, path, key), ERROR_SUCCESS);
        ASSERT_EQ(SetText(key.get(), "v", "value " + std::to_string(a) + " " + std::to_string(b)), ERROR_SUCCESS);
        for (int c = 0; c < 4; ++c) {
          OwnedKey child;
          ASSERT_EQ(CreateKey(key.get(), "C" + std::to_string(c), child), ERROR_SUCCESS);
          ASSERT_EQ(SetText(child.get(), "w", std::string(150, static_cast<char>('a' + c))), ERROR_SUCCESS);
        }
      }
    }
  }
  ASSERT_EQ(platform::SetRegistryKeyReadOnly(HKEY_CURRENT_USER, "Software\\Damage\\A07\\B07\\C1", true), 0);
  ASSERT_EQ(platform::CommitRegistryWrites(), ERROR_SUCCESS);
}

// Every key of `file` by its full path (with its read-only mark) and every
// value, one a line, in path order. `skip` leaves out the keys below that
// key of HKEY_LOCAL_MACHINE ("" for none).
std::string Dump(const std::filesystem::path& file, const std::string& skip = "") {
  sqlite3* db = nullptr;
  std::string text;
  if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) return "cannot open";
  const char* sql =
      "WITH RECURSIVE p(id, path, ro) AS (SELECT id, CAST(name AS TEXT), read_only FROM keys WHERE parent = 0 "
      "UNION ALL SELECT k.id, p.path || '\\' || CAST(k.name AS TEXT), k.read_only FROM keys k "
      "JOIN p ON k.parent = p.id) "
      "SELECT path || ' ro=' || ro FROM p UNION ALL "
      "SELECT p.path || ' : ' || CAST(v.name AS TEXT) || ' = ' || v.type || ':' || hex(v.data) FROM p "
      "JOIN vals v ON v.key = p.id ORDER BY 1";
  sqlite3_stmt* stmt = nullptr;
  if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) == SQLITE_OK) {
    while (sqlite3_step(stmt) == SQLITE_ROW) {
      const std::string line = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
      if (!skip.empty() && line.rfind(skip, 0) == 0) continue;
      text += line + "\n";
    }
  }
  sqlite3_finalize(stmt);
  sqlite3_close(db);
  return text;
}

// The key rows of `file` that a reader by row id can read: their ids with
// their parents' ids, trying every id from 1 to `last`.
std::map<int64_t, int64_t> RowsReadableById(const std::filesystem::path& file, int64_t last) {
  std::map<int64_t, int64_t> rows;
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT parent FROM keys WHERE id = ?", -1, &stmt, nullptr) == SQLITE_OK) {
      for (int64_t id = 1; id <= last; ++id) {
        sqlite3_bind_int64(stmt, 1, id);
        if (sqlite3_step(stmt) == SQLITE_ROW) rows[id] = sqlite3_column_int64(stmt, 0);
        sqlite3_reset(stmt);
      }
    }
    sqlite3_finalize(stmt);
  }
  sqlite3_close(db);
  return rows;
}

// The lines of `dump` that are not in `original`.
std::string NotIn(const std::string& dump, const std::string& original) {
  std::istringstream lines(dump);
  std::string missing;
  for (std::string line; std::getline(lines, line);) {
    if (original.find(line + "\n") == std::string::npos) missing += line + "\n";
  }
  return missing;
}

struct Numbers {
  long long keys = -1, values = -1, keys_lost = -1, values_lost = -1;
};

// The numbers of recover's first two lines.
Numbers ReportedNumbers(const std::string& output) {
  Numbers numbers;
  const size_t saved = output.find("Saved ");
  const size_t lost = output.find("Lost ");
  if (saved != std::string::npos) {
    std::sscanf(output.c_str() + saved, "Saved %lld keys and %lld values", &numbers.keys, &numbers.values);
  }
  if (lost != std::string::npos) {
    std::sscanf(output.c_str() + lost, "Lost %lld keys (rows that could not be read, counted by row id, or saved) "
                "and %lld values", &numbers.keys_lost, &numbers.values_lost);
  }
  return numbers;
}

enum class Expected { kEverything, kWhatIsReadable, kNothing };

struct DamageShape {
  const char* name;
  void (*damage)(std::string& bytes);
  Expected expected;
  const char* says;  // a line of the report (or the message) that names what happened
};

void ZeroTheHeader(std::string& bytes) { bytes.replace(0, 100, 100, '\0'); }
void SpoilThePageSize(std::string& bytes) {
  bytes[16] = 0x03;  // 768: not a power of two
  bytes[17] = 0x00;
}
void SpoilTheSchemaPage(std::string& bytes) { bytes.replace(100, kPage - 100, kPage - 100, '\xA5'); }
void CutInHalf(std::string& bytes) { bytes.resize(bytes.size() / kPage / 2 * kPage); }
// Ten pages spread over the file, sparing the first four (the header and
// schema, and the root pages of the tables, without which a reader by row
// id reads nothing of a table).
void ZeroTenPages(std::string& bytes) {
  const size_t pages = bytes.size() / kPage;
  for (size_t i = 0; i < 10; ++i) {
    const size_t page = 4 + i * (pages - 4) / 10;  // 0-based: page numbers 5, ...
    bytes.replace(page * kPage, kPage, kPage, '\0');
  }
}
void ZeroEverything(std::string& bytes) { bytes.assign(bytes.size(), '\0'); }

const DamageShape kShapes[] = {
    {"first 100 bytes zeroed", ZeroTheHeader, Expected::kEverything, "The file's header was rebuilt"},
    {"page size field 768", SpoilThePageSize, Expected::kEverything, "The file's header was rebuilt"},
    {"schema page overwritten", SpoilTheSchemaPage, Expected::kEverything,
     "The file's first page (header and schema) was rebuilt"},
    {"file cut in half", CutInHalf, Expected::kWhatIsReadable, "pages before the end its header gives"},
    {"10 pages zeroed", ZeroTenPages, Expected::kWhatIsReadable, "Lost "},
    {"every byte zeroed", ZeroEverything, Expected::kNothing, "nothing could be read from "},
};

TEST(Recover, EachDamagedShapeSavesWhatARowByRowReaderCanReadAndNeverAborts) {
  TempRegistry registry;
  const std::filesystem::path good = registry.path() / "good.db";
  ASSERT_NO_FATAL_FAILURE(FillStore(good));
  ASSERT_EQ(SelectRegistryStore(registry.file()), ERROR_SUCCESS);  // checkpoints and closes good.db
  const std::string original = FileBytes(good);
  ASSERT_GE(original.size() / kPage, 200u);
  const int64_t rows = SqlNumber(good, "SELECT count(*) FROM keys");
  const int64_t values = SqlNumber(good, "SELECT count(*) FROM vals");
  const int64_t last_id = SqlNumber(good, "SELECT max(id) FROM keys");
  const std::string dump = Dump(good);

  for (const DamageShape& shape : kShapes) {
    SCOPED_TRACE(shape.name);
    const std::filesystem::path damaged = registry.path() / "damaged.db";
    const std::filesystem::path copy = registry.path() / "recovered.db";
    std::filesystem::remove(copy);
    std::string bytes = original;
    shape.damage(bytes);
    WriteFile(damaged, bytes);

    const AdminResult recover = Admin({"--store", damaged, "recover", copy});
    EXPECT_NE(recover.output.find(shape.says), std::string::npos) << recover.output;
    EXPECT_EQ(recover.output.find("terminate"), std::string::npos) << recover.output;
    EXPECT_TRUE(FileBytes(damaged) == bytes);  // read, never changed
    for (const auto& entry : std::filesystem::directory_iterator(registry.path())) {
      EXPECT_EQ(entry.path().filename().string().find(".damaged.db.recover"), std::string::npos);  // no copy left
    }
    if (shape.expected == Expected::kNothing) {
      EXPECT_EQ(recover.exit_code, 1) << recover.output;
      EXPECT_FALSE(std::filesystem::exists(copy));
      const AdminResult again = Admin({"--store", damaged, "recover", copy});
      EXPECT_EQ(again.exit_code, 1);
      EXPECT_EQ(again.output, recover.output);  // not "already exists"
      continue;
    }
    ASSERT_EQ(recover.exit_code, 0) << recover.output;
    EXPECT_EQ(IntegrityCheck(copy), "ok");
    const Numbers numbers = ReportedNumbers(recover.output);
    EXPECT_EQ(numbers.values_lost, 0) << recover.output;
    if (shape.expected == Expected::kEverything) {
      EXPECT_EQ(numbers.keys, rows - 3) << recover.output;  // the roots are not counted
      EXPECT_EQ(numbers.values, values) << recover.output;
      EXPECT_EQ(numbers.keys_lost, 0) << recover.output;
      EXPECT_EQ(Dump(copy), dump);
      continue;
    }
    // Every key row a reader by row id can read is saved: in its place, or
    // below HKEY_LOCAL_MACHINE\Recovered when its parent's row is lost.
    const std::map<int64_t, int64_t> readable = RowsReadableById(damaged, last_id);
    int64_t orphans = 0;
    for (const auto& [id, parent] : readable) {
      if (parent > 3 && readable.count(parent) == 0) ++orphans;
    }
    if (shape.damage == ZeroTenPages) {
      const auto readable_keys =
          std::count_if(readable.begin(), readable.end(), [](const auto& row) { return row.first > 3; });
      EXPECT_GT(static_cast<int64_t>(readable.size()), rows * 9 / 10);
      EXPECT_LT(static_cast<int64_t>(readable.size()), rows);
      EXPECT_EQ(numbers.keys, readable_keys) << recover.output;
      EXPECT_EQ(numbers.keys_lost, rows - static_cast<int64_t>(readable.size())) << recover.output;
      EXPECT_GT(orphans, 0);
    } else {
      EXPECT_GT(numbers.keys, 0);
      EXPECT_LT(numbers.keys, rows - 3);
    }
    if (orphans > 0) {
      EXPECT_NE(recover.output.find("Below HKEY_LOCAL_MACHINE\\Recovered, "), std::string::npos) << recover.output;
      EXPECT_NE(recover.output.find("the " + std::to_string(orphans) + " keys whose parent was lost."),
                std::string::npos)
          << recover.output;
    }
    EXPECT_GT(numbers.values, 0);
    EXPECT_LT(numbers.values, values);
    // Nothing is invented or misplaced: every key and value outside
    // Recovered is one of the original's, at the same path.
    EXPECT_EQ(NotIn(Dump(copy, "HKEY_LOCAL_MACHINE\\Recovered"), dump), "");
  }
}

TEST(MissingStore, CheckSaysThereIsNoStoreAndCreatesNothing) {
  TempRegistry registry;
  const std::filesystem::path missing = registry.path() / "absent" / "registry.db";
  const AdminResult check = Admin({"--store", missing, "check"});
  EXPECT_EQ(check.exit_code, 1);
  EXPECT_NE(check.output.find("no registry store at " + missing.string()), std::string::npos) << check.output;
  EXPECT_FALSE(std::filesystem::exists(missing.parent_path()));
}

}  // namespace
}  // namespace orvane::testing
