// Windows-style command lines: the splitter and the joiner.
#include "platform/windows_command_line.h"

namespace orvane::platform {
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

}  // namespace orvane::platform
