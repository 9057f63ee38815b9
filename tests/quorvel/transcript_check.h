// Transcript tests shared by every folder of NAME.qv / NAME.out pairs: the
// sorted script names of a folder, and one run of the quorvel program on a
// fresh store whose transcript must equal NAME.out.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "run_program.h"

namespace quorvel::testing {

// The stems of every .qv script in `folder`, sorted.
inline std::vector<std::string> TranscriptNames(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.path().extension() == ".qv") names.push_back(entry.path().stem().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// Runs `folder`/NAME.qv with `options` before the script, in `folder`, on
// a fresh store; expects its transcript to equal `folder`/NAME.out.
inline void ExpectTranscriptMatches(const std::filesystem::path& folder, const std::string& name,
                                    const std::vector<std::string>& options = {}) {
  TempDir store;
  std::vector<std::string> args{"--registry", (store.path() / "registry.db").string()};
  args.insert(args.end(), options.begin(), options.end());
  args.push_back(name + ".qv");
  ProgramRun run = RunQuorvel(args, folder);
  const std::string expected = ReadFile(folder / (name + ".out"));
  ASSERT_FALSE(expected.empty()) << "missing " << name << ".out";
  EXPECT_EQ(Transcript(run), expected);
}

}  // namespace quorvel::testing
