// The refusal of an input of the view tools: a run folder that holds no
// finished run, a file that cannot be read, a line that does not read as its
// layout says. The message names the file (and line, where there is one) and
// what is wrong; the tools print it and end with a non-zero status.
#pragma once

#include <stdexcept>
#include <string>

namespace darcalim::view {

class ViewInputError : public std::runtime_error {
 public:
  explicit ViewInputError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace darcalim::view
