// The keys and values a new registry store starts with: the roots, the
// well-known keys of a Windows system, and the system information values
// filled from the host where it has an equivalent.
#pragma once

#include "store/sqlite_db.h"

namespace orvane::platform {

// Inserts the seed into a freshly created, empty store (inside the caller's
// transaction). Throws SqliteError.
void SeedStore(Db& db);

}  // namespace orvane::platform
