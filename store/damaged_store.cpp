// A damaged store's file as SQLite reads it. The file header (the first 100
// bytes of page 1) starts with "SQLite format 3" and a NUL and holds,
// big-endian: the page size at 16 (2 bytes, 1 meaning 65536), the change
// counter at 24, the database's size in pages at 28 (valid when the number
// at 92 equals the change counter), the first free-list page at 32 and the
// number of free pages at 36; the schema's b-tree starts at byte 100 of
// page 1. A b-tree page starts with its type: 2 or 10 (index), 5 or 13
// (table).
#include "store/damaged_store.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string_view>

#include "store/store_schema.h"

namespace orvane::platform {
namespace {

constexpr int kSmallestPage = 512;
constexpr int kLargestPage = 65536;
constexpr size_t kHeaderSize = 100;
constexpr size_t kPagesLookedAt = 64;  // pages whose type guesses the page size

bool IsBtreePage(unsigned char type) { return type == 2 || type == 5 || type == 10 || type == 13; }

// The first `length` bytes of `file` (fewer when it is shorter).
std::string FileStart(const std::filesystem::path& file, size_t length) {
  std::ifstream in(file, std::ios::binary);
  std::string bytes(length, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(length));
  bytes.resize(static_cast<size_t>(in.gcount()));
  return bytes;
}

// The page size under which the most pages of the file start as b-tree
// pages do; 4096, SQLite's default, when none does.
int GuessPageSize(const std::string& start) {
  int best = 4096;
  double best_share = 0;
  for (int size = kSmallestPage; size <= kLargestPage; size *= 2) {
    const size_t pages = std::min(start.size() / static_cast<size_t>(size), kPagesLookedAt);
    if (pages < 2) break;
    size_t btree = start.size() > kHeaderSize && IsBtreePage(static_cast<unsigned char>(start[kHeaderSize])) ? 1 : 0;
    for (size_t page = 1; page < pages; ++page) {
      btree += IsBtreePage(static_cast<unsigned char>(start[page * static_cast<size_t>(size)])) ? 1 : 0;
    }
    const double share = static_cast<double>(btree) / static_cast<double>(pages);
    if (share > best_share) {
      best = size;
      best_share = share;
    }
  }
  return best;
}

uint32_t BigEndian(const std::string& bytes, size_t at, int length) {
  uint32_t value = 0;
  for (int i = 0; i < length; ++i) value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<size_t>(i)]);
  return value;
}

// How many pages the header of the file starting with `start` says the
// file has beyond its `size` bytes; 0 when the header cannot tell.
int64_t MissingPages(const std::string& start, uintmax_t size) {
  constexpr std::string_view kMagic("SQLite format 3\0", 16);
  if (start.size() < kHeaderSize || start.compare(0, kMagic.size(), kMagic) != 0 ||
      BigEndian(start, 24, 4) != BigEndian(start, 92, 4)) {
    return 0;
  }
  const uint32_t page_size = BigEndian(start, 16, 2) == 1 ? kLargestPage : BigEndian(start, 16, 2);
  if (page_size < kSmallestPage || page_size > kLargestPage || (page_size & (page_size - 1)) != 0) return 0;
  const auto pages = static_cast<int64_t>(size / page_size);
  return std::max<int64_t>(0, static_cast<int64_t>(BigEndian(start, 28, 4)) - pages);
}

void PutBigEndian32(std::string& bytes, size_t at, uint32_t value) {
  for (int i = 3; i >= 0; --i) {
    bytes[at + static_cast<size_t>(i)] = static_cast<char>(value & 0xFF);
    value >>= 8;
  }
}

// A new hidden file in `folder` for the copy of `file`.
std::filesystem::path NewScratchFile(const std::filesystem::path& folder, const std::filesystem::path& file,
                                     std::string* error) {
  std::string name = ".";
  name += file.filename().string();
  name += ".recover-XXXXXX";
  std::string pattern = (folder / name).string();
  const int fd = mkstemp(pattern.data());
  if (fd < 0) {
    *error = "cannot make a copy in " + folder.string();
    return {};
  }
  close(fd);
  return pattern;
}

}  // namespace

std::unique_ptr<DamagedStore> DamagedStore::Open(const std::filesystem::path& file,
                                                 const std::filesystem::path& scratch, std::string* error) {
  std::unique_ptr<DamagedStore> store(new DamagedStore());
  std::error_code no_size;
  store->missing_pages_ = MissingPages(FileStart(file, kHeaderSize), std::filesystem::file_size(file, no_size));
  bool repairable = false;
  if (store->TryOpen(file, &repairable, error)) return store;
  if (!repairable) return nullptr;
  const std::string first_error = *error;
  for (const bool whole_page : {false, true}) {
    std::string ignored;
    if (!store->MakeRepairedCopy(file, scratch, whole_page, error)) return nullptr;
    if (store->TryOpen(store->copy_, &repairable, &ignored)) {
      store->repair_ = whole_page ? "first page" : "header";
      return store;
    }
  }
  *error = first_error;
  return nullptr;
}

DamagedStore::~DamagedStore() {
  db_.reset();
  if (!copy_.empty()) {
    std::error_code ignored;
    std::filesystem::remove(copy_, ignored);
  }
}

bool DamagedStore::TryOpen(const std::filesystem::path& file, bool* repairable, std::string* error) {
  db_.reset();
  *repairable = false;
  try {
    db_ = Db::OpenForReading(file);
  } catch (const SqliteError& failure) {
    *error = "cannot read " + file.string() + ": " + failure.what();
    return false;
  }
  bool ours = false;
  try {
    ours = db_->ScalarInt("PRAGMA application_id") == kStoreApplicationId;
    db_->ScalarInt("SELECT count(*) FROM sqlite_schema");
  } catch (const SqliteError& failure) {
    // The header or the schema cannot be read: a rebuilt first page may help.
    *error = "cannot read " + file.string() + ": " + failure.what();
    *repairable = true;
    db_.reset();
    return false;
  }
  try {
    db_->Prepare("SELECT id, parent, name, read_only FROM keys WHERE id >= ?1 ORDER BY id");
    db_->Prepare("SELECT folded, seq, name, type, data FROM vals WHERE key = ?1 ORDER BY folded");
  } catch (const SqliteError& failure) {
    *error = file.string() + " is not a registry store: " + failure.what();
    *repairable = ours;  // its own schema lost its tables
    db_.reset();
    return false;
  }
  return true;
}

bool DamagedStore::MakeRepairedCopy(const std::filesystem::path& file, const std::filesystem::path& scratch,
                                    bool whole_page, std::string* error) {
  db_.reset();
  if (copy_.empty() && (copy_ = NewScratchFile(scratch, file, error)).empty()) return false;
  std::error_code failed;
  const uintmax_t size = std::filesystem::file_size(file, failed);
  if (!failed) std::filesystem::copy_file(file, copy_, std::filesystem::copy_options::overwrite_existing, failed);
  if (failed) {
    *error = "cannot copy " + file.string() + " to " + copy_.string() + ": " + failed.message();
    return false;
  }
  const std::string start = FileStart(file, kPagesLookedAt * kLargestPage);
  const int page_size = GuessPageSize(start);
  std::string first = FreshFirstPage(page_size);
  if (!whole_page) {
    std::string body = start.substr(std::min(start.size(), kHeaderSize), static_cast<size_t>(page_size) - kHeaderSize);
    body.resize(static_cast<size_t>(page_size) - kHeaderSize, '\0');
    first.replace(kHeaderSize, body.size(), body);
  }
  const auto pages = static_cast<uint32_t>(size / static_cast<uintmax_t>(page_size));
  PutBigEndian32(first, 28, pages);
  PutBigEndian32(first, 32, 0);  // no free list: its pages are read as nothing
  PutBigEndian32(first, 36, 0);
  const int fd = open(copy_.c_str(), O_WRONLY | O_CLOEXEC);
  const bool written = fd >= 0 && pwrite(fd, first.data(), first.size(), 0) == static_cast<ssize_t>(first.size()) &&
                       ftruncate(fd, static_cast<off_t>(pages) * page_size) == 0;
  if (fd >= 0) close(fd);
  if (!written) *error = "cannot write the copy " + copy_.string();
  return written;
}

void DamagedStore::Remember(int64_t id, DamagedKeyRow row, std::map<int64_t, DamagedKeyRow>* rows) {
  largest_id_ = std::max({largest_id_, id, row.parent});
  (*rows)[id] = std::move(row);
}

bool DamagedStore::ReadKeysFrom(int64_t from, std::map<int64_t, DamagedKeyRow>* rows, int64_t* next) {
  try {
    Query query = db_->Prepare("SELECT id, parent, name, read_only FROM keys WHERE id >= ?1 ORDER BY id");
    query.Bind(1, from);
    while (query.Step()) {
      Remember(query.Int(0), {query.Int(1), std::string(query.Blob(2)), query.Int(3) != 0}, rows);
      *next = query.Int(0) + 1;
    }
    return true;
  } catch (const SqliteError&) {
    return false;
  }
}

DamagedStore::Probe DamagedStore::ReadOneKey(int64_t id, std::map<int64_t, DamagedKeyRow>* rows) {
  try {
    Query query = db_->Prepare("SELECT parent, name, read_only FROM keys WHERE id = ?1");
    if (!query.Bind(1, id).Step()) return Probe::kMissing;
    Remember(id, {query.Int(0), std::string(query.Blob(1)), query.Int(2) != 0}, rows);
    return Probe::kRead;
  } catch (const SqliteError&) {
    return Probe::kDamaged;
  }
}

int64_t DamagedStore::LargestKnownId() {
  int64_t largest = 0;
  for (const char* sql : {"SELECT max(id) FROM keys", "SELECT max(key) FROM vals"}) {
    try {
      largest = std::max(largest, db_->ScalarInt(sql));
    } catch (const SqliteError&) {
      // that end of the table is damaged: the other answers
    }
  }
  return largest;
}

void DamagedStore::ReadKeys(std::map<int64_t, DamagedKeyRow>* rows, std::vector<int64_t>* lost) {
  const int64_t known = LargestKnownId();
  int64_t next = 1;
  while (!ReadKeysFrom(next, rows, &next)) {
    // The row at `next`, or the page it is on, cannot be read: one id at a
    // time until a read works (the row, or a readable page without it).
    for (;; ++next) {
      if (next > std::max(known, largest_id_)) return;  // no row is known beyond
      const Probe probe = ReadOneKey(next, rows);
      if (probe != Probe::kDamaged) break;
      lost->push_back(next);
    }
    ++next;
  }
}

namespace {

// Reads rows of `query` (folded, seq, name, type, data) for key `id` into
// `rows` until it ends, meets damage, or reaches `stop` (a folded name
// already read). Returns false when it met damage.
bool ReadValueRows(Db& db, const char* sql, int64_t id, const std::string* stop, std::vector<DamagedValueRow>* rows) {
  try {
    Query query = db.Prepare(sql);
    query.Bind(1, id);
    while (query.Step()) {
      if (stop != nullptr && query.Blob(0) == *stop) return true;
      rows->push_back({std::string(query.Blob(0)), query.Int(1), std::string(query.Blob(2)),
                       static_cast<uint32_t>(query.Int(3)), std::string(query.Blob(4))});
    }
    return true;
  } catch (const SqliteError&) {
    return false;
  }
}

}  // namespace

std::vector<DamagedValueRow> DamagedStore::ReadValues(int64_t id, bool* complete) {
  std::vector<DamagedValueRow> rows;
  *complete = ReadValueRows(*db_, "SELECT folded, seq, name, type, data FROM vals WHERE key = ?1 ORDER BY folded",
                            id, nullptr, &rows);
  if (!*complete) {
    // Back from the last name to the damage, or to the last name read.
    const std::string last = rows.empty() ? std::string() : rows.back().folded;
    ReadValueRows(*db_, "SELECT folded, seq, name, type, data FROM vals WHERE key = ?1 ORDER BY folded DESC", id,
                  rows.empty() ? nullptr : &last, &rows);
  }
  std::sort(rows.begin(), rows.end(), [](const DamagedValueRow& a, const DamagedValueRow& b) { return a.seq < b.seq; });
  return rows;
}

}  // namespace orvane::platform
