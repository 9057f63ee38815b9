// Transactions of the registry store. Reads served from current caches need
// none outside a method group. Any other call outside a group runs in its
// own transaction (deferred for reads, immediate for writes, so that
// simultaneous writers wait for each other under the busy timeout). Inside
// a group, calls share one transaction, begun by the group's first call
// (a read transaction is a snapshot: every read of the group sees one
// state), which becomes a write transaction at the first write. A call that writes more than one
// statement into a shared transaction is also a savepoint (single statements
// are atomic by themselves), so a failed call leaves nothing half done while
// the group goes on.
//
// A write transaction whose call or group has ended may be held open instead
// of committed (see KeyStore::SetCommitDelay and CommitBroker): it is
// committed when another process asks for it, when the commit delay has
// passed, before another program starts, or at exit. Every transaction
// begins by asking a holding process for its changes, so nothing a returned
// call wrote is ever missed; the held transaction is also the write lock, so
// held changes never mix with another writer's.
//
// Caches are checked against other connections' commits in two steps: the
// first copy of the WAL-index header in SQLite's shared memory changes with
// every commit (its change counter, frame count and checksums), so an
// unchanged header proves the caches current without touching the database;
// a changed one leads to a transaction and PRAGMA data_version, which tells
// whether the commit came from another connection.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "store/key_store.h"

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
  if (broker_ && broker_->OtherHolds()) {
    // Another process holds changes of calls that have returned: they must
    // be visible to this call, so ask for them and wait.
    if (write) broker_->NoteWriterWaiting();
    const auto waiting_since = CommitBroker::Clock::now();
    const bool published = broker_->AwaitPublication(call_deadline_);
    NoteWaited(CommitBroker::Clock::now() - waiting_since);
    if (!published) {
      // Reading without them would answer from a state that is no longer
      // the registry's.
      throw SqliteError(SQLITE_BUSY, "another process kept its registry changes uncommitted for too long");
    }
  }
  if (write && broker_) broker_->YieldToWaitingWriter();
  WalHeader header;
  const bool have_header = ReadWalHeader(&header);
  db_->Run(write ? "BEGIN IMMEDIATE" : "BEGIN");
  txn_ = write ? Txn::kWrite : Txn::kRead;
  changes_at_begin_ = db_->TotalChanges();
  if (write && broker_) broker_->NoteWriteLockTaken();
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

int KeyStore::WaitWhileBusy(void* context, int attempts) {
  auto* store = static_cast<KeyStore*>(context);
  const auto now = CommitBroker::Clock::now();
  // Outside a call (a commit by the commit thread) each wait has a
  // deadline of its own.
  if (attempts == 0 && !store->in_call_) store->call_deadline_ = now + store->wait_limit_;
  const auto until = store->call_deadline_;
  if (now >= until) return 0;
  if (store->broker_) {
    store->broker_->NoteWriterWaiting();
    if (store->broker_->OtherHolds()) {
      store->broker_->AwaitPublication(std::min(until, now + std::chrono::milliseconds(5)));
      store->NoteWaited(CommitBroker::Clock::now() - now);
      return 1;
    }
  }
  // A writer that commits at once (or is checkpointing): short sleeps first.
  std::this_thread::sleep_for(attempts < 20 ? std::chrono::microseconds(200) : std::chrono::microseconds(2000));
  store->NoteWaited(CommitBroker::Clock::now() - now);
  return 1;
}

void KeyStore::NoteWaited(CommitBroker::Clock::duration waited) {
  if (group_depth_ > 0 && in_call_) group_waited_ += waited;
}

void KeyStore::EnsureSnapshot() {
  if (txn_ != Txn::kNone) return;
  const uint64_t before = cache_epoch_;
  Begin(false);
  if (cache_epoch_ != before) throw RetryCall{};
}

void KeyStore::BeginCall(bool write) {
  // Every wait of the call, for a holder or for the write lock, shares one
  // deadline: a call never waits longer than the limit in all.
  // Inside a group, the calls share what is left of one limit.
  in_call_ = true;
  const CommitBroker::Clock::duration left =
      group_depth_ > 0 ? std::max<CommitBroker::Clock::duration>(wait_limit_ - group_waited_, {}) : wait_limit_;
  call_deadline_ = CommitBroker::Clock::now() + left;
  call_writes_ = write;
  if (txn_ == Txn::kRead && write) {
    db_->Run("COMMIT");
    txn_ = Txn::kNone;
  }
  // Held changes that are asked for or due are committed before the call
  // while nothing writes on top of them (from a group's first write on,
  // they wait for the group). The commit thread does the same only in a
  // pause between calls, which a busy thread may not leave.
  if (MayPublishNow() && PublicationDue()) Commit();
  if (txn_ == Txn::kNone) {
    // Inside a group the first call always begins the transaction, so that
    // every later read of the group sees the state this one saw, even
    // where the caches would have served this call alone.
    WalHeader header;
    const bool current = !write && group_depth_ == 0 && header_checked_ && !(broker_ && broker_->OtherHolds()) &&
                         ReadWalHeader(&header) && header == seen_header_;
    if (!current) Begin(write);
  }
  if (write && group_depth_ > 0) group_wrote_ = true;
}

void KeyStore::BeginAtomicStep() {
  // Only a transaction shared with other calls needs the savepoint.
  if (savepoint_ || (group_depth_ == 0 && !holding_)) return;
  db_->Run("SAVEPOINT registry_call");
  savepoint_ = true;
}

void KeyStore::EndCall() {
  in_call_ = false;
  if (savepoint_) {
    db_->Run("RELEASE registry_call");
    savepoint_ = false;
  }
  if (group_depth_ == 0 && txn_ != Txn::kNone) FinishTransaction();
  // The call returns success while its changes wait for a commit.
  if (call_writes_ && txn_ == Txn::kWrite) ++returned_calls_;
  if (call_writes_ && group_depth_ > 0) ++group_write_calls_;
}

void KeyStore::AbortCall() {
  in_call_ = false;
  try {
    if (savepoint_ && db_->InTransaction()) {
      db_->Run("ROLLBACK TO registry_call");
      db_->Run("RELEASE registry_call");
    } else if (group_depth_ == 0 && !holding_ && db_->InTransaction()) {
      db_->Run("ROLLBACK");
    }
    // Held changes without a savepoint: the failed call was one statement,
    // which SQLite has undone alone; the finished calls stay.
  } catch (const SqliteError&) {
    // Rolling back failed too: SQLite has ended the transaction itself.
  }
  savepoint_ = false;
  if (!db_->InTransaction()) {
    txn_ = Txn::kNone;
    rollback_points_ = 0;
    ForgetTouches();
    DropReturnedCalls();
  }
  // The caches may hold changes that were just undone.
  ClearCaches();
  data_version_ = -1;
  header_checked_ = false;
}

void KeyStore::BeginGroup() {
  if (group_depth_++ > 0) return;
  group_wrote_ = false;
  group_waited_ = {};
  group_write_calls_ = 0;
}

void KeyStore::EndGroup() {
  if (group_depth_ > 0 && --group_depth_ == 0) {
    group_wrote_ = false;
    if (txn_ != Txn::kNone && !savepoint_) FinishTransaction();
  }
}

bool KeyStore::PublicationDue() const {
  return holding_ && (broker_->PublicationRequested() || CommitBroker::Clock::now() >= hold_deadline_);
}

void KeyStore::FinishTransaction() {
  // Holding saves the fixed cost of a commit; a transaction that has
  // written many rows gains nothing from it and would put much at risk.
  constexpr int64_t kHoldRowsAtMost = 1000;
  const bool defer = txn_ == Txn::kWrite && broker_ && commit_delay_.count() > 0 &&
                     db_->TotalChanges() - changes_at_begin_ <= kHoldRowsAtMost;
  if (!defer || PublicationDue()) {
    Commit();
    return;
  }
  if (!holding_) {
    holding_ = true;
    hold_deadline_ = CommitBroker::Clock::now() + commit_delay_;
    broker_->MarkHolding();
  }
}

void KeyStore::Commit() {
  if (txn_ == Txn::kNone) return;
  try {
    WriteTouches();
    db_->Run("COMMIT");
  } catch (const SqliteError&) {
    try {
      if (db_->InTransaction()) db_->Run("ROLLBACK");
    } catch (const SqliteError&) {
      // SQLite has ended the transaction itself.
    }
    txn_ = Txn::kNone;
    rollback_points_ = 0;
    ForgetTouches();
    ClearCaches();
    data_version_ = -1;
    header_checked_ = false;
    DropReturnedCalls();
    throw;
  }
  txn_ = Txn::kNone;
  returned_calls_ = 0;
  rollback_points_ = 0;
  if (holding_) {
    holding_ = false;
    broker_->MarkPublished();
  }
}

void KeyStore::SetRollbackPoint() {
  db_->Run("SAVEPOINT registry_rollback_point");
  ++rollback_points_;
}

void KeyStore::ReleaseRollbackPoint(bool undo) {
  if (rollback_points_ == 0) return;
  --rollback_points_;
  // A failure that made SQLite end the transaction took the point with it.
  if (!db_->InTransaction()) return;
  if (undo) {
    db_->Run("ROLLBACK TO registry_rollback_point");
    // The caches may hold changes that were just undone.
    ClearCaches();
    data_version_ = -1;
    header_checked_ = false;
  }
  db_->Run("RELEASE registry_rollback_point");
}

void KeyStore::CommitGroup() {
  // A commit would end the rollback points along with the transaction.
  if (txn_ == Txn::kNone || savepoint_ || rollback_points_ > 0) return;
  Commit();
  group_wrote_ = false;
}

void KeyStore::PublishIfDue() {
  if (MayPublishNow() && PublicationDue()) Commit();
}

void KeyStore::StopDeferring() {
  commit_delay_ = std::chrono::milliseconds(0);
  if (MayPublishNow()) Commit();
}

void KeyStore::DropReturnedCalls() {
  lost_calls_ += returned_calls_;
  returned_calls_ = 0;
  if (holding_) {
    holding_ = false;
    broker_->MarkPublished();
  }
}

void KeyStore::Abandon() {
  try {
    if (db_->InTransaction()) db_->Run("ROLLBACK");
  } catch (const SqliteError&) {
    // SQLite has ended the transaction itself.
  }
  savepoint_ = false;
  txn_ = Txn::kNone;
  ForgetTouches();
  DropReturnedCalls();
  ClearCaches();
  db_->KeepFileAsIs();
}

bool KeyStore::ContinueInForkedChild() {
  if (holding_ || broker_ == nullptr) return false;
  broker_->ForgetProcess();
  return true;
}

int64_t KeyStore::TakeLostCalls() {
  const int64_t lost = lost_calls_;
  lost_calls_ = 0;
  return lost;
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
