// How a program whose command line CLI11 reads ends a parse that gave it
// no work: --help prints the usage and --version "Orvane X.Y.Z" to standard
// output with exit status 0; any other parse error is one line on standard
// error naming the problem, with exit status 2. Header only.
#pragma once

#include <CLI/CLI.hpp>
#include <algorithm>
#include <iostream>
#include <string>

#include "orvane/version.h"

namespace orvane::tools {

inline constexpr int kExitUsageError = 2;

// Adds --version, printing the product's name and version.
inline void AddVersionFlag(CLI::App& app) {
  app.set_version_flag("--version", kProductVersionLine, "Print the version and exit");
}

// The exit status for a parse error, after printing what it calls for.
inline int EndParse(const CLI::App& app, const CLI::ParseError& error) {
  if (error.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success)) return app.exit(error);
  std::string problem = error.what();
  std::replace(problem.begin(), problem.end(), '\n', ' ');
  std::cerr << app.get_name() << ": " << problem << " (see " << app.get_name() << " --help)\n";
  return kExitUsageError;
}

}  // namespace orvane::tools
