#include "tools/regedit/key_progress.h"

#ifdef _WIN32
#include <io.h>
#define ORVANE_STDERR_IS_TERMINAL() (_isatty(2) != 0)
#else
#include <unistd.h>
#define ORVANE_STDERR_IS_TERMINAL() (isatty(STDERR_FILENO) == 1)
#endif

#include <iostream>

namespace orvane::regedit {
namespace {

constexpr std::chrono::milliseconds kRedrawInterval{100};

std::ostream* TerminalStandardError() { return ORVANE_STDERR_IS_TERMINAL() ? &std::cerr : nullptr; }

}  // namespace

KeyProgress* KeyProgress::newest_ = nullptr;

KeyProgress::KeyProgress(std::string label)
    : KeyProgress(std::move(label), TerminalStandardError(), std::chrono::steady_clock::now) {}

KeyProgress::KeyProgress(std::string label, std::ostream* terminal, Clock clock)
    : label_(std::move(label)), terminal_(terminal), clock_(std::move(clock)), start_(clock_()), outer_(newest_) {
  newest_ = this;
}

KeyProgress::~KeyProgress() {
  EraseLine();
  newest_ = outer_;
}

void KeyProgress::CountKey() {
  if (newest_ != nullptr) newest_->Count();
}

void KeyProgress::Erase() {
  if (newest_ != nullptr) newest_->EraseLine();
}

void KeyProgress::Count() {
  ++keys_;
  if (terminal_ == nullptr) return;
  const auto now = clock_();
  if (shown_ && now - drawn_at_ < kRedrawInterval) return;
  drawn_at_ = now;
  Draw();
}

void KeyProgress::Draw() {
  *terminal_ << '\r' << label_ << ": " << keys_ << (keys_ == 1 ? " key" : " keys");
  const double seconds = std::chrono::duration<double>(drawn_at_ - start_).count();
  if (seconds > 0) *terminal_ << ", " << static_cast<long long>(static_cast<double>(keys_) / seconds) << " keys/s";
  *terminal_ << "\x1b[K" << std::flush;
  shown_ = true;
}

void KeyProgress::EraseLine() {
  if (!shown_) return;
  *terminal_ << "\r\x1b[K" << std::flush;
  shown_ = false;
}

}  // namespace orvane::regedit
