// The help entries (help_entry.h) of a CLI11 command line: each option that
// --help lists, with the name and argument text CLI11 prints and its
// description. Header only.
#pragma once

#include <CLI/CLI.hpp>
#include <vector>

#include "tools/common/help_entry.h"

namespace orvane::tools {

inline std::vector<HelpEntry> CliHelpEntries(const CLI::App& app) {
  std::vector<HelpEntry> entries;
  for (const CLI::Option* option : app.get_options()) {
    if (option->get_group().empty()) continue;  // hidden
    std::string term = option->get_name(option->nonpositional() ? false : true, true);
    if (!option->get_option_text().empty()) term += " " + option->get_option_text();
    entries.push_back({term, option->get_description()});
  }
  return entries;
}

}  // namespace orvane::tools
