// frmAbout: loading, centring and the button actions.
#include "about/about_form.h"

#include <cmath>

#include "orvane/version.h"
#include "platform/process_start.h"

#ifndef ORVANE_HELP_FILE
#define ORVANE_HELP_FILE "Orvanex.hlp"
#endif

namespace orvane {
namespace {

// The topic of the warranty disclaimer inside the help file.
constexpr const char* kWarrantyTopic = "WarrantyDisclaimer";
// The program the registry editor button starts, by its Windows name.
constexpr const char* kSystemEditorName = "Quorvel.exe";
// The title of the message boxes: the project's name.
constexpr const char* kMessageTitle = "RegistryEditor";

}  // namespace

std::string VersionText(int major, int minor, int revision) {
  return "Version " + std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(revision);
}

int32_t CentredOffset(double screen_extent, double form_extent) {
  auto twips = static_cast<int32_t>(std::nearbyint(screen_extent - form_extent));  // half to even
  return twips / 2;  // the remainder dropped, toward zero
}

std::string WarrantyHelpCommandLine(const std::string& help_file) {
  return std::string("winhlp32.exe -I ") + kWarrantyTopic + " -W Main " + help_file;
}

void FrmAbout::Load(const std::string& contact_address, double screen_width, double screen_height) {
  version_label_ = VersionText(ORVANE_VERSION_MAJOR, ORVANE_VERSION_MINOR, ORVANE_VERSION_REVISION);
  contact_label_ = "<" + contact_address + ">";
  top_ = CentredOffset(screen_height, kHeight);
  left_ = CentredOffset(screen_width, kWidth);
  loaded_ = true;
}

platform::DialogContent FrmAbout::Content() const {
  return {kCaption,
          {kTitle, kDescription, version_label_, kCredits, contact_label_},
          {kCmdOKCaption, kCmdSysInfoCaption, kCommand1Caption},
          0};
}

void FrmAbout::ShowModal(platform::DialogMode mode) {
  mode_ = mode;
  platform::ShowModalDialog(
      Content(),
      [this](size_t button) {
        if (button == 1) return cmdSysInfo_Click();
        if (button == 2) return Command1_Click();
        return cmdOK_Click();
      },
      mode);
  loaded_ = false;
}

bool FrmAbout::cmdOK_Click() {
  loaded_ = false;
  return true;
}

std::string SystemEditorProgram() {
  // This system's registry editor is its regedit when no program of the
  // Windows name is installed.
  return platform::FindProgram(kSystemEditorName).empty() ? std::string("REGEDIT.EXE") : kSystemEditorName;
}

bool FrmAbout::cmdSysInfo_Click() {
  const std::string program = SystemEditorProgram();
  if (platform::StartOnDialogTerminal([&] { return platform::StartProgram(program); }) == 0) {
    platform::ShowMessageBox("Microsoft Quorvel is not available.", kMessageTitle, mode_);
  }
  return false;
}

bool FrmAbout::Command1_Click() {
  if (platform::StartProgram(WarrantyHelpCommandLine(ORVANE_HELP_FILE)) == 0) {
    platform::ShowMessageBox("Warranty Disclaimer is not available.", kMessageTitle, mode_);
  }
  return false;
}

}  // namespace orvane
