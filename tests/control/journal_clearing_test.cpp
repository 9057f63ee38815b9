// Switching undo off, and destroying a control, empty the process's journal.
#include <gtest/gtest.h>

#include "control/control_fixture.h"
#include "platform/win32_registry.h"
#include "undo/journal.h"

namespace orvane {
namespace {

void CreateKey(const std::string& path) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, 0x3F, nullptr, &key, nullptr), 0);
  RegCloseKey(key);
}

bool KeyExists(const std::string& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, 0x3F, &key) != 0) return false;
  RegCloseKey(key);
  return true;
}

using JournalClearing = ControlTest;

TEST_F(JournalClearing, UndoEnabledFalseClearsTheJournalTrueKeepsIt) {
  CreateKey(JournalKeyPath() + "\\Undo#0");
  control_.UndoEnabled(true);
  EXPECT_TRUE(KeyExists(JournalKeyPath()));
  Quorvel other(container_);
  other.UndoEnabled(false);
  EXPECT_FALSE(KeyExists(JournalKeyPath()));
  EXPECT_FALSE(control_.UndoEnabled());
}

TEST_F(JournalClearing, DestroyingAControlClearsTheJournal) {
  auto doomed = std::make_unique<Quorvel>(container_);
  CreateKey(JournalKeyPath() + "\\Undo#0");
  doomed.reset();
  EXPECT_FALSE(KeyExists(JournalKeyPath()));
}

}  // namespace
}  // namespace orvane
