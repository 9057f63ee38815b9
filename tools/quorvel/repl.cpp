// The interactive session: a prompt read through libedit's
// readline-compatible interface. Tab completes the names the language
// knows; history is kept between runs in the history file; Ctrl-C
// abandons the line being typed and keeps the prompt; Ctrl-D ends it.
#include <signal.h>
#include <stdio.h>  // editline/readline.h needs FILE declared first
#include <editline/readline.h>

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "builtins.h"
#include "completion.h"
#include "history_file.h"
#include "host.h"
#include "interpreter.h"
#include "parser.h"
#include "session.h"

namespace quorvel {
namespace {

constexpr const char* kPrompt = "quorvel> ";
// Characters that end a word for completion: "Quorvel1.GetV" completes
// "GetV", "Print CStr(hk" completes "hk".
constexpr const char* kWordBreaks = " \t\n\"'`@$><=;|&{}()[].,:+-*/\\^";

struct FreeLine {
  void operator()(char* line) const { std::free(line); }
};

// The host whose controls' names complete, while the prompt runs.
const Host* completing_host = nullptr;

// readline's generator: the next match of `text` on each call, state 0
// starting over; the caller frees what it returns.
char* NextCompletion(const char* text, int state) {
  static std::vector<std::string> matches;
  static size_t next = 0;
  if (state == 0) {
    matches = CompletionsOf(text, completing_host ? completing_host->ControlNames() : std::vector<std::string>{});
    next = 0;
  }
  return next < matches.size() ? strdup(matches[next++].c_str()) : nullptr;
}

// Only the language's names complete, never file names. A function of
// the host completes with its opening parenthesis, any other word with a
// blank.
char** CompleteWord(const char* text, int /*start*/, int /*end*/) {
  rl_attempted_completion_over = 1;
  char** matches = rl_completion_matches(text, NextCompletion);
  // One match: matches[0] is it (libedit also repeats it in matches[1]).
  const bool unique = matches != nullptr && (matches[1] == nullptr || matches[2] == nullptr);
  const bool function = unique && FindBuiltin(matches[0]) != nullptr;
  rl_completion_append_character = function ? '(' : ' ';
  return matches;
}

volatile sig_atomic_t interrupted = 0;

void OnInterrupt(int) { interrupted = 1; }

// While a line is being typed, Ctrl-C only marks the line as abandoned;
// while a statement runs it ends the program as usual.
class InterruptWhileTyping {
 public:
  InterruptWhileTyping() {
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;  // no restart: the read in progress returns
    sigaction(SIGINT, &action, &previous_);
    interrupted = 0;
  }
  ~InterruptWhileTyping() { sigaction(SIGINT, &previous_, nullptr); }
  InterruptWhileTyping(const InterruptWhileTyping&) = delete;
  InterruptWhileTyping& operator=(const InterruptWhileTyping&) = delete;

 private:
  struct sigaction previous_ {};
};

// Reads one line; empty when the input ended, with *abandoned set when
// Ctrl-C abandoned it instead.
std::unique_ptr<char, FreeLine> ReadLine(bool* abandoned) {
  InterruptWhileTyping guard;
  std::unique_ptr<char, FreeLine> line(readline(kPrompt));
  *abandoned = interrupted != 0;
  return line;
}

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

// Sets up completion and the history saved by earlier sessions.
void PrepareLineEditor(const Host& host, HistoryFile& history) {
  completing_host = &host;
  rl_attempted_completion_function = CompleteWord;
  rl_basic_word_break_characters = kWordBreaks;
  using_history();
  stifle_history(1000);
  for (const std::string& entry : history.Load()) add_history(entry.c_str());
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
  HistoryFile history(DefaultHistoryPath());
  PrepareLineEditor(*host, history);
  bool clean = true;
  std::cout << "quorvel: Help lists the members, Help NAME shows one; Tab completes; end with Ctrl-D.\n";
  for (;;) {
    bool abandoned = false;
    std::unique_ptr<char, FreeLine> line = ReadLine(&abandoned);
    if (abandoned) {
      std::cout << "\n";  // Ctrl-C: the line is dropped, a new prompt follows
      continue;
    }
    if (!line) break;
    if (*line) {
      add_history(line.get());
      history.Append(line.get());
    }
    clean = RunLine(interpreter, line.get()) && clean;
    std::cout.flush();
  }
  completing_host = nullptr;
  std::cout << "\n";
  return clean ? kExitClean : kExitRaised;
}

}  // namespace quorvel
