#include "search/search_registry.h"

#include <string_view>

#include "keyops/counting.h"
#include "keyops/enumeration.h"
#include "store/name_case.h"
#include "registry/registry_error.h"
#include "registry/scoped_key.h"

namespace orvane {
namespace {

constexpr int32_t kClassesRoot = static_cast<int32_t>(0x80000000);
constexpr int32_t kCurrentUser = static_cast<int32_t>(0x80000001);
constexpr int32_t kLocalMachine = static_cast<int32_t>(0x80000002);
constexpr int32_t kUsers = static_cast<int32_t>(0x80000003);
constexpr int32_t kCurrentConfig = static_cast<int32_t>(0x80000005);
constexpr int32_t kDynData = static_cast<int32_t>(0x80000006);
// Steps of the whole-registry progress bar.
constexpr int32_t kAllRegistrySteps = 6;

// One whole-registry search in progress.
struct RegistryWalk {
  const SearchOptions& options;
  const ProgressWindow& progress;
  MatchTable& matches;

  void Walk(int32_t root) const { SearchKey(RootHandle(root), "", options, progress, 1, matches); }
};

// The path below `prefix` when `path` is the prefix key or lies inside it
// (letter case ignored): empty for the key itself, else without the prefix
// and the backslash after it. False when the path is elsewhere.
bool PathBelow(std::string_view path, std::string_view prefix, std::string& below) {
  // Names ignore letter case: the registry may spell the prefix otherwise.
  const size_t length = platform::FoldedPrefixLength(path, prefix);
  if (length == std::string_view::npos) return false;
  if (path.size() == length) {
    below.clear();
    return true;
  }
  if (path[length] != '\\') return false;
  below = std::string(path.substr(length + 1));
  return true;
}

// Whether `path` under `root` has exactly one sub-key, named `name`. An
// examined key without sub-keys holds no alias; a missing key raises.
bool OnlySubKeyIs(int32_t root, const std::string& path, std::string_view name) {
  const Variant keys = ReadAllKeys(RootHandle(root), path);
  if (!keys.is_array() || keys.array().elements().size() != 1) return false;
  return ToString(keys.array().elements()[0]) == name;
}

void WalkAllRoots(const RegistryWalk& walk, bool nt) {
  walk.Walk(kLocalMachine);
  const size_t machine_rows = walk.matches.size();
  DeriveViewRows(walk.matches, 0, machine_rows, "SOFTWARE\\Classes", kClassesRoot);
  walk.progress.Step();
  if (!nt && OnlySubKeyIs(kLocalMachine, "Config", "0001")) {
    DeriveViewRows(walk.matches, 0, machine_rows, "Config\\0001", kCurrentConfig);
    walk.progress.Step();
  } else {
    walk.Walk(kCurrentConfig);
  }
  const size_t users_first = walk.matches.size();
  walk.Walk(kUsers);
  const size_t users_last = walk.matches.size();
  if (OnlySubKeyIs(kUsers, "", ".Default")) {
    DeriveViewRows(walk.matches, users_first, users_last, ".Default", kCurrentUser);
    walk.progress.Step();
  } else {
    walk.Walk(kCurrentUser);
  }
  if (!nt) walk.Walk(kDynData);
}

}  // namespace

void DeriveViewRows(MatchTable& matches, size_t first, size_t last, std::string_view prefix, int32_t view) {
  std::string below;
  for (size_t i = first; i < last; ++i) {
    if (!PathBelow(matches.row(i).path, prefix, below)) continue;
    MatchRow copy = matches.row(i);
    copy.root = view;
    copy.path = below;
    matches.Append(std::move(copy));
  }
}

void RequireZeroReserved(const Variant& reserved) {
  if (reserved.is_empty()) return;
  if (reserved.is_array() || CompareNumeric(reserved, 0.0) != 0) {
    RaiseRegistryErrorCode(kCodeReservedNotZero);
  }
}

int32_t DirectSubKeyCount(HKEY root, const std::string& path) {
  CountTotals totals;
  CountTreeItems(root, path, 0, totals);
  return static_cast<int32_t>(totals.sub_keys);
}

uint8_t NarrowFindMode(int32_t find_mode) { return ToByte(Variant::Long(find_mode)); }

Variant SearchRegistry(const WalkScope& scope, SearchOptions options, int32_t find_mode, const Variant& reserved,
                       int32_t& progress_window, bool nt) {
  RequireZeroReserved(reserved);
  const ProgressWindow progress(progress_window);
  options.mode = NarrowFindMode(find_mode);
  MatchTable matches;
  if (!scope.all_registry) {
    if (progress.present()) progress.Start(DirectSubKeyCount(scope.root, scope.path));
    SearchKey(scope.root, scope.path, options, progress, 2, matches);
  } else {
    progress.Start(kAllRegistrySteps);
    WalkAllRoots(RegistryWalk{options, progress, matches}, nt);
  }
  Variant result = matches.ToVariant();
  progress.Finish();
  return result;
}

}  // namespace orvane
