// Transactions of the registry store. Reads served from current caches need
// none. Any other call outside a method group runs in its own transaction
// (deferred for reads, immediate for writes, so that simultaneous writers
// wait for each other under the busy timeout). Inside a group, calls share
// one transaction, begun by the first call that needs the database (as on
// Windows, there is no snapshot across calls before that), which becomes a
// write transaction at the first write. A call that writes more than one statement is also a
// savepoint (single statements are atomic by themselves), so a failed call
// leaves nothing half done while the group goes on.
//
// Caches are checked against other connections' commits in two steps: the
// first copy of the WAL-index header in SQLite's shared memory changes with
// every commit (its change counter, frame count and checksums), so an
// unchanged header proves the caches current without touching the database;
// a changed one leads to a transaction and PRAGMA data_version, which tells
// whether the commit came from another connection.
#include <fcntl.h>
#include <unistd.h>

#include <atomic>

#include "platform/key_store.h"

namespace orvane::platform {
namespace {

// Caches beyond this many entries are dropped at the next check.
constexpr size_t kMaxCachedEntries = 2'000'000;
// The WAL index's first region; its first bytes are the header's two copies.
constexpr int kWalIndexRegionSize = 32768;

void SyncFile(const std::filesystem::path& file) {
  const int fd = open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return;  // a missing WAL file holds nothing to make durable
  fsync(fd);
  close(fd);
}

}  // namespace

void KeyStore::MapWalIndex() {
  sqlite3_file* file = nullptr;
  if (db_->FileControl(SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK || file == nullptr) return;
  const sqlite3_io_methods* methods = file->pMethods;
  if (methods == nullptr || methods->iVersion < 2 || methods->xShmMap == nullptr) return;
  void volatile* region = nullptr;
  if (methods->xShmMap(file, 0, kWalIndexRegionSize, 0, &region) == SQLITE_OK && region != nullptr) {
    wal_index_ = static_cast<const volatile unsigned char*>(region);
  }
}

bool KeyStore::ReadWalHeader(WalHeader* header) {
  if (wal_index_ == nullptr) return false;
  std::atomic_thread_fence(std::memory_order_acquire);
  for (size_t i = 0; i < header->size(); ++i) (*header)[i] = wal_index_[i];
  std::atomic_thread_fence(std::memory_order_acquire);
  return true;
}

void KeyStore::Begin(bool write) {
  WalHeader header;
  const bool have_header = ReadWalHeader(&header);
  db_->Run(write ? "BEGIN IMMEDIATE" : "BEGIN");
  txn_ = write ? Txn::kWrite : Txn::kRead;
  const int64_t version = db_->ScalarInt("PRAGMA data_version");
  if (version != data_version_ || nodes_.size() + children_by_name_.size() + paths_.size() > kMaxCachedEntries) {
    ClearCaches();
    data_version_ = version;
  }
  // The header read before the transaction began is no newer than the
  // snapshot just checked, so it may stand for these caches.
  if (wal_index_ == nullptr) MapWalIndex();
  header_checked_ = have_header;
  if (have_header) seen_header_ = header;
}

void KeyStore::EnsureSnapshot() {
  if (txn_ != Txn::kNone) return;
  const uint64_t before = cache_epoch_;
  Begin(false);
  if (cache_epoch_ != before) throw RetryCall{};
}

void KeyStore::BeginCall(bool write) {
  if (txn_ == Txn::kRead && write) {
    db_->Run("COMMIT");
    txn_ = Txn::kNone;
  }
  if (txn_ == Txn::kNone) {
    WalHeader header;
    const bool current = !write && header_checked_ && ReadWalHeader(&header) && header == seen_header_;
    if (!current) Begin(write);
  }
}

void KeyStore::BeginAtomicStep() {
  if (group_depth_ == 0 || savepoint_) return;
  db_->Run("SAVEPOINT registry_call");
  savepoint_ = true;
}

void KeyStore::EndCall() {
  if (savepoint_) {
    db_->Run("RELEASE registry_call");
    savepoint_ = false;
  }
  if (group_depth_ == 0 && txn_ != Txn::kNone) {
    WriteTouches();
    db_->Run("COMMIT");
    txn_ = Txn::kNone;
  }
}

void KeyStore::AbortCall() {
  try {
    if (savepoint_ && db_->InTransaction()) {
      db_->Run("ROLLBACK TO registry_call");
      db_->Run("RELEASE registry_call");
      } else if (group_depth_ == 0 && db_->InTransaction()) {
      db_->Run("ROLLBACK");
    }
  } catch (const SqliteError&) {
    // Rolling back failed too: SQLite has ended the transaction itself.
  }
  savepoint_ = false;
  if (!db_->InTransaction()) {
    txn_ = Txn::kNone;
    ForgetTouches();
  }
  // The caches may hold changes that were just undone.
  ClearCaches();
  data_version_ = -1;
  header_checked_ = false;
}

void KeyStore::BeginGroup() { ++group_depth_; }

void KeyStore::EndGroup() {
  if (group_depth_ > 0 && --group_depth_ == 0) CommitGroup();
}

void KeyStore::CommitGroup() {
  if (txn_ == Txn::kNone || savepoint_) return;
  try {
    WriteTouches();
    db_->Run("COMMIT");
  } catch (const SqliteError&) {
    if (db_->InTransaction()) db_->Run("ROLLBACK");
    txn_ = Txn::kNone;
    ForgetTouches();
    ClearCaches();
    data_version_ = -1;
    header_checked_ = false;
    throw;
  }
  txn_ = Txn::kNone;
}

std::string KeyStore::IntegrityCheck() {
  std::string report;
  Query query = db_->Prepare("PRAGMA integrity_check");
  while (query.Step()) {
    if (!report.empty()) report += '\n';
    report += query.Blob(0);
  }
  return report;
}

void KeyStore::Flush() {
  CommitGroup();
  SyncFile(file_.string() + "-wal");
  SyncFile(file_);
  SyncFile(file_.parent_path());  // the WAL file's own directory entry
}

}  // namespace orvane::platform
