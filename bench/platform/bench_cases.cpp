// Benchmark data and measured steps; see bench_cases.h.
#include "bench_cases.h"

#include <chrono>
#include <cstdio>

namespace bench {
namespace {

constexpr const char* kBenchPath = "Software\\OrvaneBench";

void Build(BenchData& data) {
  const auto start = std::chrono::steady_clock::now();
  DeleteTree(HKEY_CURRENT_USER, kBenchPath);  // a leftover of an interrupted run
  data.root = OpenKey(MustCreate(HKEY_CURRENT_USER, kBenchPath));
  const std::vector<std::string> relative = BuildTree(data.root.get(), "Tree", kTreeKeys, kFanOut);
  data.tree_paths.reserve(relative.size());
  for (const std::string& path : relative) {
    data.tree_paths.push_back(std::string(kBenchPath) + "\\Tree" + (path.empty() ? "" : "\\" + path));
  }
  BuildTree(data.root.get(), "Subtree", kSubtreeKeys, kFanOut);
  BuildWideKey(data.root.get(), "Wide", kWideKeys);
  data.tree = OpenKey(MustCreate(data.root.get(), "Tree"));
  data.subtree = OpenKey(MustCreate(data.root.get(), "Subtree"));
  data.wide = OpenKey(MustCreate(data.root.get(), "Wide"));
  data.scratch = OpenKey(MustCreate(data.root.get(), "Scratch"));
  data.build_seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

BenchData& Data() {
  static BenchData* data = [] {
    auto* built = new BenchData;  // lives for the whole run
    Build(*built);
    return built;
  }();
  return *data;
}

int64_t StepOpenQueryClose(BenchData& data, Sequence& sequence) {
  const auto& path = data.tree_paths[sequence.Next(static_cast<uint32_t>(data.tree_paths.size()))];
  OpenQueryClose(HKEY_CURRENT_USER, path);
  return 1;
}

int64_t StepCreateKeySetValue(BenchData& data) {
  // A thousand new keys per group, so no key gets an unusual number of children.
  const int64_t n = data.created++;
  char path[48];
  std::snprintf(path, sizeof path, "g%lld\\n%lld", static_cast<long long>(n / 1000), static_cast<long long>(n % 1000));
  CreateKeySetValue(data.scratch.get(), path);
  return 1;
}

int64_t StepWalk(BenchData& data) { return WalkTree(data.tree.get()); }

int64_t StepCopySubtree(BenchData& data, const std::string& copy_name) {
  OpenKey target(MustCreate(data.scratch.get(), copy_name));
  return CopyTree(data.subtree.get(), target.get());
}

int64_t StepDeleteCopy(BenchData& data, const std::string& copy_name) {
  return DeleteTree(data.scratch.get(), copy_name);
}

int64_t StepEnumerateWide(BenchData& data) { return EnumerateSubKeys(data.wide.get()); }

}  // namespace bench
