// darcalim-import: a daily discharge record made into the weekly flow
// history of DARCALIM, or into a whole case folder.
#include <iostream>
#include <string>
#include <vector>

#include "common/file_access.h"
#include "import/import_command.h"

int main(int argc, char** argv) {
  darcalim::ignore_file_size_signal();
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  return darcalim::import::run_import(arguments, std::cout, std::cerr);
}
