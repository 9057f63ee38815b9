// orvane-registry-admin: administration of the registry store.
//   orvane-registry-admin [--registry FILE] where
//   orvane-registry-admin [--registry FILE] check
//   orvane-registry-admin [--registry FILE] recover NEWFILE
//   orvane-registry-admin [--registry FILE] read-only on|off ROOT\PATH
//   orvane-registry-admin --help | --version
// ROOT is a root key name or its abbreviation (HKLM, HKCU, HKCR, HKU, HKCC,
// HKDD). Without --registry the default store is used. `check` and `recover`
// never create a store, nor change the one they read. Exit status: 0 done,
// 1 a registry status or a problem found (printed), 2 a usage error (one
// line).
#include <CLI/CLI.hpp>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <string>
#include <string_view>

#include "store/registry_store.h"
#include "store/store_recovery.h"
#include "tools/admin/admin_command_line.h"
#include "tools/common/command_line_end.h"
#include "tools/common/registry_option.h"

namespace {

namespace p = orvane::platform;
using orvane::admin::Command;
using orvane::admin::MakeCommandLine;
using orvane::admin::ParseKey;

// Reads the command line into *command; false with the exit status in
// *status when there is nothing to do (help, version, a usage error).
bool ParseCommandLine(int argc, char** argv, Command* command, int* status) {
  std::unique_ptr<CLI::App> app = MakeCommandLine(command);
  try {
    app->parse(argc, argv);
    if (app->get_subcommands().empty()) throw CLI::RequiredError("A command (where, check, recover or read-only)");
  } catch (const CLI::ParseError& error) {
    *status = orvane::tools::EndParse(*app, error);
    return false;
  }
  command->action = app->get_subcommands().front()->get_name();
  return true;
}

int ReadOnly(const Command& command) {
  HKEY root = nullptr;
  std::string path;
  ParseKey(command.key, &root, &path);
  const LONG status = p::SetRegistryKeyReadOnly(root, path.c_str(), command.state == "on");
  if (status == ERROR_SUCCESS) return 0;
  std::printf("status %d\n", static_cast<int>(status));
  return 1;
}

// The store file the command names: --registry made absolute, else the
// default one; empty, with a message, when there is none.
std::filesystem::path StoreFile(const Command& command) {
  if (!command.store.empty()) return std::filesystem::absolute(command.store);
  std::string error;
  std::filesystem::path file = p::DefaultRegistryPath(&error);
  if (file.empty()) std::fprintf(stderr, "%s\n", error.c_str());
  return file;
}

// False, with a message, when there is no store file at `file`.
bool StoreExists(const std::filesystem::path& file) {
  std::error_code error;
  if (std::filesystem::exists(file, error)) return true;
  std::fprintf(stderr, "no registry store at %s\n", file.c_str());
  return false;
}

int Check(const std::filesystem::path& file) {
  if (!StoreExists(file)) return 1;
  if (p::SelectRegistryStore(file) != ERROR_SUCCESS) return 1;
  const std::string report = p::CheckRegistryStore();
  std::printf("%s\n", report.c_str());
  return report == "ok" ? 0 : 1;
}

// The report of a recovery, one sentence a line (those in brackets only
// when they apply):
//   Saved K keys and V values in NEWFILE.
//   Lost L keys (rows that could not be read, counted by row id, or saved) and M values that could not be saved.
//   [The values of N keys could not all be read; how many were lost is not known.]
//   [The file ends P pages before the end its header gives; what they held is lost, and not counted above.]
//   [Below HKEY_LOCAL_MACHINE\Recovered, S keys named by row ids stand for lost keys, with the values that
//    could be read of them and the O keys whose parent was lost.]
//   [The file's header|first page (header and schema) was rebuilt in a copy to read it.]
void PrintReport(const p::RecoveryReport& report, const std::filesystem::path& target) {
  const auto n = [](int64_t count) { return static_cast<long long>(count); };
  std::printf("Saved %lld keys and %lld values in %s.\n", n(report.keys), n(report.values), target.c_str());
  std::printf(
      "Lost %lld keys (rows that could not be read, counted by row id, or saved) and %lld values that could not "
      "be saved.\n",
      n(report.keys_lost), n(report.values_lost));
  if (report.cut_value_lists > 0) {
    std::printf("The values of %lld keys could not all be read; how many were lost is not known.\n",
                n(report.cut_value_lists));
  }
  if (report.missing_pages > 0) {
    std::printf(
        "The file ends %lld pages before the end its header gives; what they held is lost, and not counted "
        "above.\n",
        n(report.missing_pages));
  }
  if (report.stand_ins > 0) {
    std::printf(
        "Below %s, %lld keys named by row ids stand for lost keys, with the values that could be read of them and "
        "the %lld keys whose parent was lost.\n",
        report.recovered_key.c_str(), n(report.stand_ins), n(report.orphans));
  }
  if (report.repair == "header") std::printf("The file's header was rebuilt in a copy to read it.\n");
  if (report.repair == "first page") {
    std::printf("The file's first page (header and schema) was rebuilt in a copy to read it.\n");
  }
}

int Recover(const std::filesystem::path& file, const std::filesystem::path& target) {
  if (!StoreExists(file)) return 1;
  const p::RecoveryReport report = p::RecoverStore(file, std::filesystem::absolute(target));
  if (!report.error.empty()) {
    std::fprintf(stderr, "%s\n", report.error.c_str());
    return 1;
  }
  PrintReport(report, target);
  return 0;
}

int Run(const Command& command) {
  const std::filesystem::path file = StoreFile(command);
  if (file.empty()) return 1;
  if (command.action == "where") {
    std::printf("%s\n", file.c_str());
    return 0;
  }
  if (command.action == "check") return Check(file);
  if (command.action == "recover") return Recover(file, command.target);
  if (p::SelectRegistryStore(file) != ERROR_SUCCESS) return 1;
  return ReadOnly(command);
}

}  // namespace

int main(int argc, char** argv) {
  Command command;
  if (int status = 0; !ParseCommandLine(argc, argv, &command, &status)) return status;
  int exit_code = 1;
  try {
    exit_code = Run(command);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
  } catch (...) {
    std::fprintf(stderr, "failed\n");
  }
  // A change that did not reach the store makes the run a failure.
  if (const LONG status = p::CommitRegistryWritesForExit()) {
    std::fprintf(stderr, "registry changes were not saved (status %d)\n", static_cast<int>(status));
    return 1;
  }
  return exit_code;
}
