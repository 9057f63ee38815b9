// Each process has a journal of its own: another process's Undo and its
// releasing a control leave this process's records alone, and a journal
// left by a process that ended is removed by the next process's first
// control. The other processes are journal_peer.exe, beside this program.
#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "com/com_client.h"

namespace orvane::testing {
namespace {

constexpr const wchar_t* kOwnKey = L"HKEY_CURRENT_USER\\Software\\OrvaneJournalOwn";
constexpr const wchar_t* kPeerKey = L"HKEY_CURRENT_USER\\Software\\OrvaneJournalPeer";

bool KeyExists(const std::wstring& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, path.substr(path.find(L'\\') + 1).c_str(), 0, KEY_READ, &key) !=
      ERROR_SUCCESS) {
    return false;
  }
  RegCloseKey(key);
  return true;
}

// The "Undo-<n>" keys below the product key.
std::set<std::wstring> Journals() {
  std::set<std::wstring> names;
  HKEY product = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Orvane", 0, KEY_READ, &product) != ERROR_SUCCESS) return names;
  wchar_t name[256];
  for (DWORD index = 0;; ++index) {
    DWORD length = 256;
    if (RegEnumKeyExW(product, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    if (std::wstring(name, length).starts_with(L"Undo-")) names.emplace(name, length);
  }
  RegCloseKey(product);
  return names;
}

// Runs journal_peer.exe with `arguments` to its end; its exit status.
DWORD RunPeer(const std::wstring& arguments) {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring program(self);
  program = program.substr(0, program.find_last_of(L'\\') + 1) + L"journal_peer.exe";
  std::wstring command = L"\"" + program + L"\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    return 1000;
  }
  WaitForSingleObject(process.hThread, INFINITE);
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD status = 1001;
  GetExitCodeProcess(process.hProcess, &status);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return status;
}

class JournalProcessTest : public ComClientTest {
 protected:
  void CreateRecorded(const wchar_t* path) {
    Var on;
    on.vt = VT_BOOL;
    on.boolVal = VARIANT_TRUE;
    Put(L"UndoEnabled", &on);
    Var location(path), none;
    Put(L"GlobalKeyPath", &location);
    ASSERT_HRESULT_SUCCEEDED(Call(L"SetKey", DISPATCH_METHOD, {}, &none));
  }

  void TearDown() override {
    Var off;
    off.vt = VT_BOOL;
    off.boolVal = VARIANT_FALSE;
    Put(L"UndoEnabled", &off);
    for (const wchar_t* path : {kOwnKey, kPeerKey}) {
      Var location(path), none;
      Put(L"GlobalKeyPath", &location);
      Call(L"DeleteKey", DISPATCH_METHOD, {}, &none);
    }
    ComClientTest::TearDown();
  }
};

TEST_F(JournalProcessTest, ProcessesKeepTheirOwnJournalsAndAnEndedOnesIsRemoved) {
  CreateRecorded(kOwnKey);
  const std::set<std::wstring> own = Journals();
  ASSERT_EQ(own.size(), 1u);

  // The peer undoes its own change, releases its control, and ends leaving a
  // recorded change behind.
  ASSERT_EQ(RunPeer(std::wstring(L"record ") + kPeerKey), 0u);
  EXPECT_TRUE(KeyExists(kOwnKey));
  std::set<std::wstring> both = Journals();
  EXPECT_EQ(both.size(), 2u);
  EXPECT_TRUE(both.contains(*own.begin()));

  // Our record survived the peer: Undo takes back our key, not the peer's.
  Var none;
  ASSERT_HRESULT_SUCCEEDED(Call(L"Undo", DISPATCH_METHOD, {}, &none));
  EXPECT_FALSE(KeyExists(kOwnKey));
  EXPECT_TRUE(KeyExists(kPeerKey));

  // The next process's first control removes the ended peer's journal only.
  CreateRecorded(kOwnKey);
  ASSERT_EQ(RunPeer(L"start"), 0u);
  EXPECT_EQ(Journals(), own);
  ASSERT_HRESULT_SUCCEEDED(Call(L"Undo", DISPATCH_METHOD, {}, &none));
  EXPECT_FALSE(KeyExists(kOwnKey));
}

}  // namespace
}  // namespace orvane::testing
