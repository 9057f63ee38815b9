#include "store/hive/hive_nodes.h"

#include <hivex.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "store/hive/hive_error.h"
#include "store/hive/hive_file.h"

namespace orvane::platform {
namespace {

struct FreeDeleter {
  void operator()(void* pointer) const { std::free(pointer); }
};
template <typename T>
using Malloced = std::unique_ptr<T, FreeDeleter>;

[[noreturn]] void Damaged(const std::filesystem::path& file, const char* what) {
  const int error = errno;
  if (error == ENOMEM) throw HiveError(ERROR_OUTOFMEMORY, "hive file " + file.string() + ": out of memory");
  throw HiveError(ERROR_BADDB, "hive file " + file.string() + ": " + what + " (" + std::strerror(error) + ")");
}

static_assert(sizeof(hive_type) == sizeof(uint32_t));

}  // namespace

bool ReadHiveName(hive_h* hive, size_t node, std::string* name) {
  const Malloced<char> text(hivex_node_name(hive, node));
  if (!text) return false;
  *name = text.get();
  return true;
}

std::vector<HiveChild> ReadHiveChildren(hive_h* hive, size_t node, const std::filesystem::path& file) {
  const Malloced<hive_node_h> list(hivex_node_children(hive, node));
  if (!list) Damaged(file, "damaged list of sub-keys");
  const size_t root = hivex_root(hive);
  std::vector<HiveChild> children;
  for (const hive_node_h* at = list.get(); *at != 0; ++at) {
    if (*at == root || hivex_node_parent(hive, *at) != node) continue;
    HiveChild child{*at, {}};
    if (!ReadHiveName(hive, *at, &child.name)) Damaged(file, "damaged key");
    children.push_back(std::move(child));
  }
  std::sort(children.begin(), children.end(), [](const HiveChild& a, const HiveChild& b) { return a.node < b.node; });
  children.erase(std::unique(children.begin(), children.end(),
                             [](const HiveChild& a, const HiveChild& b) { return a.node == b.node; }),
                 children.end());
  return children;
}

std::vector<ValueRecord> ReadHiveValues(hive_h* hive, size_t node, const std::filesystem::path& file) {
  const Malloced<hive_value_h> list(hivex_node_values(hive, node));
  if (!list) Damaged(file, "damaged list of values");
  std::vector<ValueRecord> values;
  for (const hive_value_h* at = list.get(); *at != 0; ++at) {
    const Malloced<char> name(hivex_value_key(hive, *at));
    if (!name) Damaged(file, "damaged value name");
    hive_type type{};
    size_t length = 0;
    const Malloced<char> data(hivex_value_value(hive, *at, &type, &length));
    if (!data) Damaged(file, "damaged value data");
    uint32_t type_number = 0;
    std::memcpy(&type_number, &type, sizeof type_number);
    values.push_back({name.get(), type_number, std::string(data.get(), length), static_cast<int64_t>(values.size() + 1)});
  }
  return values;
}

void WriteHiveValues(hive_h* hive, size_t node, const std::vector<ValueRecord>& values,
                     const std::filesystem::path& file) {
  std::vector<hive_set_value> set(values.size());
  for (size_t i = 0; i < values.size(); ++i) {
    set[i].key = const_cast<char*>(values[i].name.c_str());
    std::memcpy(&set[i].t, &values[i].type, sizeof set[i].t);
    set[i].len = values[i].data.size();
    set[i].value = const_cast<char*>(values[i].data.data());
  }
  if (hivex_node_set_values(hive, node, set.size(), set.data(), 0) != 0) {
    const int error = errno;
    throw HiveError(FileErrorStatus(error, true), "hive file " + file.string() + ": cannot write values (" +
                                                      std::strerror(error) + ")");
  }
}

size_t AddHiveChild(hive_h* hive, size_t node, const std::string& name, const std::filesystem::path& file) {
  const size_t child = hivex_node_add_child(hive, node, name.c_str());
  if (child == 0) {
    const int error = errno;
    throw HiveError(error == ENOMEM ? ERROR_OUTOFMEMORY : ERROR_CANTWRITE,
                    "hive file " + file.string() + ": cannot add the key \"" + name + "\" (" + std::strerror(error) + ")");
  }
  return child;
}

}  // namespace orvane::platform
