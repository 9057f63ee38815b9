// Speed of a Windows hive file of 200,000 keys made by our save (200 keys
// of 1,000 keys, one string value each; "needle" in every 10,000th), each
// piece of work timed on the loaded hive (arg 1) beside the same work on
// our own store (arg 0) in one run:
// - LoadReadOne: load the hive and read one value of a deep key, then
//   unload (the store: select it afresh and read the same value);
// - Export: the whole tree as a registration file (as orvane-reg export);
// - Find: the control's Find of "needle" across it;
// - Save: RegSaveKeyA of the tree to a new hive file.
// Runs on a private temporary store.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "bench/search/search_walks.h"
#include "bench/support/bench_store.h"
#include "orvane/container.h"
#include "orvane/quorvel.h"
#include "platform/win32_registry.h"
#include "store/registry_store.h"
#include "tools/regedit/reg_export.h"

namespace orvane::bench {
namespace {

namespace fs = std::filesystem;

constexpr char kStoreKey[] = "HKEY_CURRENT_USER\\Software\\Bench";
constexpr char kHiveKey[] = "HKEY_LOCAL_MACHINE\\Bench";

// The store with the tree and the hive saved from it, made once per run.
struct Setup {
  Setup() {
    PutSearchTree(HKEY_CURRENT_USER, "Software\\Bench", 200, 1000, 1, 10000);
    platform::CommitRegistryWrites();
    store_file = platform::CurrentRegistryPath();
    hive = store_file.parent_path() / "bench.hiv";
    HKEY key = nullptr;
    RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Bench", 0, KEY_READ, &key);
    const auto start = std::chrono::steady_clock::now();
    if (RegSaveKeyA(key, hive.c_str(), nullptr) != 0) throw std::runtime_error("save failed");
    first_save_s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    RegCloseKey(key);
    if (RegLoadKeyA(HKEY_LOCAL_MACHINE, "Bench", hive.c_str()) != 0) throw std::runtime_error("load failed");
  }
  BenchStore store;
  fs::path store_file;
  fs::path hive;
  double first_save_s = 0;
};

Setup& Tree() {
  static Setup* setup = new Setup();
  return *setup;
}


LONG ReadOne(HKEY root, const char* path) {
  HKEY key = nullptr;
  LONG status = RegOpenKeyExA(root, path, 0, KEY_READ, &key);
  char data[64];
  DWORD size = sizeof data;
  if (status == 0) status = RegQueryValueExA(key, "v0", nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size);
  RegCloseKey(key);
  return status;
}

struct Control {
  NullContainer container;
  Quorvel control{container};
};

void BM_LoadReadOne(benchmark::State& state) {
  Setup& setup = Tree();
  const bool hive = state.range(0) == 1;
  RegUnLoadKeyA(HKEY_LOCAL_MACHINE, "Bench");
  for (auto _ : state) {
    if (hive) {
      RegLoadKeyA(HKEY_LOCAL_MACHINE, "Bench", setup.hive.c_str());
      if (ReadOne(HKEY_LOCAL_MACHINE, "Bench\\K150\\L777") != 0) state.SkipWithError("read failed");
      state.PauseTiming();
      RegUnLoadKeyA(HKEY_LOCAL_MACHINE, "Bench");
      state.ResumeTiming();
    } else {
      platform::SelectRegistryStore(setup.store_file);
      if (ReadOne(HKEY_CURRENT_USER, "Software\\Bench\\K150\\L777") != 0) state.SkipWithError("read failed");
    }
  }
  RegLoadKeyA(HKEY_LOCAL_MACHINE, "Bench", setup.hive.c_str());
}

void BM_Export(benchmark::State& state) {
  Tree();
  std::string text, error;
  for (auto _ : state) {
    text.clear();
    if (regedit::ExportRegistry(state.range(0) == 1 ? kHiveKey : kStoreKey, &text, &error) != 0) {
      state.SkipWithError("export failed");
    }
  }
  state.counters["bytes"] = static_cast<double>(text.size());
}

void BM_Find(benchmark::State& state) {
  Tree();
  Control bench;
  int64_t rows = 0;
  for (auto _ : state) {
    bench.control.GlobalKeyPath(state.range(0) == 1 ? kHiveKey : kStoreKey);
    std::string text = "needle";
    int32_t mode = 1;
    bool off = false, on = true;
    Variant reserved = Variant::Long(0);
    int32_t window = 0;
    const Variant result = bench.control.Find(text, mode, off, off, on, reserved, off, window);
    rows = result.is_array() ? result.array().bound(1).count() : 0;
  }
  if (rows != 20) state.SkipWithError("unexpected number of matches");
}

void BM_Save(benchmark::State& state) {
  Setup& setup = Tree();
  const fs::path file = setup.store_file.parent_path() / "saved.hiv";
  for (auto _ : state) {
    fs::remove(file);
    HKEY key = nullptr;
    if (state.range(0) == 1) RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Bench", 0, KEY_READ, &key);
    else RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Bench", 0, KEY_READ, &key);
    if (RegSaveKeyA(key, file.c_str(), nullptr) != 0) state.SkipWithError("save failed");
    RegCloseKey(key);
  }
  state.counters["hive_bytes"] = static_cast<double>(fs::file_size(setup.hive));
}

BENCHMARK(BM_LoadReadOne)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_Export)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_Find)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_Save)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
}  // namespace orvane::bench

BENCHMARK_MAIN();
