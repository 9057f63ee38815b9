// The host's progress-bar windows: what each message does to the bar and
// how it is logged, and messages to a handle that names no window.
#include <gtest/gtest.h>

#include <string>

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

TEST(ProgressBarWindow, AnObserverSeesEveryPositionInsteadOfTheTerminalDrawing) {
  const int32_t window = CreateProgressBarWindow();
  std::string seen;
  SetProgressObserver(window, [&](int64_t position, int64_t minimum, int64_t maximum) {
    seen += std::to_string(position) + "/" + std::to_string(minimum) + ".." + std::to_string(maximum) + " ";
  });
  ::testing::internal::CaptureStderr();
  SendWindowMessage(window, kPbmSetRange32, 0, 4);
  SendWindowMessage(window, kPbmDeltaPos, 1, 0);
  SendWindowMessage(window, kPbmSetPos, 9, 0);
  SendWindowMessage(window, 0x401, 7, 9);  // not a progress message: not reported
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(seen, "0/0..4 1/0..4 4/0..4 ");
  SetProgressObserver(window, nullptr);
  SendWindowMessage(window, kPbmDeltaPos, -1, 0);
  EXPECT_EQ(seen, "0/0..4 1/0..4 4/0..4 ");
  SetProgressObserver(12345, [&](int64_t, int64_t, int64_t) { seen += "wrong"; });  // no such window
  EXPECT_EQ(ProgressBarLog(window), "SETRANGE32 0 4; DELTAPOS 1; SETPOS 9; MSG 0x401 7 9; DELTAPOS -1");
}

TEST(ProgressBarWindow, HandleThatNamesNoWindowIsIgnored) {
  EXPECT_EQ(SendWindowMessage(-1, kPbmDeltaPos, 1, 0), 0);
  EXPECT_EQ(SendWindowMessage(12345, kPbmSetRange32, 0, 9), 0);
  EXPECT_EQ(ProgressBarLog(12345), "");
}

}  // namespace
}  // namespace orvane::platform
