// DARCALIM: forecast of the mean weekly flow of a river for six weeks.
// Runs the case of the current folder; takes no arguments. Console output
// goes to standard output; the reason of a stop and warnings about the input
// go to standard error.
#include <filesystem>
#include <iostream>

#include "driver/run_driver.h"

int main() {
  const int status = darcalim::run_darcalim(std::filesystem::current_path(), std::cout, std::cerr);
  std::cout.flush();
  std::cerr.flush();
  return status;
}
