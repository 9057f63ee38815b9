#include "tools/admin/admin_command_line.h"

#include <strings.h>

#include <string_view>

#include "tools/common/command_line_end.h"
#include "tools/common/registry_option.h"

namespace orvane::admin {
namespace {

struct RootName {
  std::string_view name;
  std::string_view abbreviation;
  HKEY root;
};

const RootName kRoots[] = {
    {"HKEY_CLASSES_ROOT", "HKCR", HKEY_CLASSES_ROOT},     {"HKEY_CURRENT_USER", "HKCU", HKEY_CURRENT_USER},
    {"HKEY_LOCAL_MACHINE", "HKLM", HKEY_LOCAL_MACHINE},   {"HKEY_USERS", "HKU", HKEY_USERS},
    {"HKEY_CURRENT_CONFIG", "HKCC", HKEY_CURRENT_CONFIG}, {"HKEY_DYN_DATA", "HKDD", HKEY_DYN_DATA},
};

bool SameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

}  // namespace

bool ParseKey(const std::string& text, HKEY* root, std::string* path) {
  const size_t slash = text.find('\\');
  const std::string_view root_part = std::string_view(text).substr(0, slash);
  *path = slash == std::string::npos ? "" : text.substr(slash + 1);
  for (const RootName& entry : kRoots) {
    if (SameText(root_part, entry.name) || SameText(root_part, entry.abbreviation)) {
      *root = entry.root;
      return true;
    }
  }
  return false;
}

namespace {

// Accepts ROOT\PATH with a known root; otherwise names the problem.
std::string CheckKey(const std::string& text) {
  HKEY root = nullptr;
  std::string path;
  return ParseKey(text, &root, &path) ? "" : "unknown root key in \"" + text + "\"";
}

}  // namespace

std::unique_ptr<CLI::App> MakeCommandLine(Command* command) {
  auto app = std::make_unique<CLI::App>("Administration of the Orvane registry store.", "orvane-registry-admin");
  tools::AddVersionFlag(*app);
  app->add_option(tools::kRegistryOptionName, command->store, tools::kRegistryOptionHelp)->option_text("FILE");
  // The option's earlier name, kept for scripts; not in the help.
  app->add_option("--store", command->store)->group("");
  app->require_subcommand(0, 1);
  app->add_subcommand("where", "Print the file of the store in use");
  app->add_subcommand("check", "Check the store's integrity; prints ok or what is wrong");
  CLI::App* recover = app->add_subcommand("recover", "Copy what can be read of a damaged store into a new file");
  recover->add_option("newfile", command->target, "The new store file; must not exist")->required();
  CLI::App* read_only = app->add_subcommand("read-only", "Make a key read-only (on) or writable again (off)");
  read_only->add_option("state", command->state, "on or off")->required()->check(CLI::IsMember({"on", "off"}));
  read_only->add_option("key", command->key, "ROOT\\PATH, ROOT a root key name or its abbreviation")
      ->required()
      ->check(CLI::Validator(CheckKey, "ROOT\\PATH"));
  return app;
}

}  // namespace orvane::admin
