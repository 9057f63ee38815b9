// The About box: shows the process's one frmAbout modally, creating it on
// first use. Process-wide; one thread.
#pragma once

#include <string>

#include "orvane/container.h"

namespace orvane {

// The contact address the About box shows between "<" and ">".
inline constexpr const char* kContactAddress = "orvane@verrilan.example";

// Sets the contact address, creates frmAbout if needed, loads and shows it
// modally in the style the control's container asks for; returns when the
// dialog is closed.
void ShowAboutBox(DialogStyle style = DialogStyle::kUnspecified);

// The contact address the last ShowAboutBox set; empty before.
const std::string& AboutContactAddress();

}  // namespace orvane
