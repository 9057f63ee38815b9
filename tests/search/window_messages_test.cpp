// The host's progress-bar windows: what each message does to the bar and
// how it is logged, and messages to a handle that names no window.
#include <gtest/gtest.h>

#include "platform/window_messages.h"

namespace orvane::platform {
namespace {

TEST(ProgressBarWindow, PositionMessagesReturnThePreviousPositionWithinTheRange) {
  const int32_t window = CreateProgressBarWindow();
  EXPECT_NE(window, 0);
  EXPECT_NE(window, -1);
  EXPECT_NE(CreateProgressBarWindow(), window);
  EXPECT_EQ(SendWindowMessage(window, kPbmSetRange32, 0, 2), 0);
  EXPECT_EQ(SendWindowMessage(window, kPbmDeltaPos, 1, 0), 0);
  EXPECT_EQ(SendWindowMessage(window, kPbmDeltaPos, 5, 0), 1);
  EXPECT_EQ(SendWindowMessage(window, kPbmSetPos, 0, 0), 2);  // the step past the end stopped at 2
  EXPECT_EQ(SendWindowMessage(window, 0x401, 7, 9), 0);
  EXPECT_EQ(ProgressBarLog(window), "SETRANGE32 0 2; DELTAPOS 1; DELTAPOS 5; SETPOS 0; MSG 0x401 7 9");
}

TEST(ProgressBarWindow, HandleThatNamesNoWindowIsIgnored) {
  EXPECT_EQ(SendWindowMessage(-1, kPbmDeltaPos, 1, 0), 0);
  EXPECT_EQ(SendWindowMessage(12345, kPbmSetRange32, 0, 9), 0);
  EXPECT_EQ(ProgressBarLog(12345), "");
}

}  // namespace
}  // namespace orvane::platform
