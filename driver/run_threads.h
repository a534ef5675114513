// The number of threads of a run of the program.
//
// darcalim takes no arguments: the count comes from the environment variable
// DARCALIM_THREADS, a whole number from 1 to kMaxRunThreads, and is the
// machine's hardware threads when the variable is unset or empty. With 1 the
// work is done in the order of a single thread; with more, work that does
// not depend on other work goes on side by side (see pass_windows.h). The
// outputs are the same, byte for byte, whatever the count.
//
// A setting that is not such a number throws std::invalid_argument, whose
// message names the variable and the value.
#pragma once

#include <filesystem>
#include <ostream>

namespace darcalim {

inline constexpr const char* kThreadsVariable = "DARCALIM_THREADS";
inline constexpr int kMaxRunThreads = 256;

// The count given by the setting (the variable's value, nullptr when unset).
int run_threads(const char* setting);

// The program: the case of `folder` on the threads of `setting`, and its exit
// status. A setting that is not a number of threads is refused before the run
// begins (nothing is read or written): one line on `errors`, status 1.
int run_program(const char* setting, const std::filesystem::path& folder, std::ostream& console, std::ostream& errors);

}  // namespace darcalim
