// orvane-reg: the registry's verbs (query, add, delete, copy, compare,
// export, import) from a shell, on the same registry store as the control
// (chosen by --registry FILE, else ORVANE_REGISTRY, as for the other
// programs).
#include <unistd.h>

#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "store/store_extensions.h"
#include "tools/common/registry_option.h"
#include "tools/reg/reg_messages.h"
#include "tools/reg/reg_program.h"

int main(int argc, char** argv) {
  orvane::reg::Console console{std::cout, std::cerr, std::cin, isatty(STDOUT_FILENO) == 1};
  int exit_code = orvane::reg::kExitFailure;
  try {
    std::vector<std::string> args(argv + 1, argv + argc);
    orvane::tools::TakeRegistryOption(args);
    exit_code = orvane::reg::RunReg(console, args);
  } catch (const std::exception& error) {
    std::cerr << "ERROR: " << error.what() << '\n';
  }
  // A run whose changes did not all reach the store has failed, whatever
  // it printed before.
  if (exit_code != orvane::reg::kExitFailure && orvane::platform::CommitRegistryWritesForExit() != 0) {
    orvane::reg::Fail(console, orvane::reg::Message::kRegistryError);
    return orvane::reg::kExitFailure;
  }
  return exit_code;
}
