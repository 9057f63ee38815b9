// Progress of long work over keys (export, import, copy, compare): the
// count of keys gone through and their rate, drawn on one line of standard
// error ("Exporting: 1200 keys, 4000 keys/s") while the work runs and
// erased when it ends. Drawn only when standard error is a terminal, so a
// pipe or a file never receives it; at most ten times a second.
// The walkers call KeyProgress::CountKey for each key; it counts into the
// newest meter alive and does nothing when there is none. Use from the one
// thread that makes the registry calls.
#pragma once

#include <chrono>
#include <functional>
#include <ostream>
#include <string>

namespace orvane::regedit {

class KeyProgress {
 public:
  using Clock = std::function<std::chrono::steady_clock::time_point()>;

  // A meter named `label` on standard error when it is a terminal; a
  // meter that counts without drawing otherwise.
  explicit KeyProgress(std::string label);
  // A meter drawn on `terminal` (none: not drawn), reading the time from `clock`.
  KeyProgress(std::string label, std::ostream* terminal, Clock clock);
  ~KeyProgress();
  KeyProgress(const KeyProgress&) = delete;
  KeyProgress& operator=(const KeyProgress&) = delete;

  // One more key for the newest meter, if any.
  static void CountKey();
  // Erases the newest meter's line (before a question is asked on the
  // terminal); its next key draws it again.
  static void Erase();

 private:
  void Count();
  void Draw();
  void EraseLine();

  std::string label_;
  std::ostream* terminal_;
  Clock clock_;
  std::chrono::steady_clock::time_point start_;
  std::chrono::steady_clock::time_point drawn_at_;
  long long keys_ = 0;
  bool shown_ = false;
  KeyProgress* outer_;
  static KeyProgress* newest_;
};

}  // namespace orvane::regedit
