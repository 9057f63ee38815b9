#include "search/replace_registry.h"

#include "registry/key_path.h"
#include "registry/registry_error.h"
#include "registry/scoped_key.h"
#include "search/match_text.h"

namespace orvane {
namespace {

constexpr int32_t kCurrentUser = static_cast<int32_t>(0x80000001);
constexpr int32_t kLocalMachine = static_cast<int32_t>(0x80000002);
constexpr int32_t kUsers = static_cast<int32_t>(0x80000003);
// Steps of the whole-registry progress bar.
constexpr int32_t kAllRegistrySteps = 6;

// Replacing a text by one that holds it again would never end, and so
// would replacing the empty text by nothing.
void RequireReplaceableText(const std::string& find, const std::string& with) {
  const bool contained = find.empty() || FindNoCase(with, find) != std::string::npos;
  if (contained) RaiseRegistryErrorCode(kCodeReplaceContainsFind);
}

void ReplaceAllRoots(const ReplaceOptions& options, const ProgressWindow& progress, bool nt, int32_t& count) {
  const auto walk = [&](int32_t root) { ReplaceInKey(RootHandle(root), "", options, progress, 1, count); };
  walk(kLocalMachine);
  progress.Step();
  progress.Step();
  walk(kUsers);
  if (!nt) return progress.Step();
  progress.Step();
  walk(kCurrentUser);
  progress.Step();
}

}  // namespace

int32_t ReplaceInRegistry(const WalkScope& scope, ReplaceOptions options, int32_t find_mode,
                          const Variant& reserved, int32_t& progress_window, bool nt) {
  RequireZeroReserved(reserved);
  RequireReplaceableText(options.find.text, options.with);
  // A new key or value name holding a NUL would be cut at it (60007).
  if (options.find.key_names || options.find.value_names) RefuseNulInName(options.with);
  const ProgressWindow progress(progress_window);
  int32_t count = 0;
  options.find.mode = NarrowFindMode(find_mode);
  if (!scope.all_registry) {
    if (progress.present()) progress.Start(DirectSubKeyCount(scope.root, scope.path));
    ReplaceInKey(scope.root, scope.path, options, progress, 2, count);
  } else {
    progress.Start(kAllRegistrySteps);
    ReplaceAllRoots(options, progress, nt, count);
  }
  progress.Finish();
  return count;
}

}  // namespace orvane
