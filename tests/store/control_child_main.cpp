// The second process of the control crash tests: a control that makes one
// recorded deletion of HKEY_CURRENT_USER\PATH and then either terminates
// (clearing its journal) or undoes it. It prints "clearing" or "undoing"
// once the deletion is committed and just before the step a test kills it
// in, and "done" when that step is committed.
//
//   control_child delete-then-end PATH
//   control_child delete-then-undo PATH
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "orvane/container.h"
#include "orvane/error.h"
#include "orvane/quorvel.h"
#include "store/registry_store.h"

namespace {

void Say(const char* line) {
  std::printf("%s\n", line);
  std::fflush(stdout);
}

int Run(const std::string& command, const std::string& path) {
  orvane::NullContainer container;
  auto control = std::make_unique<orvane::Quorvel>(container);
  control->UndoEnabled(true);
  control->GlobalKeyPath("HKEY_CURRENT_USER\\" + path);
  control->DeleteKey();
  orvane::platform::CommitPendingRegistryWrites();
  if (command == "delete-then-end") {
    Say("clearing");
    control.reset();
  } else {
    Say("undoing");
    int16_t steps = 1;
    control->Undo(steps);
  }
  orvane::platform::CommitPendingRegistryWrites();
  Say("done");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 || (std::strcmp(argv[1], "delete-then-end") != 0 && std::strcmp(argv[1], "delete-then-undo") != 0)) {
    std::fprintf(stderr, "usage: control_child delete-then-end|delete-then-undo PATH\n");
    return 2;
  }
  try {
    return Run(argv[1], argv[2]);
  } catch (const orvane::Error& error) {
    std::fprintf(stderr, "control_child: %s\n", error.what());
    return 1;
  }
}
