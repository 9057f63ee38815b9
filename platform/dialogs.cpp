// Dialog mode selection, captions, and the text form of dialogs written to
// standard error when there is no terminal to show them on.
#include "platform/dialogs.h"

#ifdef _WIN32
#include <io.h>
#define ORVANE_IS_TERMINAL(fd) _isatty(fd)
#else
#include <unistd.h>
#define ORVANE_IS_TERMINAL(fd) isatty(fd)
#endif

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <optional>

#include "platform/dialog_terminal.h"

namespace orvane::platform {
namespace {

std::optional<DialogMode> chosen_mode;

DialogMode ModeFromEnvironment() {
  const char* value = std::getenv("ORVANE_DIALOGS");
  if (value && std::strcmp(value, "text") == 0) return DialogMode::kText;
  if (value && std::strcmp(value, "terminal") == 0) return DialogMode::kTerminal;
  return DialogMode::kAutomatic;
}

// A dialog drawn on standard error and answered on standard input must
// not hold up a pipeline whose output goes elsewhere: all three count.
[[maybe_unused]] bool AllStandardStreamsAreTerminals() {
  return ORVANE_IS_TERMINAL(0) && ORVANE_IS_TERMINAL(1) && ORVANE_IS_TERMINAL(2);
}

// The text form:  [Title]  then each line indented, then the buttons.
void WriteDialogText(const DialogContent& content) {
  std::string text = "[" + content.title + "]\n";
  for (const std::string& line : content.lines) text += "  " + line + "\n";
  text += " ";
  for (const std::string& button : content.buttons) text += " < " + PlainCaption(button) + " >";
  std::cerr << text << "\n";
  std::cerr.flush();
}

}  // namespace

void SetDialogMode(DialogMode mode) { chosen_mode = mode; }

DialogMode CurrentDialogMode() { return chosen_mode ? *chosen_mode : ModeFromEnvironment(); }

DialogMode ResolveDialogMode(DialogMode container, DialogMode process, bool all_terminals) {
  if (container != DialogMode::kAutomatic) return container;
  if (process != DialogMode::kAutomatic) return process;
  return all_terminals ? DialogMode::kTerminal : DialogMode::kText;
}

void ShowModalDialog(const DialogContent& content, const ButtonHandler& on_button, DialogMode container) {
#ifdef _WIN32
  const bool interactive = true;  // Windows shows dialogs as windows
#else
  const bool interactive = AllStandardStreamsAreTerminals();
#endif
  const DialogMode mode = ResolveDialogMode(container, CurrentDialogMode(), interactive);
  if (mode == DialogMode::kTerminal && RunTerminalDialog(content, on_button)) return;
  if (mode != DialogMode::kSilent) WriteDialogText(content);
  if (!content.buttons.empty()) on_button(content.default_button);
}

void ShowMessageBox(const std::string& text, const std::string& title, DialogMode container) {
  DialogContent content{title, {text}, {"OK"}, 0};
  ShowModalDialog(content, [](size_t) { return true; }, container);
}

std::string PlainCaption(const std::string& caption) {
  std::string plain;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && i + 1 < caption.size()) ++i;
    plain += caption[i];
  }
  return plain;
}

char AccessKey(const std::string& caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] != '&') return static_cast<char>(std::tolower(static_cast<unsigned char>(caption[i + 1])));
    ++i;
  }
  return 0;
}

}  // namespace orvane::platform
