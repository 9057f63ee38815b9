// The ceiling a registry store can approach: the six workloads of
// bench_cases.h, with the same data shapes and the same sequence of steps,
// on a plain in-memory tree of std::maps (names compared ignoring ASCII
// letter case, values in creation order), with no handles, transactions,
// locks or durability.
#pragma once

#include <map>
#include <string>

namespace bench {

// Builds the in-memory data, times each workload for about `seconds` and
// returns its items per second by workload name (the names of kWorkloads).
std::map<std::string, double> MeasureMemoryRates(double seconds);

}  // namespace bench
