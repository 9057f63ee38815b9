// quorvel's command line: its options, and the CLI11 parser that reads them
// and prints --help. The manual page's options are generated from the same
// parser (tools/manpages). One parser per parse.
#pragma once

#include <CLI/CLI.hpp>
#include <memory>
#include <string>

namespace quorvel {

struct CommandLineOptions {
  std::string registry;
  std::string platform;
  std::string statements;
  std::string script;
  std::string form;
  bool design = false;
  bool no_dialogs = false;
  bool quiet = false;
};

// The parser that fills `options`; the -e option's count tells whether -e
// was given, even with no statements.
std::unique_ptr<CLI::App> MakeCommandLine(CommandLineOptions& options);

}  // namespace quorvel
