// The container a Quorvel control lives in: the script host, a form, or any
// C++ program that embeds the library. The control calls it; the container
// owns the control. Calls arrive on the container's one thread.
#pragma once

#include <cstdint>
#include <string_view>

namespace orvane {

// How the controls of a container show their dialogs (the About box and
// the message boxes it opens).
enum class DialogStyle {
  kUnspecified,  // the process decides: ORVANE_DIALOGS, else interactive only
                 // when standard input, output and error are all terminals
  kInteractive,  // drawn on the terminal and answered with the keyboard
  kBatch,        // the dialog's text on standard error; it closes at once as
                 // if its default button were chosen, so nothing waits
  kSilent,       // the batch form without the text
};

class Container {
 public:
  virtual ~Container() = default;

  // A property of the control changed and should be saved under `name`.
  virtual void PropertyChanged(std::string_view name) = 0;

  // The ambient user mode: true at run time, false in a form designer.
  virtual bool AmbientUserMode() const { return true; }

  // The control sets its own extent, in the container's size units; the
  // container shows it at that size from now on.
  virtual void SetExtent(int32_t /*width*/, int32_t /*height*/) {}

  // How the container's controls show their dialogs. An embedding program
  // that runs its controls without interactive dialogs answers kBatch or
  // kSilent; this choice comes before ORVANE_DIALOGS and the terminal check.
  virtual DialogStyle AmbientDialogStyle() const { return DialogStyle::kUnspecified; }
};

// A container that ignores notifications; for programs that need none.
class NullContainer : public Container {
 public:
  void PropertyChanged(std::string_view) override {}
};

}  // namespace orvane
