// The benchmark data, built once per run below
// HKEY_CURRENT_USER\Software\OrvaneBench, and one measured step of each
// workload. Shared by the Google Benchmark program (our store) and the
// self-timed program built for Wine, so both measure the same calls.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "store_workloads.h"

namespace bench {

struct BenchData {
  OpenKey root;     // Software\OrvaneBench
  OpenKey tree;     // Tree: kTreeKeys keys
  OpenKey subtree;  // Subtree: kSubtreeKeys keys, the source of copies
  OpenKey wide;     // Wide: kWideKeys sub-keys
  OpenKey scratch;  // Scratch: new keys and copies go here
  std::vector<std::string> tree_paths;  // full paths below HKEY_CURRENT_USER
  double build_seconds = 0;
  int64_t created = 0;  // keys made by the create step so far
};

// Builds the data at the first call (timed into build_seconds).
BenchData& Data();

// Each step returns the number of items it handled: keys opened, created,
// visited, copied, deleted or enumerated.
int64_t StepOpenQueryClose(BenchData& data, Sequence& sequence);
int64_t StepCreateKeySetValue(BenchData& data);
int64_t StepWalk(BenchData& data);
int64_t StepCopySubtree(BenchData& data, const std::string& copy_name);
int64_t StepDeleteCopy(BenchData& data, const std::string& copy_name);
int64_t StepEnumerateWide(BenchData& data);

// Workload names, in the order both programs report them.
inline const char* const kWorkloads[] = {"open_query_close", "create_key_set_value", "walk_tree",
                                         "copy_subtree",     "delete_subtree",       "enumerate_subkeys"};

}  // namespace bench
