#include "tools/progress_bar.h"

#include <cstdio>

namespace darcalim {

namespace {

using Clock = std::chrono::steady_clock;

// Characters of the bar between its brackets.
constexpr std::size_t kBarWidth = 30;

}  // namespace

std::string clock_text(double seconds) {
  const long s = static_cast<long>(seconds + 0.5);
  char text[32];
  if (s >= 3600) {
    std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", s / 3600, s / 60 % 60, s % 60);
  } else {
    std::snprintf(text, sizeof text, "%ld:%02ld", s / 60, s % 60);
  }
  return text;
}

void ProgressBar::start(std::size_t total) {
  total_ = total;
  started_ = Clock::now();
  draw();
}

void ProgressBar::finished(std::size_t, std::size_t done, std::size_t failed) {
  done_ = done;
  failed_ = failed;
  draw();
}

void ProgressBar::tick() {
  draw();
}

void ProgressBar::end() {
  draw();
  out_ << "\n" << std::flush;
}

void ProgressBar::draw() {
  const std::size_t filled = total_ == 0 ? kBarWidth : done_ * kBarWidth / total_;
  const double elapsed = std::chrono::duration<double>(Clock::now() - started_).count();
  std::string line = "\r[" + std::string(filled, '#') + std::string(kBarWidth - filled, '.') + "] " +
                     std::to_string(done_) + "/" + std::to_string(total_) + "  failed " + std::to_string(failed_) +
                     "  elapsed " + clock_text(elapsed) + "  left ";
  if (done_ == 0) {
    line += "?";
  } else {
    line += clock_text(elapsed / static_cast<double>(done_) * static_cast<double>(total_ - done_));
  }
  out_ << line << "\x1b[K" << std::flush;
}

}  // namespace darcalim
