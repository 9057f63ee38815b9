#include "tools/regedit/usage.h"

#include "tools/regedit/program_name.h"
#ifndef _WIN32
#include "tools/common/registry_option.h"
#endif

namespace orvane::regedit {

std::vector<tools::HelpEntry> OptionEntries() {
  std::vector<tools::HelpEntry> entries = {
      {"[/S] FILE..., --import FILE...", "Merge the registration files into the registry, in order"},
      {"[/S] /E FILE [KEY], --export FILE [KEY]",
       "Export KEY (a full path such as HKEY_CURRENT_USER\\Software), or the whole registry when KEY is missing "
       "or empty"},
      {"[/S] /C FILE, --replace-all FILE", "Replace the whole registry with FILE, in one transaction"},
      {"/D KEY, --delete KEY", "Delete KEY and its sub-keys, all or nothing"},
      {"/S, /V, /L:..., /R:..., /M", "Accepted; they change nothing (no dialog is ever shown)"},
      {"--", "End the options: every argument after it is a file or a key, whatever it looks like"},
      {"--command-line LINE", "Take the arguments as one Windows-style command line"},
  };
#ifndef _WIN32
  entries.push_back({std::string(tools::kRegistryOptionName) + " FILE", tools::kRegistryOptionHelp});
#endif
  entries.push_back({"--help, -h, /?", "Print this text"});
  entries.push_back({"--version", "Print the version"});
  return entries;
}

std::vector<tools::HelpEntry> EditorKeyEntries() {
  return {
      {"Up, Down, PgUp, PgDn, Home, End", "move in the pane that has the focus"},
      {"Tab", "switch between the keys and the values"},
      {"Right, Enter (keys)", "expand the key"},
      {"Left", "collapse the key, or go to its parent"},
      {"Mouse click", "select; a double click expands a key or edits a value"},
      {"k", "new key under the selected key"},
      {"v", "new value: its type, its name, then its data"},
      {"Enter, e (values)", "edit the value's data"},
      {"r, F2", "rename the selected key or value"},
      {"d, Del", "delete the selected key with its sub-keys, or value (asks first)"},
      {"g", "go to a typed key path"},
      {"c", "copy the key's path; Ctrl-V pastes it into a question"},
      {"f, Ctrl-F", "find below the key or in the whole registry"},
      {"F3, . and ,", "next and previous match"},
      {"l", "list of the matches to choose from"},
      {"R", "replace (shows what will change, asks first; cannot be undone)"},
      {"x and X", "export the key, or the whole registry, to a .reg file"},
      {"i", "import a .reg file"},
      {"u, Ctrl-Z", "undo the last change (the status line names it)"},
      {"F10, m", "menu of all commands, with their keys"},
      {"F1, ?", "these keys"},
      {"a", "the About box"},
      {"q", "quit"},
      {"In a question",
       "Esc cancels; the old text is selected: the first key typed replaces it, the arrows keep "
       "it to edit, Up brings it back; Ctrl-U empties the line"},
      {"Multi-string data", "one entry a line; Ctrl-D ends"},
  };
}

std::string UsageText() {
  const std::string name = kProgramName;
#ifdef _WIN32
  std::string text = "Usage: " + name + " [OPTION]... [FILE | KEY]...\n";
#else
  std::string text = "Usage: " + name + " [--registry FILE] [OPTION]... [FILE | KEY]...\n";
  text += "       " + name + "    (no arguments, on a terminal: the full-screen editor)\n";
#endif
  text += "Options:\n" + tools::HelpColumns(OptionEntries());
  text +=
      "A file named \"-\" is standard input (import) or standard output (export). Switches start with \"/\"\n"
      "or \"-\", in any letter case.\n";
#ifndef _WIN32
  text += "Keys of the full-screen editor:\n" + tools::HelpColumns(EditorKeyEntries(), 36);
#endif
  return text;
}

}  // namespace orvane::regedit
