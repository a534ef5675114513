// A stop of the run.
//
// Every orderly stop of a run (bad input, a week of zero variance, an
// unusable transformation, a file that cannot be opened) is thrown as a
// RunStop after the messages and trace codes the stop calls for have been
// written. The run's entry point catches it, writes its message to the
// console when it has one, and ends with a non-zero exit status.
#pragma once

#include <stdexcept>
#include <string>

namespace darcalim {

class RunStop : public std::runtime_error {
 public:
  // `message` is written to the console by the entry point; it is empty when
  // the stop's own messages have already been written.
  explicit RunStop(const std::string& message = "") : std::runtime_error(message) {}
};

}  // namespace darcalim
