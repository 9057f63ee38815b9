// Subtree primitives: QueryKeyInfo, WalkKeyTree, DeleteKeyTree, CopyKeyTree.
// Every walk keeps an explicit stack of open keys, so the depth of a
// tree never reaches the call stack.
#include "keyops/subtree.h"

#include <vector>

#include "registry/key_enum.h"
#include "registry/scoped_key.h"

namespace orvane {
namespace {

// The class buffer handed to the key query; the class itself is not used.
constexpr DWORD kClassBufferChars = 1024;

// One level of a walk: an open key, its sub-key names read when it was
// entered, and the next of them to take.
struct Level {
  ScopedKey key;
  std::vector<std::string> children;
  size_t next = 0;
  size_t path_length = 0;  // the length of the walk's path at this key
};

LONG CopyValues(HKEY source, HKEY destination) {
  ValueEnumerator values(source);
  EnumeratedValue value;
  for (DWORD index = 0;; ++index) {
    const LONG status = values.Read(index, &value);
    if (status == ERROR_NO_MORE_ITEMS) return ERROR_SUCCESS;
    if (status != ERROR_SUCCESS) return status;
    const LONG written = RegSetValueExA(destination, value.name.c_str(), 0, value.type,
                                        reinterpret_cast<const BYTE*>(value.data.data()),
                                        static_cast<DWORD>(value.data.size()));
    if (written != ERROR_SUCCESS) return written;
  }
}

void AppendChild(std::string& path, const std::string& name) {
  if (!path.empty()) path += '\\';
  path += name;
}

}  // namespace

KeyInfo QueryKeyInfo(HKEY key) {
  std::string class_buffer(kClassBufferChars, ' ');
  DWORD class_length = kClassBufferChars;
  DWORD sub_keys = 0, values = 0, security = 0;
  FILETIME written{};
  // Only the counts: the longest lengths would cost a walk of the key on Windows.
  const LONG status = RegQueryInfoKeyA(key, class_buffer.data(), &class_length, nullptr, &sub_keys, nullptr, nullptr,
                                       &values, nullptr, nullptr, &security, &written);
  if (status != ERROR_SUCCESS) return KeyInfo{};
  return KeyInfo{static_cast<int32_t>(values), static_cast<int32_t>(sub_keys)};
}

Variant KeyInfoArray(const KeyInfo& info) {
  SafeArray counts(VarType::kLong, {ArrayBound{0, 1}});
  counts.set(0, Variant::Long(info.values));
  counts.set(1, Variant::Long(info.sub_keys));
  return Variant::Array(std::move(counts));
}

std::string ChildPath(const std::string& parent, const std::string& name) {
  return parent.empty() ? name : parent + '\\' + name;
}

LONG WalkKeyTree(HKEY root, const std::string& path, const TreeVisitor& visitor) {
  std::string current = path;
  std::vector<Level> stack(1);
  if (LONG status = stack.back().key.Open(root, path)) return status;
  // Enters the key on top of the stack: visits it, then lists its sub-keys.
  auto enter = [&]() -> LONG {
    Level& level = stack.back();
    level.path_length = current.size();
    if (LONG status = visitor.visit(level.key.get(), current, stack.size() - 1)) return status;
    return ReadSubKeyNames(level.key.get(), &level.children);
  };
  if (LONG status = enter()) return status;
  while (!stack.empty()) {
    Level& level = stack.back();
    if (level.next == level.children.size()) {
      stack.pop_back();
      if (!stack.empty()) current.resize(stack.back().path_length);
      continue;
    }
    const std::string& name = level.children[level.next++];
    ScopedKey child;
    const LONG opened = child.Open(level.key.get(), name);
    AppendChild(current, name);
    if (opened != ERROR_SUCCESS) {
      const size_t depth = stack.size();
      if (LONG status = visitor.open_failed ? visitor.open_failed(current, depth, opened) : opened) return status;
      current.resize(level.path_length);
      continue;
    }
    stack.emplace_back().key = std::move(child);
    if (LONG status = enter()) return status;
  }
  return ERROR_SUCCESS;
}

void DeleteKeyTree(HKEY root, const std::string& path) {
  std::vector<Level> stack(1);
  if (stack.back().key.Open(root, path) != ERROR_SUCCESS) return;
  // All names first: each deletion would shift the enumeration indexes.
  ReadSubKeyNames(stack.back().key.get(), &stack.back().children);
  while (!stack.empty()) {
    Level& level = stack.back();
    if (level.next == level.children.size()) {
      stack.pop_back();
      // The parent's sub-key just emptied: delete it from the parent.
      if (!stack.empty()) {
        Level& parent = stack.back();
        RegDeleteKeyA(parent.key.get(), parent.children[parent.next - 1].c_str());
      }
      continue;
    }
    const std::string& name = level.children[level.next++];
    ScopedKey child;
    if (child.Open(level.key.get(), name) != ERROR_SUCCESS) continue;
    Level& entered = stack.emplace_back();
    entered.key = std::move(child);
    ReadSubKeyNames(entered.key.get(), &entered.children);
  }
}

namespace {

// One level of a copy: the source level and the key it is copied to.
struct CopyLevel {
  Level source;
  ScopedKey destination;
};

// Lists the sub-keys of the source (first, so that a destination inside
// the source is never listed), creates the destination `name` under
// `parent` and copies the values. The level's source key is already open.
LONG EnterCopy(CopyLevel& level, HKEY parent, const std::string& name, bool include_sub_keys) {
  if (include_sub_keys) {
    if (LONG status = ReadSubKeyNames(level.source.key.get(), &level.source.children)) return status;
  }
  if (LONG status = level.destination.Create(parent, name)) return status;
  return CopyValues(level.source.key.get(), level.destination.get());
}

}  // namespace

LONG CopyKeyTree(HKEY source_root, const std::string& source_path, HKEY destination_root,
                 const std::string& destination_path, bool include_sub_keys) {
  std::vector<CopyLevel> stack(1);
  const LONG open_status = stack.back().source.key.Open(source_root, source_path);
  if (open_status != ERROR_SUCCESS) {
    // The destination is still created, as the caller may rely on it.
    ScopedKey destination;
    if (LONG created = destination.Create(destination_root, destination_path)) return created;
    return open_status;
  }
  if (LONG status = EnterCopy(stack.back(), destination_root, destination_path, include_sub_keys)) return status;
  while (!stack.empty()) {
    Level& level = stack.back().source;
    if (level.next == level.children.size()) {
      stack.pop_back();
      continue;
    }
    const std::string name = level.children[level.next++];  // a copy: the stack may grow
    ScopedKey child;
    if (LONG status = child.Open(level.key.get(), name)) {
      ScopedKey created;  // as above: the destination exists even so
      if (LONG failed = created.Create(stack.back().destination.get(), name)) return failed;
      return status;
    }
    const HKEY parent = stack.back().destination.get();
    CopyLevel& entered = stack.emplace_back();
    entered.source.key = std::move(child);
    if (LONG status = EnterCopy(entered, parent, name, include_sub_keys)) return status;
  }
  return ERROR_SUCCESS;
}

}  // namespace orvane
