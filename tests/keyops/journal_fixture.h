// A fresh registry store per test with undo switched off at the start and
// the end, and the journal's records read back from the store as text.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "undo/undo_enabled.h"
#include "keyops/registry_text.h"
#include "support/temp_registry.h"
#include "undo/journal.h"

namespace orvane::testing {

class JournalTest : public ::testing::Test {
 protected:
  JournalTest() { SetUndoEnabledFlag(false); }
  ~JournalTest() override { SetUndoEnabledFlag(false); }

  // Record `index` ("Undo#" + index) as TreeText; "<missing>" if absent.
  static std::string Record(int index) {
    return TreeText(HKEY_LOCAL_MACHINE, JournalKeyPath() + "\\Undo#" + std::to_string(index));
  }
  // The number of records; -1 when there is no journal key.
  static int RecordCount() { return SubKeyCount(HKEY_LOCAL_MACHINE, JournalKeyPath()); }
  static bool TempUndoThere() { return KeyThere(HKEY_LOCAL_MACHINE, TempUndoKeyPath()); }

  TempRegistry registry_;
};

}  // namespace orvane::testing
