// reg compare. Output grammar (every line ends with a line feed):
//   report  = { line } "" "Result Compared: " ("Identical" | "Different")
//             "The operation completed successfully."
//   line    = MARK " Value: " KEY "  " NAME "  " TYPE "  " DATA
//           | MARK " Key: " KEY "\" SUBKEY
//   MARK    = "<" only or different in the first key (KEY is the first)
//           | ">" only or different in the second key (KEY is the second)
//           | "=" the same in both (KEY is the first)
// /od (the default) prints the "<" and ">" lines, /os the "=" lines, /oa
// all, /on none. Values are compared by type and bytes, names without
// regard to letter case. Sub-keys are compared by name; with /s the keys
// present in both are compared in turn, depth first. The exit status is 0
// for identical keys, 2 for different ones, 1 for a failure.
#include "store/store_extensions.h"
#include "tools/reg/reg_key_name.h"
#include "tools/reg/reg_messages.h"
#include "tools/reg/reg_tree.h"
#include "tools/reg/reg_value_text.h"
#include "tools/reg/reg_verbs.h"
#include "tools/regedit/key_progress.h"
#include "tools/regedit/root_keys.h"

namespace orvane::reg {
namespace {

class Comparison {
 public:
  Comparison(Console& console, CompareOutput output) : console_(console), output_(output) {}

  bool different() const { return different_; }

  void CompareTrees(const KeyName& first, const KeyTree& a, const KeyName& second, const KeyTree& b) {
    for (const Value& value : a.values) CompareValue(first, &value, second, Find(b.values, value.name));
    for (const Value& value : b.values) {
      if (Find(a.values, value.name) == nullptr) CompareValue(first, nullptr, second, &value);
    }
    for (const std::string& name : a.subkey_names) {
      const std::string* other = FindName(b.subkey_names, name);
      Print(other != nullptr ? '=' : '<', "Key: " + Shown(console_, first.Child(name).Full()));
      if (other == nullptr || a.subkeys.empty()) continue;
      CompareTrees(first.Child(name), *FindTree(a, name), second.Child(*other), *FindTree(b, *other));
    }
    for (const std::string& name : b.subkey_names) {
      if (FindName(a.subkey_names, name) == nullptr) Print('>', "Key: " + Shown(console_, second.Child(name).Full()));
    }
  }

  void CompareValue(const KeyName& first, const Value* a, const KeyName& second, const Value* b) {
    if (a != nullptr && b != nullptr && a->type == b->type && a->data == b->data) {
      Print('=', ValueLine(first, *a));
      return;
    }
    if (a != nullptr) Print('<', ValueLine(first, *a));
    if (b != nullptr) Print('>', ValueLine(second, *b));
  }

 private:
  std::string ValueLine(const KeyName& key, const Value& value) const {
    return "Value: " + Shown(console_, key.Full()) + "  " + Shown(console_, DisplayName(value.name)) + "  " +
           TypeName(value.type) + "  " + Shown(console_, FormatData(value.type, value.data));
  }

  static const Value* Find(const std::vector<Value>& values, const std::string& name) {
    for (const Value& value : values) {
      if (regedit::EqualsIgnoringCase(value.name, name)) return &value;
    }
    return nullptr;
  }

  static const std::string* FindName(const std::vector<std::string>& names, const std::string& name) {
    for (const std::string& candidate : names) {
      if (regedit::EqualsIgnoringCase(candidate, name)) return &candidate;
    }
    return nullptr;
  }

  static const KeyTree* FindTree(const KeyTree& tree, const std::string& name) {
    for (const auto& [candidate, subtree] : tree.subkeys) {
      if (candidate == name) return &subtree;
    }
    return nullptr;
  }

  void Print(char mark, const std::string& line) {
    const bool same = mark == '=';
    different_ = different_ || !same;
    const bool shown = output_ == CompareOutput::kAll || (same && output_ == CompareOutput::kSame) ||
                       (!same && output_ == CompareOutput::kDifferences);
    if (shown) console_.out << mark << ' ' << line << '\n';
  }

  Console& console_;
  CompareOutput output_;
  bool different_ = false;
};

// Reads the key `name` (its subtree with `recurse`); prints the failure.
bool Load(Console& console, const KeyName& name, bool recurse, KeyTree* tree, regedit::KeyHandle* handle) {
  LONG status = OpenKey(name, KEY_READ, handle);
  if (status == ERROR_SUCCESS) status = ReadTree(handle->get(), recurse, tree);
  if (status != ERROR_SUCCESS) FailStatus(console, status);
  return status == ERROR_SUCCESS;
}

int Finish(Console& console, bool different) {
  console.out << "\nResult Compared: " << (different ? "Different" : "Identical") << '\n';
  Succeed(console);
  return different ? kExitDifferent : kExitSuccess;
}

}  // namespace

int Compare(Console& console, const Options& options) {
  const bool one_value = options.value_name || options.default_value;
  if ((options.value_name && options.default_value) || (one_value && options.recurse)) {
    return FailSyntax(console, "compare");
  }
  const std::optional<KeyName> first = ParseKeyName(options.positional[0]);
  const std::optional<KeyName> second = ParseKeyName(options.positional[1]);
  if (!first || !second) return Fail(console, Message::kInvalidKey);

  platform::RegistryMethodScope scope;
  KeyTree a, b;
  regedit::KeyHandle handle_a, handle_b;
  {
    regedit::KeyProgress progress("Comparing");
    if (!Load(console, *first, options.recurse, &a, &handle_a)) return kExitFailure;
    if (!Load(console, *second, options.recurse, &b, &handle_b)) return kExitFailure;
  }
  Comparison comparison(console, options.output.value_or(CompareOutput::kDifferences));
  if (!one_value) {
    comparison.CompareTrees(*first, a, *second, b);
    return Finish(console, comparison.different());
  }
  const std::string name = options.value_name.value_or("");
  LONG status_a = ERROR_SUCCESS, status_b = ERROR_SUCCESS;
  const std::optional<Value> value_a = ReadValue(handle_a.get(), name, &status_a);
  const std::optional<Value> value_b = ReadValue(handle_b.get(), name, &status_b);
  if (!value_a && !value_b) return FailStatus(console, status_a);
  comparison.CompareValue(*first, value_a ? &*value_a : nullptr, *second, value_b ? &*value_b : nullptr);
  return Finish(console, comparison.different());
}

}  // namespace orvane::reg
