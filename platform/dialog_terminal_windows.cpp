// On Windows a modal dialog is a real dialog window built from an in-memory
// template: one static label per line, top to bottom, and the buttons left
// to right along the bottom, the default one marked as such. Each button
// runs the handler; the dialog closes when the handler returns true. The
// close box chooses the default button. The UTF-8 text becomes the
// template's UTF-16.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/dialog_terminal.h"
#include "platform/utf16_text.h"

namespace orvane::platform {
namespace {

constexpr WORD kFirstButtonId = 100;
constexpr short kWidth = 260, kLineHeight = 10, kMargin = 7, kButtonWidth = 60, kButtonHeight = 14;

class Template {
 public:
  void Word(WORD value) { words_.push_back(value); }
  void Dword(DWORD value) {
    Word(LOWORD(value));
    Word(HIWORD(value));
  }
  void Text(const std::string& text) {
    for (wchar_t c : Utf16FromUtf8(text.c_str())) Word(static_cast<WORD>(c));
    Word(0);
  }
  void AlignDword() {
    if (words_.size() % 2) Word(0);
  }
  // One control: the window class by its predefined atom (0x80 button, 0x82 static).
  void Item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD atom, const std::string& text) {
    AlignDword();
    Dword(style | WS_CHILD | WS_VISIBLE);
    Dword(0);
    for (short value : {x, y, cx, cy}) Word(static_cast<WORD>(value));
    Word(id);
    Word(0xffff);
    Word(atom);
    Text(text);
    Word(0);  // no creation data
  }
  const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  std::vector<WORD> words_;
};

struct Running {
  const DialogContent* content;
  const ButtonHandler* on_button;
};

INT_PTR CALLBACK DialogProcedure(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrA(dialog, DWLP_USER, lparam);
    return TRUE;
  }
  if (message != WM_COMMAND) return FALSE;
  const auto* running = reinterpret_cast<const Running*>(GetWindowLongPtrA(dialog, DWLP_USER));
  const WORD id = LOWORD(wparam);
  size_t button = running->content->default_button;
  if (id >= kFirstButtonId && id < kFirstButtonId + running->content->buttons.size()) {
    button = id - kFirstButtonId;
  } else if (id != IDCANCEL) {
    return FALSE;
  }
  if ((*running->on_button)(button) || id == IDCANCEL) EndDialog(dialog, static_cast<INT_PTR>(button));
  return TRUE;
}

Template Build(const DialogContent& content) {
  const short buttons_top = static_cast<short>(kMargin + kLineHeight * content.lines.size() + kMargin);
  Template dialog;
  dialog.Dword(DS_MODALFRAME | DS_CENTER | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU);
  dialog.Dword(0);
  dialog.Word(static_cast<WORD>(content.lines.size() + content.buttons.size()));
  for (short value : {short{0}, short{0}, kWidth, static_cast<short>(buttons_top + kButtonHeight + kMargin)}) {
    dialog.Word(static_cast<WORD>(value));
  }
  dialog.Word(0);  // no menu
  dialog.Word(0);  // the standard dialog class
  dialog.Text(content.title);
  dialog.Word(8);
  dialog.Text("MS Shell Dlg");
  for (size_t i = 0; i < content.lines.size(); ++i) {
    dialog.Item(SS_LEFT | SS_NOPREFIX, kMargin, static_cast<short>(kMargin + kLineHeight * i), kWidth - 2 * kMargin,
                kLineHeight, static_cast<WORD>(0xffff), 0x0082, content.lines[i]);
  }
  for (size_t i = 0; i < content.buttons.size(); ++i) {
    const DWORD style = (i == content.default_button ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | WS_TABSTOP;
    const short x = static_cast<short>(kWidth - (kMargin + kButtonWidth) * (content.buttons.size() - i));
    dialog.Item(style, x, buttons_top, kButtonWidth, kButtonHeight, static_cast<WORD>(kFirstButtonId + i), 0x0080,
                content.buttons[i]);
  }
  return dialog;
}

}  // namespace

// A system message box owns no terminal: the program runs on its own.
uint32_t StartOnDialogTerminal(const std::function<uint32_t()>& start) { return start(); }

bool RunTerminalDialog(const DialogContent& content, const ButtonHandler& on_button) {
  const Template dialog = Build(content);
  Running running{&content, &on_button};
  const INT_PTR result = DialogBoxIndirectParamA(GetModuleHandleA(nullptr), dialog.get(), GetActiveWindow(),
                                                 DialogProcedure, reinterpret_cast<LPARAM>(&running));
  return result != -1;  // -1: no window could be made; the caller writes the text instead
}

}  // namespace orvane::platform
