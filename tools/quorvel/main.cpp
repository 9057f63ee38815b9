// quorvel [--registry FILE] [--platform nt|9x] [--form FILE] [--design]
//         [--no-dialogs | --quiet] [SCRIPT | -e STATEMENTS]
//         (also --help, --version)
// Runs a script, the statements of -e, the script on standard input, or
// (on a terminal with no script) an interactive prompt.
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "command_line.h"
#include "orvane/error.h"
#include "session.h"
#include "store/registry_store.h"
#include "tools/common/command_line_end.h"
#include "tools/common/registry_option.h"

namespace {

struct Options : quorvel::CommandLineOptions {
  bool has_statements = false;  // -e was given, even with no statements
};

// Reads the whole file or stream as bytes; false when it cannot be read.
bool ReadAll(std::istream& in, std::string& text) {
  std::ostringstream buffer;
  buffer << in.rdbuf();
  text = buffer.str();
  return !in.bad();
}

// Points the registry store and the platform layer of this process, and of
// every program it starts, at the chosen store and platform.
void ExportSettings(const Options& options) {
  orvane::tools::UseRegistryFile(options.registry);
  if (!options.platform.empty()) setenv("ORVANE_PLATFORM", options.platform.c_str(), 1);
}

// The host's options; false with a message on standard error when the
// form file cannot be read or is malformed.
bool MakeHostOptions(const Options& options, quorvel::HostOptions& host) {
  host.design = options.design;
  if (options.no_dialogs) host.dialogs = orvane::DialogStyle::kBatch;
  if (options.quiet) host.dialogs = orvane::DialogStyle::kSilent;
  if (options.form.empty()) return true;
  try {
    host.form = quorvel::FormBag::Load(options.form);
  } catch (const quorvel::FormError& error) {
    std::cerr << "quorvel: " << error.what() << "\n";
    return false;
  } catch (const orvane::Error& error) {
    std::cerr << "quorvel: cannot read " << options.form << ": " << error.description() << "\n";
    return false;
  }
  return true;
}

int RunFile(const std::string& path, quorvel::HostOptions host) {
  std::ifstream file(path, std::ios::binary);
  std::string source;
  if (!file || !ReadAll(file, source)) {
    std::cerr << "quorvel: cannot read " << path << ": " << std::strerror(errno) << "\n";
    return quorvel::kExitUsage;
  }
  return quorvel::RunScript(path, source, std::cout, std::cerr, std::move(host));
}

int RunStandardInput(quorvel::HostOptions host) {
  std::string source;
  ReadAll(std::cin, source);
  return quorvel::RunScript("<stdin>", source, std::cout, std::cerr, std::move(host));
}

// Commits what the script wrote: a script whose changes did not reach the
// store has failed, whatever its statements returned.
int CommitWrites(int exit_code) {
  const LONG status = orvane::platform::CommitRegistryWritesForExit();
  if (status == ERROR_SUCCESS) return exit_code;
  std::cerr << "quorvel: registry changes were not saved (status " << status << ")\n";
  return exit_code == quorvel::kExitClean ? quorvel::kExitRaised : exit_code;
}

int Run(const Options& options, quorvel::HostOptions host) {
  if (options.has_statements) {
    return quorvel::RunScript("-e", options.statements, std::cout, std::cerr, std::move(host));
  }
  if (!options.script.empty()) return RunFile(options.script, std::move(host));
  if (isatty(STDIN_FILENO)) return quorvel::RunInteractive(std::move(host));
  return RunStandardInput(std::move(host));
}

// Reads the command line into `options`; false with the exit status in
// *status when there is nothing to run (help, version, a usage error).
bool ParseCommandLine(int argc, char** argv, Options& options, int* status) {
  std::unique_ptr<CLI::App> app = quorvel::MakeCommandLine(options);
  try {
    app->parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    *status = orvane::tools::EndParse(*app, error);
    return false;
  }
  options.has_statements = app->get_option("-e")->count() > 0;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (int status = 0; !ParseCommandLine(argc, argv, options, &status)) return status;
  ExportSettings(options);
  quorvel::HostOptions host;
  if (!MakeHostOptions(options, host)) return quorvel::kExitUsage;
  return CommitWrites(Run(options, std::move(host)));
}
