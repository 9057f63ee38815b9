#include "tools/regedit/reg_import.h"

#include <string_view>

#include "store/store_extensions.h"
#include "registry/key_path.h"
#include "tools/regedit/key_handle.h"
#include "tools/regedit/key_progress.h"
#include "tools/regedit/root_keys.h"

namespace orvane::regedit {
namespace {

std::string RootName(HKEY root) {
  for (const RootKey& key : RootKeys()) {
    if (key.handle == root) return std::string(key.name);
  }
  return "?";
}

std::string FullPath(const RegOp& op) { return RootName(op.root) + (op.path.empty() ? "" : "\\" + op.path); }

}  // namespace

// Applies operations one by one, holding the current key.
class RegMerger::Impl {
 public:
  explicit Impl(std::vector<RegMessage>* messages) : messages_(messages) {}

  int failures() const { return failures_; }

  void Apply(const RegOp& op) {
    switch (op.kind) {
      case OpKind::kOpenKey: return OpenKey(op);
      case OpKind::kDeleteKey: return DeleteKey(op);
      case OpKind::kSetValue: return SetValue(op);
      case OpKind::kDeleteValue: return DeleteValue(op);
    }
  }

 private:
  // Sections mostly come parent first, so the keys of the sections above
  // the current one stay open: a sub-key of one of them is created relative
  // to it, which spares walking the whole path from the root each time.
  void OpenKey(const RegOp& op) {
    KeyProgress::CountKey();
    while (!open_.empty() && !IsBelow(op, open_.back())) open_.pop_back();
    const bool relative = !open_.empty();
    const HKEY base = relative ? open_.back().key.get() : op.root;
    const std::string rest = relative ? op.path.substr(open_.back().path.size() + 1) : op.path;
    OpenSection section{op.root, op.path, KeyHandle()};
    const LONG status = RegCreateKeyExA(base, rest.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, kWriteAccess,
                                        nullptr, section.key.out(), nullptr);
    has_current_ = status == ERROR_SUCCESS;
    if (has_current_) {
      open_.push_back(std::move(section));
    } else {
      Fail(op, "Unable to open the registry key '" + FullPath(op) + "'", status);
    }
  }

  void DeleteKey(const RegOp& op) {
    open_.clear();  // the deleted tree may hold any of them
    has_current_ = false;
    const LONG status = DeleteKeyTree(op.root, op.path);
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
      Fail(op, "Unable to delete the registry key '" + FullPath(op) + "'", status);
    }
  }

  void SetValue(const RegOp& op) {
    if (!has_current_) return Fail(op);
    const LONG status = RegSetValueExA(open_.back().key.get(), op.name.c_str(), 0, op.type,
                                       reinterpret_cast<const BYTE*>(op.data.data()),
                                       static_cast<DWORD>(op.data.size()));
    if (status != ERROR_SUCCESS) Fail(op, "Unable to set the value \"" + op.name + "\"", status);
  }

  void DeleteValue(const RegOp& op) {
    if (!has_current_) return Fail(op);
    const LONG status = RegDeleteValueA(open_.back().key.get(), op.name.c_str());
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
      Fail(op, "Unable to delete the value \"" + op.name + "\"", status);
    }
  }

  // Counts a failure; a message is added unless it repeats its section's.
  void Fail(const RegOp& op, const std::string& text = {}, LONG status = 0) {
    ++failures_;
    if (!text.empty()) {
      messages_->push_back({op.line, text + " (status " + std::to_string(status) + ")", true});
    }
  }

  // A section's key, open while later sections are below it.
  struct OpenSection {
    HKEY root;
    std::string path;
    KeyHandle key;
  };

  // True when the key of `op` is a proper sub-key of `section`'s.
  static bool IsBelow(const RegOp& op, const OpenSection& section) {
    return op.root == section.root && op.path.size() > section.path.size() + 1 && !section.path.empty() &&
           op.path[section.path.size()] == '\\' &&
           EqualsIgnoringCase(std::string_view(op.path).substr(0, section.path.size()), section.path);
  }

  std::vector<RegMessage>* messages_;
  std::vector<OpenSection> open_;  // the current key is the last, when has_current_
  bool has_current_ = false;
  int failures_ = 0;
};

RegMerger::RegMerger(std::vector<RegMessage>* messages) : impl_(std::make_unique<Impl>(messages)) {}
RegMerger::~RegMerger() = default;
void RegMerger::Apply(const RegOp& op) { impl_->Apply(op); }
int RegMerger::failures() const { return impl_->failures(); }

namespace {

// Deletes the values of `key`.
LONG DeleteValues(HKEY key) {
  std::string name(orvane::kValueNameBufferSize, '\0');
  while (true) {
    DWORD size = static_cast<DWORD>(name.size());
    LONG status = RegEnumValueA(key, 0, name.data(), &size, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_NO_MORE_ITEMS) return ERROR_SUCCESS;
    if (status != ERROR_SUCCESS) return status;
    if ((status = RegDeleteValueA(key, name.c_str())) != ERROR_SUCCESS) return status;
  }
}

// One key of a deleting walk: its handle, its sub-keys and the next one.
struct DeleteLevel {
  KeyHandle owned;  // empty for the walk's top key, which the caller owns
  HKEY key = nullptr;
  std::vector<std::string> names;
  size_t next = 0;
  LONG listed = ERROR_SUCCESS;  // the status of listing the sub-keys
};

void ListInto(DeleteLevel* level) { level->names = SubKeyNames(level->key, &level->listed); }

// Walks the keys below the one on `stack` depth first, opening each for
// writing, and calls `leave` for every key once its sub-keys are done (the
// top key last), then `remove` with the key's parent and name (not for the
// top key). Stops at the first failure. The walk keeps its own stack, so
// any depth is walked.
template <typename Leave, typename Remove>
LONG WalkBottomUp(std::vector<DeleteLevel>& stack, Leave leave, Remove remove) {
  ListInto(&stack.back());
  while (!stack.empty()) {
    DeleteLevel& level = stack.back();
    if (level.next < level.names.size()) {
      KeyHandle sub_key;
      const std::string& name = level.names[level.next++];
      if (LONG failed = RegOpenKeyExA(level.key, name.c_str(), 0, kWriteAccess, sub_key.out())) return failed;
      DeleteLevel& entered = stack.emplace_back();
      entered.owned = std::move(sub_key);
      entered.key = entered.owned.get();
      ListInto(&entered);
      continue;
    }
    if (level.listed != ERROR_SUCCESS) return level.listed;
    if (LONG failed = leave(level)) return failed;
    stack.pop_back();
    if (stack.empty()) break;
    DeleteLevel& parent = stack.back();
    if (LONG failed = remove(parent.key, parent.names[parent.next - 1])) return failed;
  }
  return ERROR_SUCCESS;
}

// Deletes every value and sub-key of `key`. A sub-key that the store keeps
// because a root view stands for it (the classes, current user and current
// configuration keys) is emptied and kept; a read-only key is a failure.
LONG EmptyKey(HKEY key) {
  std::vector<DeleteLevel> stack(1);
  stack.back().key = key;
  return WalkBottomUp(
      stack, [](DeleteLevel& level) { return DeleteValues(level.key); },
      [](HKEY parent, const std::string& name) {
        const LONG deleted = RegDeleteKeyA(parent, name.c_str());
        return deleted == ERROR_ACCESS_DENIED ? ERROR_SUCCESS : deleted;
      });
}

// Whether every sub-key of `key`, at any depth, opens for writing and
// lists its sub-keys; changes nothing. Returns 0 or the first failing status.
LONG CheckKeyEmptiable(HKEY key) {
  std::vector<DeleteLevel> stack(1);
  stack.back().key = key;
  return WalkBottomUp(
      stack, [](DeleteLevel&) { return LONG{ERROR_SUCCESS}; },
      [](HKEY, const std::string&) { return LONG{ERROR_SUCCESS}; });
}

// The deletion itself: stops at the first failure, leaving what it has
// deleted so far.
LONG DeleteKeyTreeSteps(HKEY root, const std::string& path) {
  std::vector<DeleteLevel> stack(1);
  if (LONG status = RegOpenKeyExA(root, path.c_str(), 0, kWriteAccess, stack.back().owned.out())) return status;
  stack.back().key = stack.back().owned.get();
  const LONG emptied = WalkBottomUp(
      stack,
      [](DeleteLevel& level) {
        level.owned.Close();
        return LONG{ERROR_SUCCESS};
      },
      [](HKEY parent, const std::string& name) { return RegDeleteKeyA(parent, name.c_str()); });
  return emptied != ERROR_SUCCESS ? emptied : RegDeleteKeyA(root, path.c_str());
}

}  // namespace

LONG DeleteKeyTree(HKEY root, const std::string& path) {
  // A failure part-way (a read-only key met after the keys before it were
  // deleted) rolls the whole deletion back.
  platform::RegistryRollbackScope unit;
  const LONG status = DeleteKeyTreeSteps(root, path);
  if (status == ERROR_SUCCESS) unit.Keep();
  return status;
}

int MergeRegFile(const RegFile& file, std::vector<RegMessage>* messages) {
  RegMerger merger(messages);
  for (const RegOp& op : file.ops) merger.Apply(op);
  return merger.failures();
}

int ReplaceWithRegFile(const RegFile& file, std::vector<RegMessage>* messages) {
  // Every root is checked before the first is emptied: where the registry
  // has no transaction to roll back (Windows), a key found locked part-way
  // would leave the registry half deleted.
  for (LONG (*step)(HKEY) : {CheckKeyEmptiable, EmptyKey}) {
    for (const RootKey& root : StoredRootKeys()) {
      const LONG status = step(root.handle);
      // HKEY_DYN_DATA exists on the older emulated platform only.
      if (status != ERROR_SUCCESS && !(status == ERROR_INVALID_HANDLE && root.handle == HKEY_DYN_DATA)) {
        messages->push_back({0, "Unable to empty " + std::string(root.name) + " (status " +
                                    std::to_string(status) + ")", true});
        return 1;
      }
    }
  }
  return MergeRegFile(file, messages);
}

}  // namespace orvane::regedit
