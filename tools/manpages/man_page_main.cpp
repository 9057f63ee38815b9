// orvane-man-page PROGRAM TEMPLATE OUTPUT: writes PROGRAM's manual page,
// the hand-written TEMPLATE with each marker line (@OPTIONS@, @VERBS@,
// @EDITOR-KEYS@) replaced by the entries the program's --help is made of,
// so that the page and --help never disagree. Run by the build. Exit
// status 0, or 1 with a message for an unknown program or marker, or a
// file that cannot be read or written.
#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>

#include "tools/admin/admin_command_line.h"
#include "tools/common/cli_help_entries.h"
#include "tools/manpages/roff_entries.h"
#include "tools/quorvel/command_line.h"
#include "tools/reg/reg_usage.h"
#include "tools/regedit/usage.h"

namespace {

using orvane::tools::HelpEntry;
using Entries = std::function<std::vector<HelpEntry>()>;

std::vector<HelpEntry> QuorvelOptions() {
  quorvel::CommandLineOptions options;
  return orvane::tools::CliHelpEntries(*quorvel::MakeCommandLine(options));
}

std::vector<HelpEntry> AdminOptions() {
  orvane::admin::Command command;
  return orvane::tools::CliHelpEntries(*orvane::admin::MakeCommandLine(&command));
}

// Each program's markers and the entries that replace them.
const std::map<std::string, std::map<std::string, Entries>>& Sections() {
  static const std::map<std::string, std::map<std::string, Entries>> sections = {
      {"quorvel", {{"@OPTIONS@", QuorvelOptions}}},
      {"orvane-registry-admin", {{"@OPTIONS@", AdminOptions}}},
      {"orvane-reg", {{"@OPTIONS@", orvane::reg::OptionEntries}, {"@VERBS@", orvane::reg::VerbEntries}}},
      {"orvane-regedit",
       {{"@OPTIONS@", orvane::regedit::OptionEntries}, {"@EDITOR-KEYS@", orvane::regedit::EditorKeyEntries}}},
  };
  return sections;
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "orvane-man-page: %s\n", message.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) return Fail("usage: orvane-man-page PROGRAM TEMPLATE OUTPUT");
  const auto program = Sections().find(argv[1]);
  if (program == Sections().end()) return Fail(std::string("unknown program ") + argv[1]);
  std::ifstream in(argv[2], std::ios::binary);
  if (!in) return Fail(std::string("cannot read ") + argv[2]);
  std::ostringstream page;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line.front() != '@') {
      page << line << "\n";
      continue;
    }
    const auto section = program->second.find(line);
    if (section == program->second.end()) return Fail("unknown marker " + line + " in " + argv[2]);
    page << orvane::manpages::RoffEntries(section->second());
  }
  std::ofstream out(argv[3], std::ios::binary | std::ios::trunc);
  out << page.str();
  out.close();
  return out ? 0 : Fail(std::string("cannot write ") + argv[3]);
}
