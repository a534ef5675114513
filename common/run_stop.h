// A stop of the run.
//
// Every orderly stop of a run (bad input, a week of zero variance, an
// unusable transformation, a file that cannot be opened) is thrown as a
// RunStop after the messages and trace codes the stop calls for have been
// written. The run's entry point catches it, writes its message to the
// console when it has one, writes its diagnostic as one line on standard
// error ("darcalim: " and the diagnostic), and ends with a non-zero exit
// status.
//
// The diagnostic names the file at fault and, where one is, the line: for
// instance `HIST3.DAT, line 22 (year 1950, week 7): "1O2.0" is not a number`.
// A stop thrown without one gets a diagnostic from the entry point.
//
// Every stop also carries a reason: one line saying why the run stopped, for
// callers that report many runs at once. It is the console message, or, for
// a stop whose own messages went to the console or the run report before it
// was thrown, the text of those messages (the diagnostic when there is none).
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

namespace darcalim {

class RunStop : public std::runtime_error {
 public:
  // `message` is written to the console by the entry point; it is empty when
  // the stop's own messages have already been written.
  explicit RunStop(const std::string& message = "", std::string diagnostic = "")
      : std::runtime_error(message), reason_(message), diagnostic_(std::move(diagnostic)) {}

  // A stop whose messages have already been written; `reason` repeats them in
  // one line and is not written again.
  static RunStop after_messages(std::string reason, std::string diagnostic = "") {
    RunStop stop("", std::move(diagnostic));
    stop.reason_ = std::move(reason);
    return stop;
  }

  const std::string& reason() const { return reason_.empty() ? diagnostic_ : reason_; }
  const std::string& diagnostic() const { return diagnostic_; }

 private:
  std::string reason_;
  std::string diagnostic_;
};

// "FILE, line N", or "FILE" alone when the line is not known (0).
inline std::string located(std::string_view file, int line) {
  std::string s(file);
  if (line > 0) s += ", line " + std::to_string(line);
  return s;
}

// A text read from a file, made safe to show in a message: NUL shows as \0,
// other control bytes as \xNN, a backslash as \\; a text longer than `limit`
// bytes is cut and ends with "...".
inline std::string printable(std::string_view text, std::size_t limit = 80) {
  static const char* const kHex = "0123456789ABCDEF";
  std::string s;
  const std::size_t shown = text.size() > limit ? limit : text.size();
  for (std::size_t i = 0; i < shown; ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c == 0) {
      s += "\\0";
    } else if (c == '\\') {
      s += "\\\\";
    } else if (c < 0x20 || c == 0x7F) {
      s += "\\x";
      s += kHex[c >> 4];
      s += kHex[c & 0xFu];
    } else {
      s += static_cast<char>(c);
    }
  }
  if (shown < text.size()) s += "...";
  return s;
}

}  // namespace darcalim
