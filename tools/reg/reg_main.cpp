// orvane-reg: the registry's verbs (query, add, delete, copy, compare,
// export, import) from a shell, on the same registry store as the control
// (chosen by ORVANE_REGISTRY, as for the other programs).
#include <unistd.h>

#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "tools/reg/reg_messages.h"
#include "tools/reg/reg_program.h"

int main(int argc, char** argv) {
  orvane::reg::Console console{std::cout, std::cerr, std::cin, isatty(STDOUT_FILENO) == 1};
  try {
    return orvane::reg::RunReg(console, std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::exception& error) {
    std::cerr << "ERROR: " << error.what() << '\n';
    return orvane::reg::kExitFailure;
  }
}
