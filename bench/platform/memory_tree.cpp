// The workloads on an in-memory tree; see memory_tree.h. Each step does what
// the registry calls of store_workloads.cpp do, minus the store: a look-up
// per name, a copy of every name and datum read, a value found by name
// before it is set.
#include "memory_tree.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string_view>
#include <vector>

#include "store_workloads.h"

namespace bench {
namespace {

struct Value {
  std::string name;
  uint32_t type;
  std::string data;
};

struct Node {
  std::string name;
  std::map<std::string, std::unique_ptr<Node>> children;  // by upper-cased name
  std::vector<Value> values;
};

std::string Fold(std::string_view name) {
  std::string folded(name);
  for (char& c : folded) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return folded;
}

bool SameName(std::string_view a, std::string_view b) { return a.size() == b.size() && Fold(a) == Fold(b); }

Node& CreateChild(Node& parent, std::string_view name) {
  auto [it, inserted] = parent.children.try_emplace(Fold(name));
  if (inserted) {
    it->second = std::make_unique<Node>();
    it->second->name = name;
  }
  return *it->second;
}

// The key `path` (names separated by backslashes) below `from`, or nullptr.
Node* Find(Node& from, std::string_view path) {
  Node* node = &from;
  while (node != nullptr && !path.empty()) {
    const size_t end = path.find('\\');
    const auto it = node->children.find(Fold(path.substr(0, end)));
    node = it == node->children.end() ? nullptr : it->second.get();
    path = end == std::string_view::npos ? std::string_view() : path.substr(end + 1);
  }
  return node;
}

Node& Create(Node& from, std::string_view path) {
  Node* node = &from;
  while (!path.empty()) {
    const size_t end = path.find('\\');
    node = &CreateChild(*node, path.substr(0, end));
    path = end == std::string_view::npos ? std::string_view() : path.substr(end + 1);
  }
  return *node;
}

void SetValue(Node& node, std::string_view name, uint32_t type, std::string_view data) {
  for (Value& value : node.values) {
    if (SameName(value.name, name)) {
      value.type = type;
      value.data = data;
      return;
    }
  }
  node.values.push_back({std::string(name), type, std::string(data)});
}

void WriteFiveValues(Node& node, int number) {
  const std::string text = std::string("string value ").append(std::to_string(number));
  SetValue(node, "s", 1, std::string_view(text.c_str(), text.size() + 1));
  const std::string expand = std::string("%SystemRoot%\\file").append(std::to_string(number));
  SetValue(node, "e", 2, std::string_view(expand.c_str(), expand.size() + 1));
  SetValue(node, "b", 3, std::string_view("\x00\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0a\x0b\x0c\x0d\x0e\x0f", 16));
  const uint32_t dword = static_cast<uint32_t>(number);
  SetValue(node, "d", 4, std::string_view(reinterpret_cast<const char*>(&dword), 4));
  SetValue(node, "m", 7, std::string_view("one\0two\0three\0\0", 15));
}

// The tree of BuildTree: key j's children are keys fan_out*j+1 ... .
std::vector<std::string> BuildTree(Node& parent, const std::string& name, int keys, int fan_out) {
  Node& root = CreateChild(parent, name);
  WriteFiveValues(root, 0);
  std::vector<Node*> nodes{&root};
  std::vector<std::string> paths{""};
  for (int j = 0; fan_out * j + 1 < keys; ++j) {
    for (int c = 0; c < fan_out && fan_out * j + 1 + c < keys; ++c) {
      const std::string child = std::string("k").append(std::to_string(c));
      Node& created = CreateChild(*nodes[j], child);
      WriteFiveValues(created, static_cast<int>(paths.size()));
      nodes.push_back(&created);
      paths.push_back(paths[j].empty() ? child : paths[j] + "\\" + child);
    }
  }
  return paths;
}

struct MemoryData {
  Node root;
  Node* tree;
  Node* subtree;
  Node* wide;
  Node* scratch;
  std::vector<std::string> tree_paths;  // relative to tree
};

void Build(MemoryData& data) {
  data.tree_paths = BuildTree(data.root, "Tree", kTreeKeys, kFanOut);
  BuildTree(data.root, "Subtree", kSubtreeKeys, kFanOut);
  Node& wide = CreateChild(data.root, "Wide");
  char child[32];
  for (int i = 0; i < kWideKeys; ++i) {
    std::snprintf(child, sizeof child, "w%05d", i);
    CreateChild(wide, child);
  }
  data.tree = Find(data.root, "Tree");
  data.subtree = Find(data.root, "Subtree");
  data.wide = &wide;
  data.scratch = &CreateChild(data.root, "Scratch");
}

// What reading a value out hands to the caller: a copy of its bytes.
void ReadOut(const Value& value, std::string& buffer) {
  buffer.assign(value.data);
  benchmark::DoNotOptimize(buffer.data());
}

int64_t Walk(const Node& node, std::string& buffer) {
  for (const Value& value : node.values) ReadOut(value, buffer);
  int64_t visited = 1;
  for (const auto& [folded, child] : node.children) {
    buffer.assign(child->name);
    visited += Walk(*child, buffer);
  }
  return visited;
}

int64_t Copy(const Node& source, Node& target, std::string& buffer) {
  for (const Value& value : source.values) {
    ReadOut(value, buffer);
    SetValue(target, value.name, value.type, buffer);
  }
  int64_t copied = 1;
  for (const auto& [folded, child] : source.children) copied += Copy(*child, CreateChild(target, child->name), buffer);
  return copied;
}

// Deletes the sub-key `name` of `parent` deepest keys first, as DeleteTree does.
int64_t Delete(Node& parent, const std::string& name) {
  const auto it = parent.children.find(Fold(name));
  if (it == parent.children.end()) return 0;
  Node& node = *it->second;
  int64_t deleted = 1;
  while (!node.children.empty()) deleted += Delete(node, node.children.begin()->second->name);
  parent.children.erase(it);
  return deleted;
}

// Runs `step` until `seconds` have passed (at least once); its items per second.
template <class Step>
double Rate(double seconds, Step step) {
  using Clock = std::chrono::steady_clock;
  const auto start = Clock::now();
  int64_t items = 0;
  double elapsed = 0;
  do {
    items += step();
    elapsed = std::chrono::duration<double>(Clock::now() - start).count();
  } while (elapsed < seconds);
  return static_cast<double>(items) / elapsed;
}

// As Rate, for steps that need untimed work after them.
template <class Step, class After>
double RateWithCleanUp(double seconds, Step step, After after) {
  using Clock = std::chrono::steady_clock;
  int64_t items = 0;
  double elapsed = 0;
  do {
    const auto start = Clock::now();
    items += step();
    elapsed += std::chrono::duration<double>(Clock::now() - start).count();
    after();
  } while (elapsed < seconds);
  return static_cast<double>(items) / elapsed;
}

}  // namespace

std::map<std::string, double> MeasureMemoryRates(double seconds) {
  MemoryData data;
  Build(data);
  std::string buffer;
  std::map<std::string, double> rates;
  Sequence sequence(42);
  rates["open_query_close"] = Rate(seconds, [&]() -> int64_t {
    Node* key = Find(*data.tree, data.tree_paths[sequence.Next(static_cast<uint32_t>(data.tree_paths.size()))]);
    for (const Value& value : key->values) {
      if (SameName(value.name, "s")) ReadOut(value, buffer);
    }
    return 1;
  });
  int64_t created = 0;
  rates["create_key_set_value"] = Rate(seconds, [&]() -> int64_t {
    const int64_t n = created++;
    char path[48];
    std::snprintf(path, sizeof path, "g%lld\\n%lld", static_cast<long long>(n / 1000),
                  static_cast<long long>(n % 1000));
    SetValue(Create(*data.scratch, path), "s", 1, std::string_view("new value", 10));
    return 1;
  });
  rates["walk_tree"] = Rate(seconds, [&] { return Walk(*data.tree, buffer); });
  rates["copy_subtree"] = RateWithCleanUp(
      seconds, [&] { return Copy(*data.subtree, CreateChild(*data.scratch, "copy"), buffer); },
      [&] { Delete(*data.scratch, "copy"); });
  Copy(*data.subtree, CreateChild(*data.scratch, "copy"), buffer);
  rates["delete_subtree"] = RateWithCleanUp(
      seconds, [&] { return Delete(*data.scratch, "copy"); },
      [&] { Copy(*data.subtree, CreateChild(*data.scratch, "copy"), buffer); });
  rates["enumerate_subkeys"] = Rate(seconds, [&]() -> int64_t {
    int64_t count = 0;
    for (const auto& [folded, child] : data.wide->children) {
      buffer.assign(child->name);
      ++count;
    }
    return count;
  });
  return rates;
}

}  // namespace bench
