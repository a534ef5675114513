// A command line run through the shell by the tests of the companion tools,
// with what it writes kept.
//
// run_shell_command runs `command` with its standard output and error sent to
// two files of `scratch`, reads them back, removes them and returns them with
// the exit status (-1 when the shell did not exit normally).
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

#include <sys/wait.h>

#include "tests/support/file_text.h"

namespace darcalim {

struct CommandOutcome {
  int status = -1;
  std::string out, err;
};

inline CommandOutcome run_shell_command(const std::string& command, const std::filesystem::path& scratch) {
  const std::filesystem::path out = scratch / "stdout.txt";
  const std::filesystem::path err = scratch / "stderr.txt";
  // Built by appending: GCC 12 mistakes a chain of + on strings for an
  // overlapping copy (-Wrestrict).
  std::string line = command;
  line.append(" > '").append(out.string()).append("' 2> '").append(err.string()).append("'");
  const int status = std::system(line.c_str());
  CommandOutcome o;
  o.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  o.out = file_text(out);
  o.err = file_text(err);
  std::filesystem::remove(out);
  std::filesystem::remove(err);
  return o;
}

}  // namespace darcalim
