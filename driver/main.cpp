// DARCALIM: forecast of the mean weekly flow of a river for six weeks.
// Runs the case of the current folder; takes no arguments. Console output
// goes to standard output; the reason of a stop and warnings about the input
// go to standard error.
#include <filesystem>
#include <iostream>

#include "common/file_access.h"
#include "driver/run_result.h"

int main() {
  darcalim::ignore_file_size_signal();
  const int status = darcalim::run_case(std::filesystem::current_path(), std::cout, std::cerr).exit_status;
  std::cout.flush();
  std::cerr.flush();
  return status;
}
