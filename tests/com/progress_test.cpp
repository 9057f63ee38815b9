// Find moving a real progress bar of the host: the messages it sends, as
// the bar received them, and the bar's range and position afterwards.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "com/com_client.h"

namespace orvane::testing {
namespace {

constexpr const wchar_t* kTestKey = L"HKEY_CURRENT_USER\\Software\\OrvaneProgress";

// The bar's messages, recorded by a subclass procedure, and the highest
// position the bar reached.
std::string message_log;
int highest_position = 0;
WNDPROC original_procedure = nullptr;

void Log(const std::string& entry) { message_log += (message_log.empty() ? "" : "; ") + entry; }

LRESULT CALLBACK Recording(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == PBM_SETRANGE32) Log("SETRANGE32 " + std::to_string(wparam) + " " + std::to_string(lparam));
  if (message == PBM_SETPOS) Log("SETPOS " + std::to_string(wparam));
  if (message == PBM_DELTAPOS) Log("DELTAPOS " + std::to_string(wparam));
  const LRESULT result = CallWindowProcA(original_procedure, window, message, wparam, lparam);
  const int position = static_cast<int>(CallWindowProcA(original_procedure, window, PBM_GETPOS, 0, 0));
  if (position > highest_position) highest_position = position;
  return result;
}

class ProgressTest : public ComClientTest {
 protected:
  void TearDown() override {
    if (bar_ != nullptr) DestroyWindow(bar_);
    if (control_ != nullptr) {
      Var path(kTestKey), none;
      Put(L"GlobalKeyPath", &path);
      Call(L"DeleteKey", DISPATCH_METHOD, {}, &none);
    }
    ComClientTest::TearDown();
  }

  void MakeKey(const std::wstring& name) {
    Var path((std::wstring(kTestKey) + L"\\" + name).c_str()), none;
    Put(L"GlobalKeyPath", &path);
    ASSERT_HRESULT_SUCCEEDED(Call(L"SetKey", DISPATCH_METHOD, {}, &none));
  }

  HWND bar_ = nullptr;
};

TEST_F(ProgressTest, FindSetsTheRangeStepsOncePerKeyAndEndsAtZero) {
  for (const wchar_t* name : {L"A", L"B", L"C", L"A\\Deep"}) MakeKey(name);
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_PROGRESS_CLASS};
  ASSERT_TRUE(InitCommonControlsEx(&classes));
  bar_ = CreateWindowExA(0, PROGRESS_CLASSA, "", WS_POPUP | WS_VISIBLE, 0, 0, 200, 20, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(bar_, nullptr);
  original_procedure = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(bar_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Recording)));
  message_log.clear();
  highest_position = 0;

  Var path(kTestKey), text(L"x"), mode(1L), yes(0L), no(0L), window(static_cast<long>(reinterpret_cast<intptr_t>(bar_)));
  yes.vt = no.vt = VT_BOOL;
  yes.boolVal = VARIANT_TRUE;
  no.boolVal = VARIANT_FALSE;
  Var omitted, result;
  omitted.vt = VT_ERROR;
  omitted.scode = DISP_E_PARAMNOTFOUND;
  Put(L"GlobalKeyPath", &path);
  ASSERT_HRESULT_SUCCEEDED(
      Call(L"Find", DISPATCH_METHOD, {&text, &mode, &yes, &no, &no, &omitted, &omitted, &window}, &result));

  EXPECT_EQ(message_log, "SETRANGE32 0 3; SETPOS 0; DELTAPOS 1; DELTAPOS 1; DELTAPOS 1; DELTAPOS 1; SETPOS 0");
  EXPECT_EQ(highest_position, 3);  // the bar stops at the end of its range
  PBRANGE range{};
  SendMessageA(bar_, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
  EXPECT_EQ(range.iLow, 0);
  EXPECT_EQ(range.iHigh, 3);
  EXPECT_EQ(SendMessageA(bar_, PBM_GETPOS, 0, 0), 0);
}

}  // namespace
}  // namespace orvane::testing
