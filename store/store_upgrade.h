// Upgrade of a registry store of layout 1, whose names were folded in
// ASCII upper case only, to layout 2, where every letter is (FoldCase).
// Run inside the write transaction that raises the layout version.
//
// Names of ASCII bytes fold as before, and no other name folds into ASCII,
// so only names with other bytes are folded again. Two sibling keys (or two
// values of one key) that fold alike now both stay readable: the older one
// (created first) keeps its name, each later one is renamed with the first
// free suffix " (2)", " (3)", ..., and the table
// upgrade_renames(kind, key, old_name, new_name) records it (kind "key":
// `key` is the renamed key's id; kind "value": the id of its key).
#pragma once

#include "store/sqlite_db.h"

namespace orvane::platform {

void UpgradeFoldedNames(Db& db);

}  // namespace orvane::platform
