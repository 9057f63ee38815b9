// A control on a fresh registry store, in a container that records the
// names of the properties the control reports as changed.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "orvane/container.h"
#include "orvane/quorvel.h"
#include "support/temp_registry.h"

namespace orvane {

class RecordingContainer : public Container {
 public:
  void PropertyChanged(std::string_view name) override { changed.emplace_back(name); }
  std::vector<std::string> changed;
};

class ControlTest : public ::testing::Test {
 protected:
  ControlTest() { control_.InitProperties(); }

  // The notifications since the last call, then forgets them.
  std::vector<std::string> TakeNotifications() { return std::exchange(container_.changed, {}); }

  TempRegistry registry_;
  RecordingContainer container_;
  Quorvel control_{container_};
};

}  // namespace orvane
