#include "tools/regedit/command_line.h"

namespace orvane::regedit {
namespace {

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool IsLongOption(const std::string& arg) { return arg.size() > 2 && arg.compare(0, 2, "--") == 0; }

bool IsOption(const std::string& arg) {
  if (arg.size() < 2 || (arg[0] != '/' && arg[0] != '-')) return false;
  return arg.size() == 2 || arg[2] == ':' || IsLongOption(arg);
}

// The actions the options asked for.
struct Requested {
  bool usage = false;
  bool version = false;
  int count = 0;
  Action action = Action::kImport;
  bool joined_path = false;  // /C: the words after it are one path
};

void Choose(Action action, Requested* requested) {
  if (requested->count == 0 || requested->action != action) ++requested->count;
  requested->action = action;
}

// Notes the Windows switch letter `letter`; false for an unknown one.
bool ApplySwitch(char letter, Requested* requested) {
  switch (UpperAscii(letter)) {
    case 'E':
      Choose(Action::kExport, requested);
      return true;
    case 'C':
      Choose(Action::kReplace, requested);
      requested->joined_path = true;
      return true;
    case 'D':
      Choose(Action::kDelete, requested);
      return true;
    case '?': case 'H':
      requested->usage = true;
      return true;
    case 'S': case 'V': case 'L': case 'M': case 'R':
      return true;
    default:
      return false;
  }
}

struct LongOption {
  std::string_view name;
  Action action;
};

constexpr LongOption kLongOptions[] = {
    {"--export", Action::kExport}, {"--import", Action::kImport}, {"--replace-all", Action::kReplace},
    {"--delete", Action::kDelete}, {"--help", Action::kUsage},    {"--version", Action::kVersion},
};

// Notes the long option `arg`; false for an unknown one.
bool ApplyLongOption(const std::string& arg, Requested* requested) {
  for (const LongOption& option : kLongOptions) {
    if (arg != option.name) continue;
    if (option.action == Action::kUsage) requested->usage = true;
    else if (option.action == Action::kVersion) requested->version = true;
    else Choose(option.action, requested);
    return true;
  }
  return false;
}

bool ApplyOption(const std::string& arg, Requested* requested) {
  return IsLongOption(arg) ? ApplyLongOption(arg, requested) : ApplySwitch(arg[1], requested);
}

bool CheckArguments(Command* command, bool joined_path, std::string* error) {
  std::vector<std::string>& args = command->args;
  switch (command->action) {
    case Action::kUsage:
    case Action::kVersion:
      return true;
    case Action::kExport:
      if (args.empty()) *error = "No file name was given for the export.";
      else if (args.size() > 2) *error = "Too many arguments for the export.";
      if (args.size() == 1) args.emplace_back();
      return error->empty();
    case Action::kDelete:
      if (args.size() != 1) *error = "The delete option needs exactly one key.";
      return error->empty();
    case Action::kReplace: {
      if (!joined_path && args.size() > 1) *error = "The replace option takes exactly one file.";
      if (!error->empty()) return false;
      // After /C the file may come unquoted: its words are one path.
      std::string path;
      for (const std::string& arg : args) path += (path.empty() ? "" : " ") + arg;
      args.assign(1, path);
      if (path.empty()) *error = "No file name was given.";
      return error->empty();
    }
    case Action::kImport:
      if (args.empty()) *error = "No file name was given.";
      return error->empty();
  }
  return false;
}

}  // namespace

bool ParseCommand(const std::vector<std::string>& args, Command* command, std::string* error) {
  *command = Command{};
  error->clear();
  Requested requested;
  size_t i = 0;
  for (; i < args.size() && IsOption(args[i]); ++i) {
    if (args[i] == "--") {
      ++i;
      break;
    }
    if (!ApplyOption(args[i], &requested)) {
      *error = "Invalid switch [" + args[i] + "]";
      return false;
    }
  }
  if (requested.usage || requested.version) {
    command->action = requested.usage ? Action::kUsage : Action::kVersion;
    return true;
  }
  if (requested.count > 1) {
    *error = "Only one action may be given: /C, /D, /E, --replace-all, --delete, --export or --import.";
    return false;
  }
  command->action = requested.action;
  command->args.assign(args.begin() + static_cast<std::ptrdiff_t>(i), args.end());
  return CheckArguments(command, requested.joined_path, error);
}

}  // namespace orvane::regedit
