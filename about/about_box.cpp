// The About box and its one form per process.
#include "about/about_box.h"

#include <memory>

#include "about/about_form.h"

namespace orvane {
namespace {

// The screen as the form is centred on, in twips: 1024 by 768 pixels of
// 15 twips each.
constexpr double kScreenWidth = 15360;
constexpr double kScreenHeight = 11520;

std::string contact_address;
std::unique_ptr<FrmAbout> about_form;

platform::DialogMode ModeFor(DialogStyle style) {
  switch (style) {
    case DialogStyle::kInteractive:
      return platform::DialogMode::kTerminal;
    case DialogStyle::kBatch:
      return platform::DialogMode::kText;
    case DialogStyle::kSilent:
      return platform::DialogMode::kSilent;
    case DialogStyle::kUnspecified:
      break;
  }
  return platform::DialogMode::kAutomatic;
}

}  // namespace

void ShowAboutBox(DialogStyle style) {
  contact_address = kContactAddress;
  if (!about_form) about_form = std::make_unique<FrmAbout>();
  about_form->Load(contact_address, kScreenWidth, kScreenHeight);
  about_form->ShowModal(ModeFor(style));
}

const std::string& AboutContactAddress() { return contact_address; }

}  // namespace orvane
