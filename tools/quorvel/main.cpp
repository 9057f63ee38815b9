// quorvel [--registry FILE] [--platform nt|9x] [SCRIPT | -e STATEMENTS]
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

#include "session.h"

namespace {

struct Options {
  std::string registry;
  std::string platform;
  std::string statements;
  std::string script;
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
  if (!options.registry.empty()) {
    std::string path = std::filesystem::absolute(options.registry).lexically_normal().string();
    setenv("ORVANE_REGISTRY", path.c_str(), 1);
  }
  if (!options.platform.empty()) setenv("ORVANE_PLATFORM", options.platform.c_str(), 1);
}

int RunFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::string source;
  if (!file || !ReadAll(file, source)) {
    std::cerr << "quorvel: cannot read " << path << ": " << std::strerror(errno) << "\n";
    return quorvel::kExitUsage;
  }
  return quorvel::RunScript(path, source, std::cout, std::cerr);
}

int RunStandardInput() {
  std::string source;
  ReadAll(std::cin, source);
  return quorvel::RunScript("<stdin>", source, std::cout, std::cerr);
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  CLI::App app{"The script host of the Quorvel registry control.", "quorvel"};
  app.add_option("--registry", options.registry, "Registry store file for this process and the programs it starts");
  app.add_option("--platform", options.platform, "Emulated platform")->check(CLI::IsMember({"nt", "9x"}));
  auto* statements = app.add_option("-e", options.statements, "Statements to run instead of a script");
  app.add_option("script", options.script, "Script file to run")->excludes(statements);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    int code = app.exit(error);
    return code == 0 ? quorvel::kExitClean : quorvel::kExitUsage;
  }
  ExportSettings(options);
  if (statements->count() > 0) return quorvel::RunScript("-e", options.statements, std::cout, std::cerr);
  if (!options.script.empty()) return RunFile(options.script);
  if (isatty(STDIN_FILENO)) return quorvel::RunInteractive();
  return RunStandardInput();
}
