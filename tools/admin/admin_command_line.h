// orvane-registry-admin's command line: what it asks for, the CLI11 parser
// that reads it and prints --help (the manual page's options are generated
// from the same parser, tools/manpages), and the reading of ROOT\PATH.
// One parser per parse.
#pragma once

#include <CLI/CLI.hpp>
#include <memory>
#include <string>

#include "platform/win32_registry.h"

namespace orvane::admin {

struct Command {
  std::string store;   // --registry (or its old name --store); empty: the default store
  std::string action;  // where, check, recover or read-only
  std::string target;  // recover: the new store file
  std::string state;   // read-only: on or off
  std::string key;     // read-only: ROOT\PATH
};

// The parser that fills `command` (all but the action: the name of the one
// subcommand given).
std::unique_ptr<CLI::App> MakeCommandLine(Command* command);

// Splits ROOT\PATH, ROOT a root key name or its abbreviation (HKLM, HKCU,
// HKCR, HKU, HKCC, HKDD) in any letter case; false for an unknown root.
bool ParseKey(const std::string& text, HKEY* root, std::string* path);

}  // namespace orvane::admin
