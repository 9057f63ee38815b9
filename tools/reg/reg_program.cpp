#include "tools/reg/reg_program.h"

#include <array>
#include <cctype>

#include "orvane/version.h"
#include "tools/reg/reg_messages.h"
#include "tools/reg/reg_switches.h"
#include "tools/reg/reg_usage.h"
#include "tools/reg/reg_verbs.h"

namespace orvane::reg {
namespace {

using VerbFunction = int (*)(Console&, const Options&);

struct Verb {
  std::string_view name;
  VerbFunction run;
};

constexpr std::array<Verb, 11> kVerbs = {{
    {"query", Query},
    {"add", Add},
    {"delete", Delete},
    {"copy", Copy},
    {"compare", Compare},
    {"export", Export},
    {"import", Import},
    {"load", Load},
    {"unload", Unload},
    {"save", Save},
    {"restore", Restore},
}};

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

int ProgramSyntaxError(Console& console) {
  console.err << "ERROR: Invalid syntax.\nType \"orvane-reg /?\" for usage.\n";
  return kExitFailure;
}

}  // namespace

int RunReg(Console& console, const std::vector<std::string>& args) {
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h" || args[0] == "/?" || args[0] == "-?")) {
    console.out << ProgramUsage();
    return kExitSuccess;
  }
  if (args.size() == 1 && args[0] == "--version") {
    console.out << kProductVersionLine << '\n';
    return kExitSuccess;
  }
  if (args.empty()) return ProgramSyntaxError(console);
  const std::string verb = Lower(args[0]);
  for (const Verb& entry : kVerbs) {
    if (entry.name != verb) continue;
    const std::optional<Options> options = ParseOptions(verb, {args.begin() + 1, args.end()});
    if (!options) return FailSyntax(console, verb);
    if (options->help) {
      console.out << VerbUsage(verb);
      return kExitSuccess;
    }
    return entry.run(console, *options);
  }
  return ProgramSyntaxError(console);
}

}  // namespace orvane::reg
