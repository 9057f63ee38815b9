// The interactive prompt's history kept from one run to the next: one
// entry a line in $XDG_STATE_HOME/orvane/history (an absolute path), else
// ~/.local/state/orvane/history. Missing folders are created with mode
// 0700 and the file with 0600. A name that exists and is not a plain file
// (a link, a folder, a pipe) is never read or written: the history then
// lives for the session only. One object per session; one thread.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace quorvel {

// The history file for the environment of this process; empty when
// neither XDG_STATE_HOME (absolute) nor HOME is set.
std::filesystem::path DefaultHistoryPath();

class HistoryFile {
 public:
  // Keeps at most `limit` entries: older ones are dropped when loading.
  explicit HistoryFile(std::filesystem::path path, size_t limit = 1000);

  // The saved entries, oldest first; none when the file is missing or
  // cannot be used. Rewrites the file when it holds more than the limit.
  std::vector<std::string> Load();

  // Adds one entry at the end of the file at once, so that it is kept
  // however the session ends; false when it cannot be written.
  bool Append(const std::string& entry);

 private:
  std::filesystem::path path_;
  size_t limit_;
};

}  // namespace quorvel
