// A recursive read by one control method sees one state of the registry:
// while a second process copies a subtree in and deletes it again, Count
// with sub-keys and Find see the subtree whole or not at all, never part
// of it (GetAllKeys and export run in the same kind of method group).
// Both loops are bounded by counts, not by time.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <set>
#include <string>

#include "keyops/key_create_delete.h"
#include "keyops/key_transfer.h"
#include "keyops/registry_text.h"
#include "orvane/container.h"
#include "orvane/quorvel.h"
#include "store/registry_store.h"
#include "support/temp_registry.h"

namespace orvane {
namespace {

using namespace testing::tree_helpers;

constexpr int kSubtreeKeys = 150;
constexpr int kWriterRounds = 40;
constexpr int kReaderRounds = 5000;

// The second process: copies Src to Copy and deletes Copy, each one
// method, round after round; then ends without running exit handlers.
[[noreturn]] void CopyAndDeleteInALoop() {
  int status = 0;
  try {
    for (int round = 0; round < kWriterRounds; ++round) {
      {
        platform::RegistryMethodScope method;
        TransferKey(HKEY_CURRENT_USER, "Software\\Stable\\Src", HKEY_CURRENT_USER, "Software\\Stable\\Copy",
                    TransferOperation::kCopy, false);
      }
      platform::RegistryMethodScope method;
      RemoveKey(HKEY_CURRENT_USER, "Software\\Stable\\Copy", false);
    }
    platform::CommitPendingRegistryWrites();
  } catch (...) {
    status = 1;
  }
  _exit(status);
}

TEST(ConsistentRead, RecursiveReadsSeeASubtreeWholeOrNotAtAll) {
  TempRegistry registry;
  for (int i = 0; i < kSubtreeKeys; ++i) {
    PutString(HKEY_CURRENT_USER, "Software\\Stable\\Src\\k" + std::to_string(i), "v", "x");
  }
  NullContainer container;
  Quorvel control(container);
  control.GlobalKeyPath("HKEY_CURRENT_USER\\Software\\Stable");
  int32_t sub_keys = 1, values = 0, with_subtree = 1;
  EXPECT_EQ(control.Count(sub_keys, with_subtree), kSubtreeKeys + 1);  // also fills the caches
  platform::CommitPendingRegistryWrites();
  const pid_t writer = fork();
  ASSERT_GE(writer, 0);
  if (writer == 0) CopyAndDeleteInALoop();
  std::set<int32_t> key_counts, value_counts, found_counts;
  // Find of "k" in key names: the rows of Src's keys, and of Copy's.
  auto find_rows = [&control]() {
    std::string text = "k";
    int32_t partial = 1, window = 0;
    bool keys = true, no = false;
    Variant reserved;
    const Variant rows = control.Find(text, partial, keys, no, no, reserved, no, window);
    return rows.is_array() ? rows.array().upper(1) + 1 : 0;
  };
  // Reads until the writer has ended (at most kReaderRounds rounds).
  int status = 0;
  pid_t ended = 0;
  for (int round = 0; round < kReaderRounds && ended == 0; ++round) {
    key_counts.insert(control.Count(sub_keys, with_subtree));
    value_counts.insert(control.Count(values, with_subtree));
    found_counts.insert(find_rows());
    ended = waitpid(writer, &status, WNOHANG);
  }
  if (ended == 0) ended = waitpid(writer, &status, 0);
  ASSERT_EQ(ended, writer);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  const std::set<int32_t> whole_or_none_keys{kSubtreeKeys + 1, 2 * (kSubtreeKeys + 1)};
  const std::set<int32_t> whole_or_none_values{kSubtreeKeys, 2 * kSubtreeKeys};
  for (int32_t seen : key_counts) EXPECT_TRUE(whole_or_none_keys.count(seen)) << "sub-keys counted: " << seen;
  for (int32_t seen : value_counts) EXPECT_TRUE(whole_or_none_values.count(seen)) << "values counted: " << seen;
  for (int32_t seen : found_counts) EXPECT_TRUE(whole_or_none_values.count(seen)) << "keys found: " << seen;
}

}  // namespace
}  // namespace orvane
