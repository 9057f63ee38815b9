// Which form a dialog takes: the container's choice first, then the
// process's (SetDialogMode or ORVANE_DIALOGS), then whether standard input,
// output and error are all terminals.
#include <gtest/gtest.h>

#include "control/control_fixture.h"
#include "orvane/dispatch.h"
#include "platform/dialogs.h"

namespace orvane {
namespace {

using platform::DialogMode;
using platform::ResolveDialogMode;
using ::testing::internal::CaptureStderr;
using ::testing::internal::GetCapturedStderr;

constexpr DialogMode kAllModes[] = {DialogMode::kAutomatic, DialogMode::kTerminal, DialogMode::kText,
                                    DialogMode::kSilent};

TEST(DialogMode, TheContainerComesFirstThenTheProcessThenTheTerminals) {
  for (const DialogMode process : kAllModes) {
    for (const bool terminals : {false, true}) {
      for (const DialogMode container : {DialogMode::kTerminal, DialogMode::kText, DialogMode::kSilent}) {
        EXPECT_EQ(ResolveDialogMode(container, process, terminals), container);
      }
      if (process != DialogMode::kAutomatic) {
        EXPECT_EQ(ResolveDialogMode(DialogMode::kAutomatic, process, terminals), process);
      }
    }
  }
  EXPECT_EQ(ResolveDialogMode(DialogMode::kAutomatic, DialogMode::kAutomatic, true), DialogMode::kTerminal);
  EXPECT_EQ(ResolveDialogMode(DialogMode::kAutomatic, DialogMode::kAutomatic, false), DialogMode::kText);
}

// A container that asks for one dialog style.
class StyledContainer : public RecordingContainer {
 public:
  explicit StyledContainer(DialogStyle style) : style_(style) {}
  DialogStyle AmbientDialogStyle() const override { return style_; }

 private:
  DialogStyle style_;
};

// What the control's About box writes on standard error in a container
// asking for `style`, with the process's mode `process`.
std::string AboutBoxText(DialogStyle style, DialogMode process) {
  platform::SetDialogMode(process);
  TempRegistry registry;
  StyledContainer container(style);
  Quorvel control(container);
  CaptureStderr();
  Invoke(control, *FindMember("AboutBox"), InvokeKind::kMethod, {});
  return GetCapturedStderr();
}

TEST(DialogMode, TheControlShowsItsDialogsAsItsContainerAsks) {
  EXPECT_EQ(AboutBoxText(DialogStyle::kSilent, DialogMode::kText), "");
  EXPECT_EQ(AboutBoxText(DialogStyle::kBatch, DialogMode::kSilent).rfind("[About Orvane]\n", 0), 0u);
  EXPECT_EQ(AboutBoxText(DialogStyle::kUnspecified, DialogMode::kSilent), "");
  EXPECT_EQ(AboutBoxText(DialogStyle::kUnspecified, DialogMode::kText).rfind("[About Orvane]\n", 0), 0u);
}

}  // namespace
}  // namespace orvane
