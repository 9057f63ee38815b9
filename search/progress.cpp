#include "search/progress.h"

#include "platform/window_messages.h"

namespace orvane {

ProgressWindow::ProgressWindow(int32_t& handle) {
  if (handle == 0) handle = -1;
  handle_ = handle;
}

void ProgressWindow::Start(int32_t maximum) const {
  if (!present()) return;
  platform::SendWindowMessage(handle_, platform::kPbmSetRange32, 0, maximum);
  platform::SendWindowMessage(handle_, platform::kPbmSetPos, 0, 0);
}

void ProgressWindow::Step() const {
  if (present()) platform::SendWindowMessage(handle_, platform::kPbmDeltaPos, 1, 0);
}

void ProgressWindow::Finish() const {
  if (present()) platform::SendWindowMessage(handle_, platform::kPbmSetPos, 0, 0);
}

}  // namespace orvane
