// DARCALIM: forecast of the mean weekly flow of a river for six weeks.
// Runs the case of the current folder; takes no arguments.
#include <filesystem>
#include <iostream>

#include "driver/run_result.h"

int main() {
  const int status = darcalim::run_case(std::filesystem::current_path(), std::cout).exit_status;
  std::cout.flush();
  return status;
}
