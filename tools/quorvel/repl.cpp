// The interactive session: a prompt read through libedit's
// readline-compatible interface, with in-session history.
#include <stdio.h>  // editline/readline.h needs FILE declared first
#include <editline/readline.h>

#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>

#include "host.h"
#include "interpreter.h"
#include "parser.h"
#include "session.h"

namespace quorvel {
namespace {

constexpr const char* kPrompt = "quorvel> ";

struct FreeLine {
  void operator()(char* line) const { std::free(line); }
};

// Parses and runs one line; a syntax error is reported and nothing of the
// line runs. Returns false when a statement raised.
bool RunLine(Interpreter& interpreter, const char* line) {
  try {
    return interpreter.Run(Parse(std::string(line) + "\n"));
  } catch (const SyntaxError& error) {
    std::cerr << "syntax error: " << error.what() << "\n";
    return true;
  }
}

}  // namespace

int RunInteractive(HostOptions options) {
  std::unique_ptr<Host> host;
  try {
    host = std::make_unique<Host>(std::move(options));
  } catch (const FormError& error) {  // the first control cannot take its form
    std::cerr << "quorvel: " << error.what() << "\n";
    return kExitUsage;
  } catch (const orvane::Error& error) {  // the first control failed to start
    std::cout << "Error " << error.number() << ": " << error.description() << "\n";
    return kExitRaised;
  }
  Interpreter interpreter(*host, std::cout);
  bool clean = true;
  using_history();
  std::cout << "quorvel: Help lists the members, Help NAME shows one; end with Ctrl-D.\n";
  for (;;) {
    std::unique_ptr<char, FreeLine> line(readline(kPrompt));
    if (!line) break;
    if (*line) add_history(line.get());
    clean = RunLine(interpreter, line.get()) && clean;
    std::cout.flush();
  }
  std::cout << "\n";
  return clean ? kExitClean : kExitRaised;
}

}  // namespace quorvel
