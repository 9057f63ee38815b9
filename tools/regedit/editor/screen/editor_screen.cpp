// The editor's main loop: draw, read a key or mouse report, act.
#include "tools/regedit/editor/screen/editor_screen.h"

#include <curses.h>

#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "orvane/error.h"
#include "platform/window_messages.h"
#include "tools/regedit/editor/editor_commands.h"
#include "tools/regedit/editor/editor_control.h"
#include "tools/regedit/editor/editor_model.h"
#include "tools/regedit/editor/screen/flows.h"
#include "tools/regedit/editor/screen/prompts.h"
#include "tools/regedit/editor/screen/terminal.h"
#include "tools/regedit/editor/screen/view.h"
#include "tools/regedit/program_name.h"

namespace orvane::regedit::editor::screen {
namespace {

constexpr int kCtrlF = 6;
constexpr int kCtrlZ = 26;

class EditorLoop {
 public:
  EditorLoop(EditorControl& control, Terminal& terminal)
      : control_(control), terminal_(terminal), commands_(control.control()), model_(commands_) {
    progress_window_ = platform::CreateProgressBarWindow();
    platform::SetProgressObserver(progress_window_, [](int64_t position, int64_t minimum, int64_t maximum) {
      View::DrawProgress(position, minimum, maximum);
    });
    model_.Say("F1 or ? shows the keys; F10 or m the menu.");
  }

  void Run() {
    while (!quit_) {
      view_.Draw(model_);
      int key = getch();
      if (key == ERR) break;  // input closed
      Handle(key);
      ShowErrorOutput();
    }
  }

 private:
  void Handle(int key);
  bool HandleMovement(int key);
  void HandleMouse();
  void Menu();
  void Help();
  void About();
  void ShowErrorOutput();

  EditorControl& control_;
  Terminal& terminal_;
  EditorCommands commands_;
  EditorModel model_;
  View view_;
  int32_t progress_window_ = -1;
  bool quit_ = false;
};

bool EditorLoop::HandleMovement(int key) {
  const long page = std::max(1, LINES - 5);
  const bool tree = model_.focus() == Pane::kTree;
  switch (key) {
    case KEY_UP: model_.Move(-1); return true;
    case KEY_DOWN: model_.Move(1); return true;
    case KEY_PPAGE: model_.Move(-page); return true;
    case KEY_NPAGE: model_.Move(page); return true;
    case KEY_HOME: model_.Move(-(1L << 30)); return true;
    case KEY_END: model_.Move(1L << 30); return true;
    case '\t': model_.SwitchPane(); return true;
    case KEY_RIGHT:
      if (tree) model_.ExpandSelected();
      else return false;
      return true;
    case KEY_LEFT:
      if (tree) model_.CollapseOrParent();
      else model_.Focus(Pane::kTree);
      return true;
    default: return false;
  }
}

void EditorLoop::Handle(int key) {
  if (HandleMovement(key)) return;
  const bool tree = model_.focus() == Pane::kTree;
  switch (key) {
    case '\n': case '\r': case KEY_ENTER:
      if (tree) model_.ExpandSelected();
      else EditValueFlow(model_);
      break;
    case 'e': if (!tree) EditValueFlow(model_); break;
    case 'k': NewKeyFlow(model_); break;
    case 'v': NewValueFlow(model_); break;
    case 'r': case KEY_F(2): RenameFlow(model_); break;
    case 'd': case KEY_DC: DeleteFlow(model_); break;
    case 'g': JumpFlow(model_); break;
    case 'c': model_.CopyPath(); break;
    case 'f': case kCtrlF: FindFlow(model_, progress_window_); break;
    case KEY_F(3): case '.': model_.NextMatch(1); break;
    case ',': model_.NextMatch(-1); break;
    case 'l': MatchListFlow(model_); break;
    case 'R': ReplaceFlow(model_, progress_window_); break;
    case 'x': ExportFlow(model_, false); break;
    case 'X': ExportFlow(model_, true); break;
    case 'i': ImportFlow(model_); break;
    case 'u': case kCtrlZ: model_.Undo(); break;
    case KEY_F(1):
    case '?':
      Help();
      break;
    case KEY_F(10): case 'm': Menu(); break;
    case 'a': About(); break;
    case KEY_MOUSE: HandleMouse(); break;
    case 'q': quit_ = true; break;
    default: break;  // KEY_RESIZE and unknown keys: the next draw fits the new size
  }
}

void EditorLoop::HandleMouse() {
  MEVENT event;
  if (getmouse(&event) != OK) return;
  const bool twice = (event.bstate & BUTTON1_DOUBLE_CLICKED) != 0;
  if (std::optional<size_t> row = view_.TreeRowAt(event.y, event.x)) {
    model_.Focus(Pane::kTree);
    if (*row >= model_.tree().rows().size()) return;
    model_.SelectKey(*row);
    if (twice && model_.tree().SelectedRow().expanded) model_.CollapseOrParent();
    else if (twice) model_.ExpandSelected();
  } else if (std::optional<size_t> value = view_.ValueRowAt(event.y, event.x)) {
    model_.Focus(Pane::kValues);
    model_.SelectValue(*value);
    if (twice) EditValueFlow(model_);
  }
}

// The menu shows each command with the keys that run it.
void EditorLoop::Menu() {
  struct Entry {
    const char* label;
    const char* keys;
    std::function<void()> action;
  };
  const std::vector<Entry> entries = {
      {"New key", "k", [this] { NewKeyFlow(model_); }},
      {"New value", "v", [this] { NewValueFlow(model_); }},
      {"Edit value", "e, Enter",
       [this] {
         model_.Focus(Pane::kValues);
         EditValueFlow(model_);
       }},
      {"Rename", "r, F2", [this] { RenameFlow(model_); }},
      {"Delete", "d, Del", [this] { DeleteFlow(model_); }},
      {"Go to key", "g", [this] { JumpFlow(model_); }},
      {"Copy key path", "c", [this] { model_.CopyPath(); }},
      {"Find", "f, Ctrl-F", [this] { FindFlow(model_, progress_window_); }},
      {"Next match", "F3, .", [this] { model_.NextMatch(1); }},
      {"Previous match", ",", [this] { model_.NextMatch(-1); }},
      {"Matches", "l", [this] { MatchListFlow(model_); }},
      {"Replace", "R", [this] { ReplaceFlow(model_, progress_window_); }},
      {"Export key", "x", [this] { ExportFlow(model_, false); }},
      {"Export registry", "X", [this] { ExportFlow(model_, true); }},
      {"Import", "i", [this] { ImportFlow(model_); }},
      {"Load hive...", "", [this] { LoadHiveFlow(model_); }},
      {"Unload hive", "", [this] { UnloadHiveFlow(model_); }},
      {"Undo", "u, Ctrl-Z", [this] { model_.Undo(); }},
      {"Help", "F1, ?", [this] { Help(); }},
      {"About", "a", [this] { About(); }},
      {"Quit", "q", [this] { quit_ = true; }},
  };
  std::vector<std::string> names;
  for (const Entry& entry : entries) {
    std::string name = entry.label;
    name.resize(18, ' ');
    names.push_back(name + entry.keys);
  }
  if (std::optional<size_t> chosen = ChooseFromList("Menu", names)) entries[*chosen].action();
}

// The last line that a started program (or the control) wrote to standard
// error joins the message line.
void EditorLoop::ShowErrorOutput() {
  std::string text = terminal_.TakeErrors();
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  if (text.empty()) return;
  std::string last = text.substr(text.find_last_of('\n') == std::string::npos ? 0 : text.find_last_of('\n') + 1);
  model_.Say(model_.message().empty() ? last : model_.message() + " - " + last, true);
}

// A command key that closes the help runs, as typed after it.
void EditorLoop::Help() {
  if (const int key = HelpFlow()) Handle(key);
}

// The About box is drawn over the editor's own screen.
void EditorLoop::About() {
  control_.ShowAboutOnRequest();
  clearok(curscr, TRUE);
}

}  // namespace

int RunFullScreenEditor() {
  try {
    EditorControl control;
    Terminal terminal;
    if (!terminal.ok()) {
      std::fprintf(stderr, "%s: this terminal cannot show the editor (TERM)\n", kProgramName);
      return 1;
    }
    EditorLoop(control, terminal).Run();
    return 0;
  } catch (const Error& error) {
    std::fprintf(stderr, "%s: %s\n", kProgramName, ErrorMessage(error.number(), error.description()).c_str());
    return 1;
  }
}

}  // namespace orvane::regedit::editor::screen
