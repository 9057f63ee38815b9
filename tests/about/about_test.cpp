// The About box: its labels, its centring, its three buttons, and that
// without a terminal it writes its text to standard error and closes.
#include <gtest/gtest.h>

#include "about/about_box.h"
#include "about/about_form.h"
#ifndef _WIN32
#include "about/fake_program.h"
#endif
#include "control/control_fixture.h"
#include "orvane/dispatch.h"
#include "platform/dialogs.h"
#include "platform/process_start.h"

namespace orvane {
namespace {

using ::testing::internal::CaptureStderr;
using ::testing::internal::GetCapturedStderr;

class AboutBox : public ::testing::Test {
 protected:
  AboutBox() { platform::SetDialogMode(platform::DialogMode::kText); }
#ifndef _WIN32
  testing::FakePrograms programs_;  // an empty PATH unless a test adds one
#endif
};

TEST(AboutText, VersionReadsMajorMinorRevisionInPlainDecimal) {
  EXPECT_EQ(VersionText(1, 6, 1), "Version 1.6.1");
  EXPECT_EQ(VersionText(1, 0, 12), "Version 1.0.12");
  EXPECT_EQ(VersionText(10, 0, 0), "Version 10.0.0");
}

TEST(AboutText, CentringRoundsToWholeTwipsThenHalvesDroppingTheRemainder) {
  EXPECT_EQ(CentredOffset(11520, 3960), 3780);
  EXPECT_EQ(CentredOffset(1001, 0), 500);    // remainder dropped
  EXPECT_EQ(CentredOffset(1000.5, 0), 500);  // 1000.5 rounds to even 1000
  EXPECT_EQ(CentredOffset(1001.5, 0), 501);  // 1001.5 rounds to even 1002
  EXPECT_EQ(CentredOffset(1000.6, 0), 500);  // 1001 halved
  EXPECT_EQ(CentredOffset(100, 103), -1);    // -3 halved toward zero
}

TEST_F(AboutBox, LoadFillsVersionAndContactAndCentresTheForm) {
  FrmAbout form;
  form.Load("someone@example.org", 15360, 11520);
  EXPECT_EQ(form.lblVersion(), "Version 1.6.1");
  EXPECT_EQ(form.Label6(), "<someone@example.org>");
  EXPECT_EQ(form.Top(), CentredOffset(11520, FrmAbout::kHeight));
  EXPECT_EQ(form.Left(), CentredOffset(15360, FrmAbout::kWidth));
  platform::DialogContent content = form.Content();
  EXPECT_EQ(content.title, "About Orvane");
  ASSERT_EQ(content.buttons.size(), 3u);
  EXPECT_EQ(content.buttons[0], "OK");
  EXPECT_EQ(content.buttons[1], "&Quorvel...");
}

TEST_F(AboutBox, WithoutATerminalTheDialogIsWrittenAndClosesAtOnce) {
  CaptureStderr();
  ShowAboutBox();
  EXPECT_EQ(GetCapturedStderr(),
            "[About Orvane]\n"
            "  Orvane\n"
            "  The fastest and easiest way to manipulate your Registry !\n"
            "  Version 1.6.1\n"
            "  Orvane by Verrilan, written for everyone who edits the registry\n"
            "  <orvane@verrilan.example>\n"
            "  < OK > < Quorvel... > < Disclaimer... >\n");
  EXPECT_EQ(AboutContactAddress(), kContactAddress);
}

TEST_F(AboutBox, TheAboutBoxMemberIsReachableThroughDispatch) {
  TempRegistry registry;
  RecordingContainer container;
  Quorvel control(container);
  CaptureStderr();
  Invoke(control, *FindMember("AboutBox"), InvokeKind::kMethod, {});
  EXPECT_NE(GetCapturedStderr().find("[About Orvane]"), std::string::npos);
}

TEST_F(AboutBox, OkUnloadsTheForm) {
  FrmAbout form;
  form.Load(kContactAddress, 15360, 11520);
  EXPECT_TRUE(form.loaded());
  EXPECT_TRUE(form.cmdOK_Click());
  EXPECT_FALSE(form.loaded());
}

// The buttons that start programs. Their stand-ins are shell scripts, and
// a Windows system always has a regedit and a help viewer of its own, so
// these run on Linux only.
#ifndef _WIN32
TEST_F(AboutBox, MissingRegistryEditorShowsItsMessageAndTheDialogStaysOpen) {
  FrmAbout form;
  form.Load(kContactAddress, 15360, 11520);
  CaptureStderr();
  EXPECT_FALSE(form.cmdSysInfo_Click());
  EXPECT_EQ(GetCapturedStderr(), "[RegistryEditor]\n  Microsoft Quorvel is not available.\n  < OK >\n");
  EXPECT_TRUE(form.loaded());
}

TEST_F(AboutBox, MissingHelpViewerShowsTheDisclaimerMessage) {
  FrmAbout form;
  CaptureStderr();
  EXPECT_FALSE(form.Command1_Click());
  EXPECT_EQ(GetCapturedStderr(), "[RegistryEditor]\n  Warranty Disclaimer is not available.\n  < OK >\n");
}

TEST_F(AboutBox, HelpViewerOpensTheDisclaimerTopicInWindowMain) {
  EXPECT_EQ(WarrantyHelpCommandLine("/usr/share/orvane/Orvanex.hlp"),
            "winhlp32.exe -I WarrantyDisclaimer -W Main /usr/share/orvane/Orvanex.hlp");
  programs_.Add("winhlp32");
  uint32_t pid = platform::StartProgram(WarrantyHelpCommandLine("/opt/help/Orvanex.hlp"));
  ASSERT_NE(pid, 0u);
  EXPECT_EQ(programs_.ArgumentsOf("winhlp32", pid), "-I\nWarrantyDisclaimer\n-W\nMain\n/opt/help/Orvanex.hlp\n");
}

TEST_F(AboutBox, FoundRegistryEditorStartsWithoutAMessage) {
  programs_.Add("Quorvel.exe");
  FrmAbout form;
  CaptureStderr();
  EXPECT_FALSE(form.cmdSysInfo_Click());
  EXPECT_EQ(GetCapturedStderr(), "");
  int status = 0;
  EXPECT_GT(wait(&status), 0);  // the program was started
  EXPECT_TRUE(std::filesystem::exists(programs_.dir() / "Quorvel.exe.args"));
}

TEST_F(AboutBox, WithoutAProgramOfTheWindowsNameTheButtonStartsThisSystemsRegedit) {
  programs_.Add("orvane-regedit");
  EXPECT_EQ(SystemEditorProgram(), "REGEDIT.EXE");
  FrmAbout form;
  CaptureStderr();
  EXPECT_FALSE(form.cmdSysInfo_Click());
  EXPECT_EQ(GetCapturedStderr(), "");  // no "not available" message
  int status = 0;
  EXPECT_GT(wait(&status), 0);
  EXPECT_TRUE(std::filesystem::exists(programs_.dir() / "orvane-regedit.args"));
  programs_.Add("Quorvel.exe");
  EXPECT_EQ(SystemEditorProgram(), "Quorvel.exe");
}
#endif  // _WIN32

}  // namespace
}  // namespace orvane
