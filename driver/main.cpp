// DARCALIM: forecast of the mean weekly flow of a river for six weeks.
// Runs the case of the current folder; takes no arguments. Console output
// goes to standard output; the reason of a stop and warnings about the input
// go to standard error. The number of threads comes from DARCALIM_THREADS
// (driver/run_threads.h).
#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "common/file_access.h"
#include "driver/run_threads.h"

int main() {
  darcalim::ignore_file_size_signal();
  const int status = darcalim::run_program(std::getenv(darcalim::kThreadsVariable), std::filesystem::current_path(),
                                           std::cout, std::cerr);
  std::cout.flush();
  std::cerr.flush();
  return status;
}
