#include "tools/stop_signal.h"

#include <atomic>
#include <csignal>

namespace darcalim {

namespace {

std::atomic<int> caught{0};
static_assert(std::atomic<int>::is_always_lock_free, "the flag must be safe to set in a signal handler");

extern "C" void note_stop_signal(int signal) { caught.store(signal); }

}  // namespace

void catch_stop_signals() {
  struct sigaction action {};
  action.sa_handler = note_stop_signal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = static_cast<int>(SA_RESETHAND);
  for (const int signal : {SIGINT, SIGTERM}) sigaction(signal, &action, nullptr);
}

int stop_signal() { return caught.load(); }

}  // namespace darcalim
