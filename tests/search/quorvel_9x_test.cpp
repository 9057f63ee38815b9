// Find and Replace end to end on the older platform: each
// transcripts_9x/NAME.qv runs through `quorvel --platform 9x` on a fresh
// store; its output, standard error and exit status must equal NAME.out.
#include <gtest/gtest.h>

#include <algorithm>

#include "quorvel/run_program.h"

namespace quorvel::testing {
namespace {

const std::filesystem::path kTranscripts = SEARCH_9X_TRANSCRIPTS;

std::vector<std::string> TranscriptNames() {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(kTranscripts)) {
    if (entry.path().extension() == ".qv") names.push_back(entry.path().stem().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

class OlderPlatformTranscript : public ::testing::TestWithParam<std::string> {};

TEST_P(OlderPlatformTranscript, MatchesExpectedOutput) {
  TempDir store;
  const std::string script = GetParam() + ".qv";
  ProgramRun run = RunQuorvel({"--registry", (store.path() / "registry.db").string(), "--platform", "9x", script},
                              kTranscripts);
  const std::string expected = ReadFile(kTranscripts / (GetParam() + ".out"));
  ASSERT_FALSE(expected.empty()) << "missing " << GetParam() << ".out";
  EXPECT_EQ(Transcript(run), expected);
}

INSTANTIATE_TEST_SUITE_P(Search, OlderPlatformTranscript, ::testing::ValuesIn(TranscriptNames()),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace quorvel::testing
