// How every program selects the registry store: `--registry FILE` before
// its other arguments, else $ORVANE_REGISTRY, else the default file. Taking
// the option puts FILE, made absolute, into ORVANE_REGISTRY, so that this
// process and every program it starts use that store. The option's words
// are here once, for each program's --help. Header only; Linux only (on
// Windows the programs use the system registry).
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace orvane::tools {

inline constexpr char kRegistryOptionName[] = "--registry";

// The option's description in every program's --help.
inline constexpr char kRegistryOptionHelp[] =
    "Registry store file for this process and the programs it starts, or a Wine prefix's folder (one "
    "holding system.reg) (without it: $ORVANE_REGISTRY, else $XDG_DATA_HOME/orvane/registry.db, else "
    "~/.local/share/orvane/registry.db)";

// Makes `file` the store of this process and of the programs it starts.
// An empty name changes nothing.
inline void UseRegistryFile(const std::string& file) {
  if (file.empty()) return;
  const std::string path = std::filesystem::absolute(file).lexically_normal().string();
  setenv("ORVANE_REGISTRY", path.c_str(), 1);
}

// For a program that reads its own command line: takes a leading
// "--registry FILE" or "--registry=FILE" off `args` and uses FILE. A
// "--registry" with no file after it stays, for the program's own usage
// error.
inline void TakeRegistryOption(std::vector<std::string>& args) {
  if (args.empty()) return;
  const std::string_view first = args[0];
  const std::string_view name = kRegistryOptionName;
  if (first == name && args.size() >= 2) {
    UseRegistryFile(args[1]);
    args.erase(args.begin(), args.begin() + 2);
  } else if (first.size() > name.size() && first.substr(0, name.size()) == name && first[name.size()] == '=') {
    UseRegistryFile(std::string(first.substr(name.size() + 1)));
    args.erase(args.begin());
  }
}

}  // namespace orvane::tools
