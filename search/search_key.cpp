#include "search/search_key.h"

#include "keyops/subtree.h"
#include "registry/scoped_key.h"
#include "search/key_listing.h"
#include "search/match_text.h"

namespace orvane {
namespace {

void MatchValues(HKEY key, int32_t count, int32_t root, const std::string& path, const SearchOptions& options,
                 MatchTable& matches) {
  for (ListedValue& value : ListValues(key, count)) {
    if (options.value_names && TextMatches(value.name, options.text, options.mode)) {
      matches.Append({root, path, MatchKind::kValueName, value.name, {}, 0});
    }
    if (!options.value_data) continue;
    std::string text = DataText(value.type, value.bytes);
    if (TextMatches(text, options.text, options.mode)) {
      matches.Append({root, path, MatchKind::kValueData, std::move(value.name), std::move(text),
                      static_cast<int32_t>(value.type)});
    }
  }
}

}  // namespace

void SearchKey(HKEY root, const std::string& path, const SearchOptions& options, const ProgressWindow& progress,
               int16_t depth, MatchTable& matches) {
  if (depth > 0) progress.Step();
  ScopedKey key;
  key.Open(root, path);
  const KeyInfo info = QueryKeyInfo(key.get());
  if ((options.value_names || options.value_data) && info.values > 0) {
    MatchValues(key.get(), info.values, RootValue(root), path, options, matches);
  }
  for (const std::string& name : ListSubKeyNames(key.get(), info.sub_keys)) {
    std::string child = ChildPath(path, name);
    if (options.key_names && TextMatches(name, options.text, options.mode)) {
      matches.Append({RootValue(root), child, MatchKind::kKey, {}, {}, 0});
    }
    SearchKey(root, child, options, progress, static_cast<int16_t>(depth - 1), matches);
  }
}

}  // namespace orvane
