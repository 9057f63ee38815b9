// The regedit command line: Windows argument splitting and the options.
#include <gtest/gtest.h>

#include "tools/regedit/command_line.h"

namespace orvane::regedit {
namespace {

using Words = std::vector<std::string>;

TEST(SplitWindowsCommandLine, BlanksSeparateAndQuotesGroup) {
  EXPECT_EQ(SplitWindowsCommandLine("  /S\t/E  \"C:\\My Files\\x.reg\" \"HKEY_CURRENT_USER\\A B\" "),
            (Words{"/S", "/E", "C:\\My Files\\x.reg", "HKEY_CURRENT_USER\\A B"}));
  EXPECT_EQ(SplitWindowsCommandLine("a\"b c\"d"), (Words{"ab cd"}));
  EXPECT_EQ(SplitWindowsCommandLine("\"\" x"), (Words{"", "x"}));
  EXPECT_EQ(SplitWindowsCommandLine(""), Words{});
}

TEST(SplitWindowsCommandLine, BackslashesEscapeOnlyQuotes) {
  // Backslashes not before a quote are literal.
  EXPECT_EQ(SplitWindowsCommandLine("a\\\\b\\c"), (Words{"a\\\\b\\c"}));
  // 2n backslashes and a quote: n backslashes, and the quote groups.
  EXPECT_EQ(SplitWindowsCommandLine("a\\\\\"b c\""), (Words{"a\\b c"}));
  // 2n+1 backslashes and a quote: n backslashes and a literal quote.
  EXPECT_EQ(SplitWindowsCommandLine("a\\\\\\\"b c"), (Words{"a\\\"b", "c"}));
  // A quoted argument ending in a backslash loses its closing quote.
  EXPECT_EQ(SplitWindowsCommandLine("\"HKEY_CURRENT_USER\\X\\\" next"), (Words{"HKEY_CURRENT_USER\\X\" next"}));
}

TEST(SplitWindowsCommandLine, ThirdQuoteInARowIsLiteral) {
  EXPECT_EQ(SplitWindowsCommandLine("\"a\"\"b\""), (Words{"a\"b"}));
  EXPECT_EQ(SplitWindowsCommandLine("\"a\"\"\" b\" c"), (Words{"a\" b", "c"}));
}

TEST(JoinWindowsCommandLine, SplitsBackIntoTheSameWords) {
  const Words words = {"REGEDIT.EXE", "/S", "C:\\My Files\\out.reg", "say\"hi", "a\\\\b", "c\\", "",
                       "tab\there", "\\\"", "two  blanks", "\"\"\"", "line\nbreak", "end\\\\"};
  EXPECT_EQ(SplitWindowsCommandLine(JoinWindowsCommandLine(words)), words);
  EXPECT_EQ(JoinWindowsCommandLine({"/S", "a b", "c\\"}), "/S \"a b\" c\\");
  EXPECT_EQ(JoinWindowsCommandLine({"x", "q\"x", "d\\ e\\"}), "x \"q\\\"x\" \"d\\ e\\\\\"");
}

Command Parse(const Words& args, std::string* error = nullptr) {
  Command command;
  std::string message;
  EXPECT_TRUE(ParseCommand(args, &command, &message)) << message;
  if (error != nullptr) *error = message;
  return command;
}

std::string ParseError(const Words& args) {
  Command command;
  std::string message;
  EXPECT_FALSE(ParseCommand(args, &command, &message));
  return message;
}

TEST(ParseCommand, OptionsInAnyCaseWithSlashOrDash) {
  for (const Words& args : {Words{"/S", "/E", "f", "HKEY_USERS"}, Words{"-s", "-e", "f", "HKEY_USERS"},
                            Words{"/e", "/s", "f", "HKEY_USERS"}}) {
    const Command command = Parse(args);
    EXPECT_EQ(command.action, Action::kExport);
    EXPECT_EQ(command.args, (Words{"f", "HKEY_USERS"}));
  }
}

TEST(ParseCommand, ExportWithoutKeyMeansTheWholeRegistry) {
  EXPECT_EQ(Parse({"/E", "f"}).args, (Words{"f", ""}));
  EXPECT_EQ(ParseError({"/E"}), "No file name was given for the export.");
  EXPECT_EQ(ParseError({"/E", "f", "k", "x"}), "Too many arguments for the export.");
}

TEST(ParseCommand, ALongerWordOrADashAloneIsAFileAndEndsTheOptions) {
  const Command command = Parse({"/S", "/tmp/x.reg", "-", "/E"});
  EXPECT_EQ(command.action, Action::kImport);
  EXPECT_EQ(command.args, (Words{"/tmp/x.reg", "-", "/E"}));
}

TEST(ParseCommand, DoubleDashEndsTheOptionsSoAFileMayLookLikeOne) {
  Command command = Parse({"/S", "--", "-C:\" \"small.reg", "/E"});
  EXPECT_EQ(command.action, Action::kImport);
  EXPECT_EQ(command.args, (Words{"-C:\" \"small.reg", "/E"}));
  command = Parse({"/S", "/C", "--", "/D"});
  EXPECT_EQ(command.action, Action::kReplace);
  EXPECT_EQ(command.args, (Words{"/D"}));
  command = Parse({"/S", "/E", "--", "-", "HKEY_USERS\\q\"x"});
  EXPECT_EQ(command.action, Action::kExport);
  EXPECT_EQ(command.args, (Words{"-", "HKEY_USERS\\q\"x"}));
  command = Parse({"/S", "/C", "--", "/home/two  blanks/Registry.orv"});
  EXPECT_EQ(command.args, (Words{"/home/two  blanks/Registry.orv"}));
  EXPECT_EQ(Parse({"--", "--"}).args, (Words{"--"}));  // only the first one ends the options
  EXPECT_EQ(ParseError({"/S", "--"}), "No file name was given.");
}

TEST(ParseCommand, ReplaceTakesTheRestAsOneUnquotedPath) {
  const Command command = Parse({"/S", "/C", "/home/a", "b/Registry.orv"});
  EXPECT_EQ(command.action, Action::kReplace);
  EXPECT_EQ(command.args, (Words{"/home/a b/Registry.orv"}));
}

TEST(ParseCommand, IgnoredOptionsUsageAndErrors) {
  EXPECT_EQ(Parse({"/V", "/L:system", "/R:user", "/M", "f"}).action, Action::kImport);
  EXPECT_EQ(Parse({"/?"}).action, Action::kUsage);
  EXPECT_EQ(Parse({"/D", "HKEY_CURRENT_USER\\X"}).action, Action::kDelete);
  EXPECT_EQ(ParseError({"/X", "f"}), "Invalid switch [/X]");
  EXPECT_EQ(ParseError({"/E", "/C", "f"}),
            "Only one action may be given: /C, /D, /E, --replace-all, --delete, --export or --import.");
  EXPECT_EQ(ParseError({"/S"}), "No file name was given.");
  EXPECT_EQ(ParseError({"/D"}), "The delete option needs exactly one key.");
}

TEST(ParseCommand, HelpAndVersionWinOverAnyAction) {
  for (const Words& args : {Words{"--help"}, Words{"-h"}, Words{"/H"}, Words{"/?"}, Words{"/E", "--help", "f"},
                            Words{"--version", "-?"}}) {
    EXPECT_EQ(Parse(args).action, Action::kUsage) << args[0];
  }
  EXPECT_EQ(Parse({"--version"}).action, Action::kVersion);
  EXPECT_EQ(Parse({"/S", "--version", "f", "g"}).action, Action::kVersion);
}

TEST(ParseCommand, LongOptionsNameTheSameActions) {
  Command command = Parse({"--export", "-", "HKCU\\Software"});
  EXPECT_EQ(command.action, Action::kExport);
  EXPECT_EQ(command.args, (Words{"-", "HKCU\\Software"}));
  EXPECT_EQ(Parse({"/S", "--export", "out.reg"}).args, (Words{"out.reg", ""}));
  command = Parse({"--import", "a.reg", "-", "--"});
  EXPECT_EQ(command.action, Action::kImport);
  EXPECT_EQ(command.args, (Words{"a.reg", "-", "--"}));
  command = Parse({"--delete", "--", "HKEY_USERS\\-x"});
  EXPECT_EQ(command.action, Action::kDelete);
  EXPECT_EQ(command.args, (Words{"HKEY_USERS\\-x"}));
  command = Parse({"--replace-all", "/home/two  blanks/r.reg"});
  EXPECT_EQ(command.action, Action::kReplace);
  EXPECT_EQ(command.args, (Words{"/home/two  blanks/r.reg"}));
  EXPECT_EQ(Parse({"--export", "--export", "f"}).action, Action::kExport);  // the same action twice
}

TEST(ParseCommand, LongOptionErrors) {
  EXPECT_EQ(ParseError({"--bogus", "f"}), "Invalid switch [--bogus]");
  EXPECT_EQ(ParseError({"--Export", "f"}), "Invalid switch [--Export]");  // long names are exact
  EXPECT_EQ(ParseError({"--replace-all", "a", "b"}), "The replace option takes exactly one file.");
  EXPECT_EQ(ParseError({"--replace-all"}), "No file name was given.");
  EXPECT_EQ(ParseError({"--import"}), "No file name was given.");
  EXPECT_EQ(ParseError({"--export"}), "No file name was given for the export.");
  EXPECT_EQ(ParseError({"--delete", "a", "b"}), "The delete option needs exactly one key.");
  EXPECT_EQ(ParseError({"/E", "--import", "f"}),
            "Only one action may be given: /C, /D, /E, --replace-all, --delete, --export or --import.");
  EXPECT_EQ(ParseError({"--delete", "/C", "k"}),
            "Only one action may be given: /C, /D, /E, --replace-all, --delete, --export or --import.");
}

}  // namespace
}  // namespace orvane::regedit
