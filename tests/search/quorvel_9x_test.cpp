// Find and Replace end to end on the older platform: each
// transcripts_9x/NAME.qv runs through `quorvel --platform 9x` on a fresh
// store; its output, standard error and exit status must equal NAME.out.
#include <gtest/gtest.h>

#include "quorvel/transcript_check.h"

namespace quorvel::testing {
namespace {

const std::filesystem::path kTranscripts = SEARCH_9X_TRANSCRIPTS;

class OlderPlatformTranscript : public ::testing::TestWithParam<std::string> {};

TEST_P(OlderPlatformTranscript, MatchesExpectedOutput) {
  ExpectTranscriptMatches(kTranscripts, GetParam(), {"--platform", "9x"});
}

INSTANTIATE_TEST_SUITE_P(Search, OlderPlatformTranscript, ::testing::ValuesIn(TranscriptNames(kTranscripts)),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace quorvel::testing
