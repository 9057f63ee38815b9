// The control in a container: sited, sized, its properties saved and loaded
// through a property bag and a stream, the About box of a new control shown
// as a real dialog, and the journal cleared by a load in design mode only.
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "com/com_client.h"
#include "com/test_container.h"

namespace orvane::testing {
namespace {

constexpr const wchar_t* kTestKey = L"HKEY_CURRENT_USER\\Software\\OrvaneContainer";
constexpr HRESULT kNoActionsToUndo = MAKE_HRESULT(1, FACILITY_CONTROL, 60100);

template <typename Interface>
Interface* As(IUnknown* object, REFIID iid) {
  Interface* out = nullptr;
  EXPECT_HRESULT_SUCCEEDED(object->QueryInterface(iid, reinterpret_cast<void**>(&out)));
  return out;
}

class ContainerTest : public ComClientTest {
 protected:
  void TearDown() override {
    if (control_ != nullptr) {
      Var off(0L), path(kTestKey), none;
      off.vt = VT_BOOL;
      Put(L"UndoEnabled", &off);
      Put(L"GlobalKeyPath", &path);
      Call(L"DeleteKey", DISPATCH_METHOD, {}, &none);
    }
    ComClientTest::TearDown();
  }

  // A second control of the same class, through IDispatch.
  IDispatch* Another() {
    CLSID clsid{};
    CLSIDFromProgID(L"RegistryEditor.Quorvel", &clsid);
    IDispatch* other = nullptr;
    EXPECT_HRESULT_SUCCEEDED(
        CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, reinterpret_cast<void**>(&other)));
    return other;
  }

  // Sets the location and a DWORD value of 7 on the control under test.
  void SetLocation() {
    Var path((std::wstring(kTestKey) + L"\\Saved").c_str()), name(L"Number"), type(4L), value(7L);
    Put(L"GlobalKeyPath", &path);
    Put(L"ValueName", &name);
    Put(L"ValueType", &type);
    Put(L"Value", &value);
  }

  // Checks that `other` holds what SetLocation set.
  void ExpectLocation(IDispatch* other) {
    std::swap(control_, other);
    Var global, name, value;
    Get(L"GlobalKeyPath", &global);
    Get(L"ValueName", &name);
    Get(L"Value", &value);
    std::swap(control_, other);
    EXPECT_EQ(Text(global), std::wstring(kTestKey) + L"\\Saved");
    EXPECT_EQ(Text(name), L"Number");
    ASSERT_EQ(value.vt, VT_I4);
    EXPECT_EQ(value.lVal, 7);
  }
};

TEST_F(ContainerTest, ASitedControlKeepsItsFixedExtentAndAsksTheAmbientUserMode) {
  TestSite site(false);
  IOleObject* object = As<IOleObject>(control_, IID_IOleObject);
  ASSERT_NE(object, nullptr);
  ASSERT_HRESULT_SUCCEEDED(object->SetClientSite(&site));
  SIZEL size{2000, 1000};
  ASSERT_HRESULT_SUCCEEDED(object->SetExtent(DVASPECT_CONTENT, &size));
  size = {};
  ASSERT_HRESULT_SUCCEEDED(object->GetExtent(DVASPECT_CONTENT, &size));
  EXPECT_EQ(size.cx, 600);
  EXPECT_EQ(size.cy, 600);
  DWORD status = 0;
  ASSERT_HRESULT_SUCCEEDED(object->GetMiscStatus(DVASPECT_CONTENT, &status));
  EXPECT_TRUE(status & OLEMISC_INVISIBLEATRUNTIME);

  TestBag bag;
  IPersistPropertyBag* persist = As<IPersistPropertyBag>(control_, IID_IPersistPropertyBag);
  ASSERT_HRESULT_SUCCEEDED(persist->Load(&bag, nullptr));
  EXPECT_GT(site.user_mode_questions, 0);
  persist->Release();
  object->SetClientSite(nullptr);
  object->Release();
}

TEST_F(ContainerTest, PropertiesSavedToABagInTheirOrderAreLoadedByAnotherControl) {
  SetLocation();
  TestBag bag;
  IPersistPropertyBag* persist = As<IPersistPropertyBag>(control_, IID_IPersistPropertyBag);
  ASSERT_HRESULT_SUCCEEDED(persist->Save(&bag, TRUE, TRUE));
  persist->Release();
  EXPECT_EQ(bag.Names(), (std::vector<std::wstring>{L"HKey", L"SubKeyPath", L"ValueName", L"ValueType", L"Value",
                                                    L"UndoEnabled", L"GlobalKeyPath"}));
  ASSERT_NE(bag.Find(L"Value"), nullptr);
  EXPECT_EQ(bag.Find(L"Value")->vt, VT_I4);  // the value as held, not as text
  ASSERT_NE(bag.Find(L"HKey"), nullptr);
  EXPECT_EQ(static_cast<unsigned long>(bag.Find(L"HKey")->lVal), 0x80000001ul);

  IDispatch* other = Another();
  ASSERT_NE(other, nullptr);
  IPersistPropertyBag* loader = As<IPersistPropertyBag>(other, IID_IPersistPropertyBag);
  ASSERT_HRESULT_SUCCEEDED(loader->Load(&bag, nullptr));
  loader->Release();
  ExpectLocation(other);
  other->Release();
}

TEST_F(ContainerTest, PropertiesSavedToAStreamAreLoadedByAnotherControl) {
  SetLocation();
  IStream* stream = nullptr;
  ASSERT_HRESULT_SUCCEEDED(CreateStreamOnHGlobal(nullptr, TRUE, &stream));
  IPersistStreamInit* persist = As<IPersistStreamInit>(control_, IID_IPersistStreamInit);
  ULARGE_INTEGER size_max{};
  ASSERT_HRESULT_SUCCEEDED(persist->GetSizeMax(&size_max));
  ASSERT_HRESULT_SUCCEEDED(persist->Save(stream, TRUE));
  EXPECT_EQ(persist->IsDirty(), S_FALSE);
  persist->Release();
  ULARGE_INTEGER written{};
  LARGE_INTEGER start{};
  stream->Seek(start, STREAM_SEEK_CUR, &written);
  EXPECT_EQ(written.QuadPart, size_max.QuadPart);
  stream->Seek(start, STREAM_SEEK_SET, nullptr);

  IDispatch* other = Another();
  ASSERT_NE(other, nullptr);
  IPersistStreamInit* loader = As<IPersistStreamInit>(other, IID_IPersistStreamInit);
  ASSERT_HRESULT_SUCCEEDED(loader->Load(stream));
  loader->Release();
  ExpectLocation(other);
  other->Release();

  // A stream that ends early is refused and changes nothing.
  IStream* short_stream = nullptr;
  ASSERT_HRESULT_SUCCEEDED(CreateStreamOnHGlobal(nullptr, TRUE, &short_stream));
  const char partial[] = {1, 0, 0, 0, 7, 0};
  short_stream->Write(partial, sizeof partial, nullptr);
  short_stream->Seek(start, STREAM_SEEK_SET, nullptr);
  IPersistStreamInit* refuser = As<IPersistStreamInit>(control_, IID_IPersistStreamInit);
  EXPECT_EQ(refuser->Load(short_stream), STG_E_READFAULT);
  refuser->Release();
  short_stream->Release();
  stream->Release();
}

// The texts of the About box's window and its children, read from another
// thread while InitNew waits for the dialog; its OK button is then pressed.
struct AboutBoxWatcher {
  std::vector<std::string> texts;
  bool found = false;

  static BOOL CALLBACK Child(HWND window, LPARAM self) {
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    reinterpret_cast<AboutBoxWatcher*>(self)->texts.push_back(text);
    return TRUE;
  }

  // Waits (polling, at most a minute) until the dialog shows with its OK
  // button, reads its texts and presses OK until it goes. Without one the
  // test fails on `found`; a dialog that never became ready is cancelled so
  // that InitNew returns instead of waiting for ever.
  void Run() {
    HWND dialog = nullptr, ok = nullptr;
    for (int attempt = 0; attempt < 1200 && ok == nullptr; ++attempt) {
      dialog = FindWindowA(nullptr, "About Orvane");
      if (dialog != nullptr && IsWindowVisible(dialog)) ok = FindWindowExA(dialog, nullptr, "Button", "OK");
      if (ok == nullptr) Sleep(50);
    }
    if (ok == nullptr) {
      if (dialog != nullptr) PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
      return;
    }
    found = true;
    EnumChildWindows(dialog, Child, reinterpret_cast<LPARAM>(this));
    for (int attempt = 0; attempt < 60 && IsWindow(dialog); ++attempt) {
      PostMessageA(ok, BM_CLICK, 0, 0);
      for (int wait = 0; wait < 20 && IsWindow(dialog); ++wait) Sleep(50);
    }
  }
};

TEST_F(ContainerTest, InitNewShowsTheAboutBoxUntilItsOkButtonIsPressed) {
  AboutBoxWatcher watcher;
  std::thread watching([&] { watcher.Run(); });
  IPersistPropertyBag* persist = As<IPersistPropertyBag>(control_, IID_IPersistPropertyBag);
  const HRESULT status = persist->InitNew();
  watching.join();
  persist->Release();
  ASSERT_TRUE(watcher.found) << "no About box was shown";
  EXPECT_HRESULT_SUCCEEDED(status);
  const std::vector<std::string>& texts = watcher.texts;
  ASSERT_EQ(texts.size(), 8u);
  EXPECT_EQ(texts[0], "Orvane");
  EXPECT_EQ(texts[1], "The fastest and easiest way to manipulate your Registry !");
  EXPECT_EQ(texts[2].rfind("Version ", 0), 0u);
  EXPECT_EQ(texts[3], "Orvane by Verrilan, written for everyone who edits the registry");
  EXPECT_EQ(texts[4], "<orvane@verrilan.example>");
  EXPECT_EQ(texts[5], "OK");
  EXPECT_EQ(texts[6], "&Quorvel...");
  EXPECT_EQ(texts[7], "&Disclaimer...");
  EXPECT_EQ(FindWindowA(nullptr, "About Orvane"), nullptr);
}

class JournalTest : public ContainerTest {
 protected:
  // Records a change with undo on, saves the properties, loads them back
  // in `user_mode`, and returns what Undo then gives.
  HRESULT UndoAfterLoad(bool user_mode, CallResult* outcome) {
    TestSite site(user_mode);
    IOleObject* object = As<IOleObject>(control_, IID_IOleObject);
    object->SetClientSite(&site);
    Var path(kTestKey), on(0L), name(L"Recorded"), value(L"x"), none;
    on.vt = VT_BOOL;
    on.boolVal = VARIANT_TRUE;
    Put(L"GlobalKeyPath", &path);
    Put(L"UndoEnabled", &on);
    Put(L"ValueName", &name);
    Put(L"Value", &value);
    EXPECT_HRESULT_SUCCEEDED(Call(L"SetValue", DISPATCH_METHOD, {}, &none));
    TestBag bag;
    IPersistPropertyBag* persist = As<IPersistPropertyBag>(control_, IID_IPersistPropertyBag);
    EXPECT_HRESULT_SUCCEEDED(persist->Save(&bag, TRUE, TRUE));
    EXPECT_HRESULT_SUCCEEDED(persist->Load(&bag, nullptr));
    persist->Release();
    const HRESULT undone = Call(L"Undo", DISPATCH_METHOD, {}, &none, outcome);
    object->SetClientSite(nullptr);
    object->Release();
    return undone;
  }
};

TEST_F(JournalTest, LoadInDesignModeClearsTheJournal) {
  CallResult outcome;
  ASSERT_EQ(UndoAfterLoad(false, &outcome), DISP_E_EXCEPTION);
  EXPECT_EQ(outcome.exception.scode, kNoActionsToUndo);
}

TEST_F(JournalTest, LoadInRunModeKeepsTheJournal) {
  CallResult outcome;
  EXPECT_EQ(UndoAfterLoad(true, &outcome), S_OK);
}

}  // namespace
}  // namespace orvane::testing
