// The container a Quorvel control lives in: the script host, a form, or any
// C++ program that embeds the library. The control calls it; the container
// owns the control. Calls arrive on the container's one thread.
#pragma once

#include <cstdint>
#include <string_view>

namespace orvane {

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
};

// A container that ignores notifications; for programs that need none.
class NullContainer : public Container {
 public:
  void PropertyChanged(std::string_view) override {}
};

}  // namespace orvane
