// The simple (one-to-one) uppercase mapping of the Basic Multilingual
// Plane as runs: code points first, first + stride, ... up to last map to
// themselves plus delta. Sorted by first; runs do not overlap. Generated.
#pragma once

#include <cstddef>
#include <cstdint>

namespace orvane::platform {

struct UpperCaseRun {
  uint16_t first;
  uint16_t last;
  int32_t delta;
  uint16_t stride;
};

extern const UpperCaseRun kUpperCaseRuns[];
extern const size_t kUpperCaseRunCount;

}  // namespace orvane::platform
