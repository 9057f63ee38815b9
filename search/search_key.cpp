#include "search/search_key.h"

#include "keyops/subtree.h"
#include "registry/key_path.h"
#include "registry/scoped_key.h"
#include "search/key_listing.h"
#include "search/match_text.h"
#include "undo/journal.h"

namespace orvane {
namespace {

// The deepest level below a walk's top key at which the product key can be
// met: two names below HKEY_LOCAL_MACHINE.
constexpr size_t kProductKeyDepth = 2;

// The subtree of the product key that a walk from above met, left out of
// the results as Replace leaves it unchanged: the walk is pre-order, so
// its keys come right after it.
class ProductKeySkip {
 public:
  explicit ProductKeySkip(HKEY root) : root_(root) {}

  bool Skips(const std::string& path, size_t level) {
    if (!skipped_.empty() && path.starts_with(skipped_) &&
        (path.size() == skipped_.size() || path[skipped_.size()] == '\\')) {
      return true;
    }
    if (level == 0 || level > kProductKeyDepth || !IsProductKey(root_, path)) return false;
    skipped_ = path;
    return true;
  }

 private:
  HKEY root_;
  std::string skipped_;
};

void MatchValues(HKEY key, int32_t root, const std::string& path, const SearchOptions& options,
                 MatchTable& matches) {
  std::vector<ListedValue> values;
  ListValues(key, &values);  // a failed enumeration ends the list: no row is made of it
  for (ListedValue& value : values) {
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
  const int32_t root_value = RootValue(root);
  ProductKeySkip product(root);
  // A sub-key's name row comes just before the rows of its own subtree.
  auto match_name = [&](const std::string& key_path, size_t level) {
    if (level > 0 && options.key_names && TextMatches(LeafKeyName(key_path), options.text, options.mode)) {
      matches.Append({root_value, key_path, MatchKind::kKey, {}, {}, 0});
    }
    if (level > 0 && static_cast<int>(level) < depth) progress.Step();
  };
  if (depth > 0) progress.Step();
  TreeVisitor visitor;
  visitor.visit = [&](HKEY key, const std::string& key_path, size_t level) -> LONG {
    if (product.Skips(key_path, level)) return ERROR_SUCCESS;
    match_name(key_path, level);
    if (options.value_names || options.value_data) MatchValues(key, root_value, key_path, options, matches);
    return ERROR_SUCCESS;
  };
  // A key that cannot be opened reads empty; its name still counts.
  visitor.open_failed = [&](const std::string& key_path, size_t level, LONG) -> LONG {
    if (product.Skips(key_path, level)) return ERROR_SUCCESS;
    match_name(key_path, level);
    return ERROR_SUCCESS;
  };
  WalkKeyTree(root, path, visitor);  // what could not be read reads empty
}

}  // namespace orvane
