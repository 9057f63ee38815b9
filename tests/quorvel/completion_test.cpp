// The words Tab completes at the prompt, taken from the control's dispatch
// table, its enumeration constants and the host's own tables.
#include <gtest/gtest.h>

#include "completion.h"
#include "orvane/dispatch.h"

namespace quorvel {
namespace {

using Words = std::vector<std::string>;

TEST(Completion, MembersConstantsFunctionsAndKeywordsInAnyCase) {
  EXPECT_EQ(CompletionsOf("getv"), Words{"GetValue"});
  EXPECT_EQ(CompletionsOf("hkey_cu"), (Words{"HKEY_CURRENT_CONFIG", "HKEY_CURRENT_USER"}));
  EXPECT_EQ(CompletionsOf("CSt"), Words{"CStr"});
  EXPECT_EQ(CompletionsOf("progress"), (Words{"ProgressBar", "ProgressLog"}));
  EXPECT_EQ(CompletionsOf("PRI"), Words{"Print"});
  EXPECT_EQ(CompletionsOf("wid"), Words{"Width"});
  EXPECT_EQ(CompletionsOf("zzz"), Words{});
}

TEST(Completion, EveryMemberAndConstantOfTheTypeLibraryCompletes) {
  for (const orvane::MemberInfo& member : orvane::QuorvelMembers()) {
    const Words words = CompletionsOf(member.name);
    EXPECT_NE(std::find(words.begin(), words.end(), member.name), words.end()) << member.name;
  }
  for (const orvane::EnumConstant& constant : orvane::QuorvelEnumConstants()) {
    const Words words = CompletionsOf(constant.name);
    EXPECT_NE(std::find(words.begin(), words.end(), constant.name), words.end()) << constant.name;
  }
}

TEST(Completion, ControlNamesCompleteAndEachWordComesOnce) {
  EXPECT_EQ(CompletionsOf("quorvel", {"Quorvel1", "Quorvel2"}), (Words{"Quorvel1", "Quorvel2"}));
  EXPECT_EQ(CompletionsOf("pri", {"PRINT"}), Words{"Print"});  // the same word twice comes once
  const Words all = CompletionsOf("");
  EXPECT_TRUE(std::is_sorted(all.begin(), all.end(), [](const std::string& a, const std::string& b) {
    return strcasecmp(a.c_str(), b.c_str()) < 0;
  }));
  EXPECT_EQ(std::adjacent_find(all.begin(), all.end(),
                               [](const std::string& a, const std::string& b) {
                                 return strcasecmp(a.c_str(), b.c_str()) == 0;
                               }),
            all.end());
}

}  // namespace
}  // namespace quorvel
