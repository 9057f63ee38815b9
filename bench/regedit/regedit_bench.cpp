// Speed of the regedit program: import (regedit /S) and export (regedit /E)
// of a tree of about 100,000 keys, in keys per second and MB per second of
// the file, each as a whole program run. Where Wine is installed, Wine's
// regedit does the same on the same file in the same run, pinned to one core
// (taskset -c 0) in a private prefix, and the ratio ours / Wine's is shown.
// Runs on a private store in a temporary directory.
// Usage: regedit_bench [--keys N] [--no-wine]
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "store/registry_store.h"
#include "tests/support/program_output.h"
#include "tools/regedit/reg_writer.h"

namespace {

namespace fs = std::filesystem;
using orvane::testing::OnPath;
using orvane::testing::RunQuietly;
using orvane::testing::WinePath;

constexpr char kTreeKey[] = "HKEY_CURRENT_USER\\Software\\OrvaneBench";
constexpr int kKeysPerGroup = 1000;
constexpr double kTargetRatio = 5.0;

struct Generated {
  std::string text;
  long sections = 0;
};

// The tree as a REGEDIT4 file: groups of 1,000 keys, each key with a
// string and a dword, every tenth with 64 bytes of binary data.
Generated GenerateTree(long keys) {
  Generated out;
  orvane::regedit::RegWriter writer(&out.text);
  writer.WriteHeader();
  writer.WriteKeyHeader(kTreeKey);
  const std::string blob(64, '\x5a');
  char name[64];
  for (long group = 0; group * kKeysPerGroup < keys; ++group) {
    std::snprintf(name, sizeof(name), "%s\\G%03ld", kTreeKey, group);
    const std::string group_path = name;
    writer.WriteKeyHeader(group_path);
    ++out.sections;
    for (long i = group * kKeysPerGroup; i < keys && i < (group + 1) * kKeysPerGroup; ++i) {
      std::snprintf(name, sizeof(name), "\\K%06ld", i);
      writer.WriteKeyHeader(group_path + name);
      const std::string text = "value number " + std::to_string(i) + '\0';
      const uint32_t number = static_cast<uint32_t>(i);
      writer.WriteValue("name", REG_SZ, text);
      writer.WriteValue("number", REG_DWORD, std::string(reinterpret_cast<const char*>(&number), 4));
      if (i % 10 == 0) writer.WriteValue("blob", REG_BINARY, blob);
      ++out.sections;
    }
  }
  writer.WriteEnd();
  ++out.sections;
  return out;
}

// Runs `args` with its output discarded; seconds taken, or -1 on failure.
double TimedRun(const std::vector<std::string>& args) {
  const auto start = std::chrono::steady_clock::now();
  const int exit_code = RunQuietly(args);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return exit_code == 0 ? seconds : -1;
}

struct Measure {
  double import_s = -1, export_s = -1;
  double export_bytes = 0;
};

void PrintRow(const char* what, long sections, double bytes, double ours, double wine) {
  std::printf("%-8s ours %9.0f keys/s %7.2f MB/s", what, sections / ours, bytes / ours / 1e6);
  if (wine > 0) {
    std::printf(" | wine %9.0f keys/s | ratio %5.1fx (target %.0fx: %s)", sections / wine, wine / ours,
                kTargetRatio, wine / ours >= kTargetRatio ? "met" : "NOT met");
  }
  std::printf("\n");
}

Measure MeasureOurs(const fs::path& dir, const fs::path& input) {
  Measure m;
  m.import_s = TimedRun({ORVANE_REGEDIT_PROGRAM, "/S", input.string()});
  m.export_s = TimedRun({ORVANE_REGEDIT_PROGRAM, "/S", "/E", (dir / "ours.reg").string(), kTreeKey});
  m.export_bytes = static_cast<double>(fs::file_size(dir / "ours.reg"));
  return m;
}

Measure MeasureWine(const fs::path& dir, const fs::path& input) {
  setenv("WINEPREFIX", (dir / "wineprefix").c_str(), 1);
  setenv("WINEDEBUG", "-all", 1);
  Measure m;
  std::ofstream(dir / "empty.reg") << "REGEDIT4\r\n";
  TimedRun({"taskset", "-c", "0", "wine", "regedit", "/S", WinePath(dir / "empty.reg")});  // creates the prefix
  m.import_s = TimedRun({"taskset", "-c", "0", "wine", "regedit", "/S", WinePath(input)});
  m.export_s = TimedRun({"taskset", "-c", "0", "wine", "regedit", "/E", WinePath(dir / "wine.reg"), kTreeKey});
  if (fs::exists(dir / "wine.reg")) m.export_bytes = static_cast<double>(fs::file_size(dir / "wine.reg"));
  TimedRun({"wineserver", "-k"});
  return m;
}

}  // namespace

int main(int argc, char** argv) {
  long keys = 100000;
  bool wine = true;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--keys") == 0 && i + 1 < argc) keys = std::atol(argv[++i]);
    if (std::strcmp(argv[i], "--no-wine") == 0) wine = false;
  }
  std::string pattern = (fs::temp_directory_path() / "orvane-regedit-bench-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) return 1;
  const fs::path dir = pattern;
  if (orvane::platform::SelectRegistryStore(dir / "registry.db") != 0) return 1;
  const Generated tree = GenerateTree(keys);
  std::ofstream(dir / "input.reg", std::ios::binary) << tree.text;
  const double input_bytes = static_cast<double>(tree.text.size());
  std::printf("tree: %ld keys, REGEDIT4 file %.1f MB\n", tree.sections, input_bytes / 1e6);

  const Measure ours = MeasureOurs(dir, dir / "input.reg");
  std::ifstream exported(dir / "ours.reg", std::ios::binary);
  const std::string exported_text((std::istreambuf_iterator<char>(exported)), std::istreambuf_iterator<char>());
  std::printf("our export of the imported tree is %s the input file\n",
              exported_text == tree.text ? "identical to" : "DIFFERENT from");
  Measure theirs;
  if (wine && OnPath("wine") && OnPath("taskset")) theirs = MeasureWine(dir, dir / "input.reg");
  else std::printf("Wine is not measured (missing or --no-wine)\n");
  if (ours.import_s <= 0 || ours.export_s <= 0) {
    std::printf("our regedit failed\n");
    return 1;
  }
  PrintRow("import", tree.sections, input_bytes, ours.import_s, theirs.import_s);
  PrintRow("export", tree.sections, ours.export_bytes, ours.export_s, theirs.export_s);
  std::error_code ignored;
  fs::remove_all(dir, ignored);
  return 0;
}
