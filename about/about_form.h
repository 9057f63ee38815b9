// frmAbout: the product's About dialog. It holds the captions of its labels
// and buttons, fills the version and contact labels when loaded, centres
// itself, and runs its three buttons' actions. Owned by the About box; shown
// modally through the platform dialog service. One thread.
#pragma once

#include <cstdint>
#include <string>

#include "platform/dialogs.h"

namespace orvane {

// The component's version as the dialog shows it: "Version 1.6.1".
std::string VersionText(int major, int minor, int revision);

// One coordinate of a centred form: the screen extent minus the form's,
// rounded to a whole twip (half to even), halved with the remainder dropped.
int32_t CentredOffset(double screen_extent, double form_extent);

// The command line that opens the warranty disclaimer in the help viewer.
std::string WarrantyHelpCommandLine(const std::string& help_file);

// The program the registry editor button starts: "Quorvel.exe" where a
// program of that name is found, else this system's registry editor
// ("REGEDIT.EXE", the regedit program).
std::string SystemEditorProgram();

class FrmAbout {
 public:
  static constexpr const char* kCaption = "About Orvane";
  static constexpr const char* kTitle = "Orvane";
  static constexpr const char* kDescription = "The fastest and easiest way to manipulate your Registry !";
  static constexpr const char* kCredits = "Orvane by Verrilan, written for everyone who edits the registry";
  static constexpr const char* kCmdOKCaption = "OK";
  static constexpr const char* kCmdSysInfoCaption = "&Quorvel...";
  static constexpr const char* kCommand1Caption = "&Disclaimer...";
  // The form's extent in twips (its fixed design size).
  static constexpr double kWidth = 5730;
  static constexpr double kHeight = 3960;

  // Form_Load: the version label, the contact label, the centred position.
  void Load(const std::string& contact_address, double screen_width, double screen_height);

  // Shows the loaded form modally until cmdOK unloads it; it and the
  // message boxes its buttons open take the container's mode `mode`.
  void ShowModal(platform::DialogMode mode = platform::DialogMode::kAutomatic);

  // Button handlers; each returns true when the form unloads.
  bool cmdOK_Click();
  bool cmdSysInfo_Click();
  bool Command1_Click();

  const std::string& lblVersion() const { return version_label_; }
  const std::string& Label6() const { return contact_label_; }
  int32_t Top() const { return top_; }
  int32_t Left() const { return left_; }
  bool loaded() const { return loaded_; }

  // The dialog as the platform service shows it.
  platform::DialogContent Content() const;

 private:
  std::string version_label_;
  std::string contact_label_;
  int32_t top_ = 0;
  int32_t left_ = 0;
  bool loaded_ = false;
  platform::DialogMode mode_ = platform::DialogMode::kAutomatic;
};

}  // namespace orvane
