// The host progress bar that search and replace move: a window handle, or
// none (-1). Messages go only to a real window; their results are ignored.
// One walk owns it; it holds no window resource of its own.
#pragma once

#include <cstdint>

namespace orvane {

class ProgressWindow {
 public:
  // `handle` 0 means no window and is written back as -1.
  explicit ProgressWindow(int32_t& handle);

  bool present() const { return handle_ != -1; }
  // PBM_SETRANGE32 (0, maximum) then PBM_SETPOS 0.
  void Start(int32_t maximum) const;
  // One PBM_DELTAPOS of 1.
  void Step() const;
  // PBM_SETPOS 0, the end of the walk.
  void Finish() const;

 private:
  int32_t handle_;
};

}  // namespace orvane
