// Each transcripts/NAME.qv runs through the built quorvel program on a fresh
// store; its standard output, standard error and exit status, as one text,
// must equal transcripts/NAME.out.
#include <gtest/gtest.h>

#include "transcript_check.h"

namespace quorvel::testing {
namespace {

const std::filesystem::path kTranscripts = QUORVEL_TRANSCRIPTS;

class TranscriptTest : public ::testing::TestWithParam<std::string> {};

TEST_P(TranscriptTest, MatchesExpectedOutput) { ExpectTranscriptMatches(kTranscripts, GetParam()); }

INSTANTIATE_TEST_SUITE_P(Quorvel, TranscriptTest, ::testing::ValuesIn(TranscriptNames(kTranscripts)),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace quorvel::testing
