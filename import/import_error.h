// The refusal of input that darcalim-import cannot use.
//
// The message names the file and, where there is one, the line and column
// at fault: "flows.csv, line 12, column 2: "1O2" is not a number". The
// command prints it and exits with status 1, having written nothing.
#pragma once

#include <stdexcept>
#include <string>

namespace darcalim::import {

class ImportError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// "FILE, line N" and "FILE, line N, column C" (column 0: none).
std::string place(const std::string& file, int line, int column = 0);

}  // namespace darcalim::import
