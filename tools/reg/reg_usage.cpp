#include "tools/reg/reg_usage.h"

#include <array>
#include <string>

#include "tools/common/registry_option.h"

namespace orvane::reg {
namespace {

constexpr std::string_view kKeyHelp =
    "  KEY is ROOT\\Subkey; ROOT is HKLM, HKCU, HKCR, HKU, HKCC or the full name\n"
    "  (HKEY_LOCAL_MACHINE ...). Switches start with / or -, in any letter case.\n";

struct VerbText {
  std::string_view verb;
  std::string_view usage;
};

constexpr std::array<VerbText, 11> kVerbs = {{
    {"query",
     "orvane-reg query KEY [/v NAME | /ve] [/s] [/f TEXT] [/k] [/d] [/c] [/e] [/t TYPE] [/z] [/se SEPARATOR]\n"
     "  Lists the values and sub-keys of KEY; /v or /ve one value (in every\n"
     "  key below with /s); /s the whole subtree; /f the keys and values whose\n"
     "  name or data contains TEXT (* and ? as wildcards, letter case ignored).\n"
     "  Search in key names only (/k), in data only (/d), with letter case (/c),\n"
     "  for the whole name or data (/e), in values of one TYPE (/t); without /f\n"
     "  these search for *. /z adds the type's number; /se joins a list's strings\n"
     "  with the one character SEPARATOR (default \\0).\n"},
    {"add",
     "orvane-reg add KEY [/v NAME | /ve] [/t TYPE] [/s SEPARATOR] [/d DATA] [/f]\n"
     "  Creates KEY and sets a value. TYPE: REG_SZ (default), REG_EXPAND_SZ,\n"
     "  REG_MULTI_SZ, REG_DWORD, REG_QWORD, REG_BINARY, REG_NONE. Numbers are\n"
     "  decimal or 0x hex; binary data is hex digits; list items are split at\n"
     "  SEPARATOR (default \\0). /f overwrites without asking.\n"},
    {"delete",
     "orvane-reg delete KEY [/v NAME | /ve | /va] [/f]\n"
     "  Deletes KEY with its sub-keys, one value (/v, /ve) or all values of\n"
     "  KEY (/va). /f deletes without asking.\n"},
    {"copy",
     "orvane-reg copy KEY1 KEY2 [/s] [/f]\n"
     "  Copies the values of KEY1 into KEY2; /s the sub-keys too. /f\n"
     "  overwrites without asking.\n"},
    {"compare",
     "orvane-reg compare KEY1 KEY2 [/v NAME | /ve] [/s] [/oa | /od | /os | /on]\n"
     "  Compares two keys (one value with /v or /ve, the subtrees with /s) and\n"
     "  prints the differences (/od, default), matches (/os), both (/oa) or\n"
     "  neither (/on). Exit status: 0 identical, 2 different, 1 failure.\n"},
    {"export",
     "orvane-reg export KEY FILE [/y]\n"
     "  Writes KEY and its subtree to FILE as a REGEDIT4 file; /y replaces an\n"
     "  existing file without asking. FILE - is standard output.\n"},
    {"import",
     "orvane-reg import FILE\n"
     "  Merges a registration file (REGEDIT4 or version 5) into the registry;\n"
     "  - reads standard input.\n"},
    {"load",
     "orvane-reg load KEY FILE\n"
     "  Loads the Windows hive file FILE as KEY, a new key directly below HKLM\n"
     "  or HKU, for every program on the registry until it is unloaded; each\n"
     "  change is written to FILE at once.\n"},
    {"unload",
     "orvane-reg unload KEY\n"
     "  Unloads the hive loaded as KEY.\n"},
    {"save",
     "orvane-reg save KEY FILE [/y]\n"
     "  Writes KEY and its subtree to FILE as a Windows hive file; /y replaces\n"
     "  an existing file without asking.\n"},
    {"restore",
     "orvane-reg restore KEY FILE\n"
     "  Replaces the sub-keys and values of KEY by those of the hive file FILE.\n"},
}};

constexpr std::string_view kProgram =
    "Usage: orvane-reg VERB ARGUMENTS...\n"
    "       orvane-reg --registry FILE VERB ARGUMENTS...\n"
    "Verbs: query, add, delete, copy, compare, export, import, load, unload,\n"
    "       save, restore.\n"
    "  KEY is ROOT\\Subkey; ROOT is HKLM, HKCU, HKCR, HKU, HKCC or the full name\n"
    "  (HKEY_LOCAL_MACHINE ...). Switches start with / or -, in any letter case.\n"
    "Exit status: 0 done, 1 failed; compare 0 identical, 2 different.\n";

// `text` on one line: each run of blanks and line ends one blank, none at
// either end.
std::string OneLine(std::string_view text) {
  std::string line;
  bool blank = false;
  for (char c : text) {
    if (c == ' ' || c == '\n') {
      blank = !line.empty();
      continue;
    }
    if (blank) line += ' ';
    blank = false;
    line += c;
  }
  return line;
}

}  // namespace

std::vector<tools::HelpEntry> OptionEntries() {
  return {
      {"VERB /?", "The usage of one verb (also -? or --help)"},
      {"--help, -h, /?", "This text"},
      {"--version", "The product and version"},
      {std::string(tools::kRegistryOptionName) + " FILE", tools::kRegistryOptionHelp},
  };
}

std::vector<tools::HelpEntry> VerbEntries() {
  std::vector<tools::HelpEntry> entries;
  for (const VerbText& entry : kVerbs) {
    const size_t end = entry.usage.find('\n');
    entries.push_back({std::string(entry.usage.substr(0, end)), OneLine(entry.usage.substr(end + 1))});
  }
  return entries;
}

std::string ProgramUsage() { return std::string(kProgram) + "Options:\n" + tools::HelpColumns(OptionEntries(), 20); }

std::string VerbUsage(std::string_view verb) {
  for (const VerbText& entry : kVerbs) {
    if (entry.verb == verb) return std::string(entry.usage) + std::string(kKeyHelp);
  }
  return ProgramUsage();
}

}  // namespace orvane::reg
