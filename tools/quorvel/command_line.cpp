#include "command_line.h"

#include "tools/common/command_line_end.h"
#include "tools/common/registry_option.h"

namespace quorvel {

std::unique_ptr<CLI::App> MakeCommandLine(CommandLineOptions& options) {
  auto app = std::make_unique<CLI::App>("The script host of the Quorvel registry control.", "quorvel");
  orvane::tools::AddVersionFlag(*app);
  app->add_option(orvane::tools::kRegistryOptionName, options.registry, orvane::tools::kRegistryOptionHelp)
      ->option_text("FILE");
  app->add_option("--platform", options.platform, "Emulated platform (nt is the default)")
      ->check(CLI::IsMember({"nt", "9x"}))
      ->option_text("nt|9x");
  app->add_option("--form", options.form, "Saved properties the first control loads instead of being new")
      ->option_text("FILE");
  app->add_flag("--design", options.design, "Report design mode to the controls (a form designer)");
  app->add_flag("--no-dialogs", options.no_dialogs,
                "Dialogs never wait: their text goes to standard error and they close at once");
  app->add_flag("--quiet", options.quiet, "As --no-dialogs, without the dialogs' text (the About box)");
  auto* statements =
      app->add_option("-e", options.statements, "Statements to run instead of a script")->option_text("STATEMENTS");
  app->add_option("script", options.script, "Script file to run")->excludes(statements)->option_text("FILE");
  return app;
}

}  // namespace quorvel
