#include "driver/run_threads.h"

#include <charconv>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>

#include "common/run_stop.h"
#include "driver/run_result.h"

namespace darcalim {

int run_threads(const char* setting) {
  const std::string_view text = setting == nullptr ? std::string_view() : std::string_view(setting);
  if (text.empty()) {
    const unsigned hardware = std::thread::hardware_concurrency();
    if (hardware == 0) return 1;
    return hardware > static_cast<unsigned>(kMaxRunThreads) ? kMaxRunThreads : static_cast<int>(hardware);
  }
  int count = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
  if (error != std::errc() || end != text.data() + text.size() || count < 1 || count > kMaxRunThreads) {
    throw std::invalid_argument(std::string(kThreadsVariable) + "=" + printable(text) +
                                ": not a number of threads from 1 to " + std::to_string(kMaxRunThreads));
  }
  return count;
}

int run_program(const char* setting, const std::filesystem::path& folder, std::ostream& console, std::ostream& errors) {
  int threads = 1;
  try {
    threads = run_threads(setting);
  } catch (const std::invalid_argument& refused) {
    errors << "darcalim: " << refused.what() << "\n";
    return 1;
  }
  return run_case(folder, console, errors, threads).exit_status;
}

}  // namespace darcalim
