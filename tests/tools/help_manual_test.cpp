// Each program's manual page and its --help agree: every entry of the
// page's generated sections (the term in bold, then its text) is in --help
// with the same words, and every option --help lists is a term of the page.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "support/program_output.h"
#include "support/temp_registry.h"

namespace orvane::testing {
namespace {

struct Entry {
  std::string term, text;
};

// `text` with each run of blanks and line ends made one blank.
std::string Collapsed(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n' || c == ' ') {
      if (!out.empty() && out.back() != ' ') out += ' ';
    } else {
      out += c;
    }
  }
  return out;
}

// A roff line as plain text: escapes and font changes gone, the quotes of
// an argument dropped.
std::string Plain(std::string line) {
  for (const auto& [from, to] : std::vector<std::pair<std::string, std::string>>{
           {"\\-", "-"}, {"\\e", "\\"}, {"\\&", ""}, {"\\fB", ""}, {"\\fI", ""}, {"\\fR", ""}, {"\\fP", ""}}) {
    for (size_t at = line.find(from); at != std::string::npos; at = line.find(from, at + to.size())) {
      line.replace(at, from.size(), to);
    }
  }
  if (line.rfind(".B ", 0) == 0) line = line.substr(3);
  if (line.size() >= 2 && line.front() == '"' && line.back() == '"') line = line.substr(1, line.size() - 2);
  return line;
}

// The tagged paragraphs of section `name` of the page `file`.
std::vector<Entry> SectionEntries(const std::string& file, const std::string& name) {
  std::ifstream in(file);
  std::vector<Entry> entries;
  bool inside = false;
  int line_of_entry = 0;  // 1: the term comes next, 2: its text
  for (std::string line; std::getline(in, line);) {
    if (line.rfind(".SH", 0) == 0) inside = Plain(line.substr(4)) == name;
    if (!inside || line.rfind(".SH", 0) == 0) continue;
    if (line == ".TP") {
      entries.emplace_back();
      line_of_entry = 1;
    } else if (line.rfind(".PP", 0) == 0) {
      line_of_entry = 0;
    } else if (line_of_entry == 1) {
      entries.back().term = Plain(line);
      line_of_entry = 2;
    } else if (line_of_entry == 2) {
      entries.back().text += (entries.back().text.empty() ? "" : " ") + Plain(line);
    }
  }
  return entries;
}

// The terms of the options --help lists: lines "  -x", "  /X" or "  [/X]",
// up to two blanks.
std::set<std::string> HelpOptionTerms(const std::string& help) {
  std::set<std::string> terms;
  std::istringstream lines(help);
  for (std::string line; std::getline(lines, line);) {
    if (line.size() < 3 || line.rfind("  ", 0) != 0 || std::string("-/[").find(line[2]) == std::string::npos) continue;
    terms.insert(line.substr(2, line.find("  ", 2) - 2));
  }
  return terms;
}

TEST(HelpAndManualPage, AgreeForEveryProgram) {
  TempRegistry registry;
  const struct {
    std::string program, page;
    std::vector<std::string> sections;
  } programs[] = {
      {QUORVEL_PROGRAM, "quorvel.1", {"OPTIONS"}},
      {REG_PROGRAM, "orvane-reg.1", {"OPTIONS"}},
      {REGEDIT_PROGRAM, "orvane-regedit.1", {"OPTIONS", "FULL-SCREEN EDITOR"}},
      {ADMIN_PROGRAM, "orvane-registry-admin.1", {"OPTIONS"}},
  };
  for (const auto& [program, page, sections] : programs) {
    const ProgramOutput help = RunProgram(program, {"--help"});
    ASSERT_EQ(help.status, 0) << program;
    const std::string words = Collapsed(help.out);
    std::set<std::string> terms;
    for (const std::string& section : sections) {
      const std::vector<Entry> entries = SectionEntries(MAN_PAGE_FOLDER "/" + page, section);
      EXPECT_FALSE(entries.empty()) << page << " " << section;
      for (const Entry& entry : entries) {
        EXPECT_NE(words.find(Collapsed(entry.term)), std::string::npos) << page << ": " << entry.term;
        EXPECT_NE(words.find(Collapsed(entry.text)), std::string::npos) << page << ": " << entry.text;
        terms.insert(entry.term);
      }
    }
    for (const std::string& term : HelpOptionTerms(help.out)) EXPECT_TRUE(terms.count(term)) << page << ": " << term;
  }
}

}  // namespace
}  // namespace orvane::testing
