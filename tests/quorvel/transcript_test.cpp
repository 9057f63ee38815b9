// Each transcripts/NAME.qv runs through the built quorvel program on a fresh
// store; its standard output, standard error and exit status, as one text,
// must equal transcripts/NAME.out.
#include <gtest/gtest.h>

#include <algorithm>

#include "run_program.h"

namespace quorvel::testing {
namespace {

const std::filesystem::path kTranscripts = QUORVEL_TRANSCRIPTS;

std::vector<std::string> TranscriptNames() {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(kTranscripts)) {
    if (entry.path().extension() == ".qv") names.push_back(entry.path().stem().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

class TranscriptTest : public ::testing::TestWithParam<std::string> {};

TEST_P(TranscriptTest, MatchesExpectedOutput) {
  TempDir store;
  std::string script = GetParam() + ".qv";
  ProgramRun run = RunQuorvel({"--registry", (store.path() / "registry.db").string(), script}, kTranscripts);
  std::string expected = ReadFile(kTranscripts / (GetParam() + ".out"));
  ASSERT_FALSE(expected.empty()) << "missing " << GetParam() << ".out";
  EXPECT_EQ(Transcript(run), expected);
}

INSTANTIATE_TEST_SUITE_P(Quorvel, TranscriptTest, ::testing::ValuesIn(TranscriptNames()),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace quorvel::testing
