// A stop of the run.
//
// Every orderly stop of a run (bad input, a week of zero variance, an
// unusable transformation, a file that cannot be opened) is thrown as a
// RunStop after the messages and trace codes the stop calls for have been
// written. The run's entry point catches it, writes its message to the
// console when it has one, and ends with a non-zero exit status.
//
// Every stop also carries a reason: one line saying why the run stopped, for
// callers that report many runs at once. It is the console message, or, for
// a stop whose own messages went to the console or the run report before it
// was thrown, the text of those messages.
#pragma once

#include <stdexcept>
#include <string>
#include <utility>

namespace darcalim {

class RunStop : public std::runtime_error {
 public:
  // `message` is written to the console by the entry point; it is empty when
  // the stop's own messages have already been written.
  explicit RunStop(const std::string& message = "") : std::runtime_error(message), reason_(message) {}

  // A stop whose messages have already been written; `reason` repeats them in
  // one line and is not written again.
  static RunStop after_messages(std::string reason) {
    RunStop stop;
    stop.reason_ = std::move(reason);
    return stop;
  }

  const std::string& reason() const { return reason_; }

 private:
  std::string reason_;
};

}  // namespace darcalim
