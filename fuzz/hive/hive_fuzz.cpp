// libFuzzer target for the hive loader: the bytes as a hive file, opened as
// a loaded hive is (HiveFile) and walked whole through the readers the
// registry functions use (sub-keys, names, values, string data). Any input
// must end in a HiveError or a walk that finishes: never a crash, a hang or
// a write to the file.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include <hivex.h>

#include "store/hive/hive_error.h"
#include "store/hive/hive_file.h"
#include "store/hive/hive_nodes.h"
#include "store/hive/hive_text.h"

namespace {

using orvane::platform::HiveError;
using orvane::platform::HiveFile;

// Deeper than the registry allows: the walk must end by itself before it.
constexpr int kDepthLimit = 600;

void Walk(hive_h* hive, size_t node, const std::filesystem::path& file, int depth, size_t* visited) {
  if (depth > kDepthLimit) std::abort();  // the readers let a key loop
  if (++*visited > 1'000'000) std::abort();
  for (const auto& value : orvane::platform::ReadHiveValues(hive, node, file)) {
    orvane::platform::RegistryDataFromHive(value.type, value.data);
  }
  for (const auto& child : orvane::platform::ReadHiveChildren(hive, node, file)) {
    Walk(hive, child.node, file, depth + 1, visited);
  }
}

std::string TemporaryFile() {
  const char* folder = std::getenv("TMPDIR");
  std::string path = std::string(folder != nullptr ? folder : "/tmp") + "/hive-fuzz-XXXXXX";
  const int fd = mkstemp(path.data());
  if (fd < 0) std::abort();
  close(fd);
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = TemporaryFile();
  FILE* out = std::fopen(path.c_str(), "wb");
  if (out == nullptr || std::fwrite(data, 1, size, out) != size || std::fclose(out) != 0) std::abort();
  try {
    const HiveFile hive(path, false);
    size_t visited = 0;
    Walk(hive.handle(), hivex_root(hive.handle()), path, 0, &visited);
  } catch (const HiveError&) {
    // A clear refusal is the expected end for most inputs.
  }
  return 0;
}
