#include "tools/regedit/command_line.h"

namespace orvane::regedit {
namespace {

// The state of the Windows argument splitter.
class Splitter {
 public:
  explicit Splitter(std::string_view line) : line_(line) {}

  std::vector<std::string> Run() {
    while (pos_ < line_.size()) Step();
    FinishWord();
    return std::move(words_);
  }

 private:
  void Step() {
    const char c = line_[pos_];
    if ((c == ' ' || c == '\t') && quotes_ == 0) {
      FinishWord();
      ++pos_;
    } else if (c == '"') {
      Quote();
    } else {
      backslashes_ = c == '\\' ? backslashes_ + 1 : 0;
      word_.push_back(c);
      started_ = true;
      ++pos_;
    }
  }

  // A quote after `backslashes_` backslashes, then any quotes that follow it.
  void Quote() {
    word_.resize(word_.size() - backslashes_ / 2);
    if (backslashes_ % 2 == 1) {
      word_.back() = '"';
    } else {
      ++quotes_;
    }
    backslashes_ = 0;
    started_ = true;
    for (++pos_; pos_ < line_.size() && line_[pos_] == '"'; ++pos_) {
      if (++quotes_ == 3) {
        word_.push_back('"');
        quotes_ = 0;
      }
    }
    if (quotes_ == 2) quotes_ = 0;
  }

  void FinishWord() {
    if (started_) words_.push_back(std::move(word_));
    word_.clear();
    started_ = false;
    backslashes_ = 0;
  }

  std::string_view line_;
  size_t pos_ = 0;
  std::string word_;
  bool started_ = false;
  size_t backslashes_ = 0;
  int quotes_ = 0;
  std::vector<std::string> words_;
};

bool NeedsQuotes(const std::string& word) {
  return word.empty() || word.find_first_of(" \t\n\v\r\"") != std::string::npos;
}

// `word` in double quotes: n backslashes before a quote or before the
// closing quote become 2n, and the quote itself is escaped.
std::string QuotedWord(const std::string& word) {
  std::string quoted = "\"";
  size_t backslashes = 0;
  for (const char c : word) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
    quoted.push_back(c);
    backslashes = 0;
  }
  quoted.append(2 * backslashes, '\\');
  return quoted + '"';
}

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool IsOption(const std::string& arg) {
  if (arg.size() < 2 || (arg[0] != '/' && arg[0] != '-')) return false;
  return arg.size() == 2 || arg[2] == ':';
}

// The actions the options asked for.
struct Requested {
  bool usage = false;
  int count = 0;
  Action action = Action::kImport;
};

// Notes the option letter `letter`; false for an unknown one.
bool ApplyOption(char letter, Requested* requested) {
  const auto choose = [requested](Action action) {
    if (requested->count == 0 || requested->action != action) ++requested->count;
    requested->action = action;
    return true;
  };
  switch (UpperAscii(letter)) {
    case 'E':
      return choose(Action::kExport);
    case 'C':
      return choose(Action::kReplace);
    case 'D':
      return choose(Action::kDelete);
    case '?':
      requested->usage = true;
      return true;
    case 'S': case 'V': case 'L': case 'M': case 'R':
      return true;
    default:
      return false;
  }
}

bool CheckArguments(Command* command, std::string* error) {
  std::vector<std::string>& args = command->args;
  switch (command->action) {
    case Action::kUsage:
      return true;
    case Action::kExport:
      if (args.empty()) *error = "No file name was given for the export.";
      else if (args.size() > 2) *error = "Too many arguments for the export.";
      if (args.size() == 1) args.emplace_back();
      return error->empty();
    case Action::kDelete:
      if (args.size() != 1) *error = "The delete option needs exactly one key.";
      return error->empty();
    case Action::kReplace: {
      // The file may come unquoted: its words are one path.
      std::string path;
      for (const std::string& arg : args) path += (path.empty() ? "" : " ") + arg;
      args.assign(1, path);
      if (path.empty()) *error = "No file name was given.";
      return error->empty();
    }
    case Action::kImport:
      if (args.empty()) *error = "No file name was given.";
      return error->empty();
  }
  return false;
}

}  // namespace

std::vector<std::string> SplitWindowsCommandLine(std::string_view line) { return Splitter(line).Run(); }

std::string JoinWindowsCommandLine(const std::vector<std::string>& words) {
  std::string line;
  for (const std::string& word : words) {
    if (!line.empty()) line.push_back(' ');
    line += NeedsQuotes(word) ? QuotedWord(word) : word;
  }
  return line;
}

bool ParseCommand(const std::vector<std::string>& args, Command* command, std::string* error) {
  *command = Command{};
  error->clear();
  Requested requested;
  size_t i = 0;
  for (; i < args.size() && IsOption(args[i]); ++i) {
    if (args[i] == "--") {
      ++i;
      break;
    }
    if (!ApplyOption(args[i][1], &requested)) {
      *error = "Invalid switch [" + args[i] + "]";
      return false;
    }
  }
  if (requested.count > 1 && !requested.usage) {
    *error = "Only one of the options /C, /D and /E may be given.";
    return false;
  }
  command->action = requested.usage ? Action::kUsage : requested.action;
  command->args.assign(args.begin() + static_cast<std::ptrdiff_t>(i), args.end());
  return CheckArguments(command, error);
}

}  // namespace orvane::regedit
