// Programs run as child processes (the benchmarks of whole runs).
//
// run_process starts `program` with `arguments` in `folder`, its standard
// output and error sent to /dev/null, and waits for it. It returns the exit
// status, or -1 when the program could not be started (fork failed; a
// failed chdir or exec ends the child with 127) or did not exit normally.
// With `usage`, the child's resource use (CPU times, peak resident set) is
// stored there.
#pragma once

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace darcalim {

inline int run_process(const char* program, const std::vector<std::string>& arguments,
                       const std::filesystem::path& folder, rusage* usage = nullptr) {
  // Exit status of a child that could not change folder or start the program.
  constexpr int kCannotStart = 127;
  std::vector<char*> argv{const_cast<char*>(program)};
  for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  const pid_t child = fork();
  if (child < 0) return -1;
  if (child == 0) {
    const int null = open("/dev/null", O_WRONLY);
    if (null >= 0) {
      dup2(null, STDOUT_FILENO);
      dup2(null, STDERR_FILENO);
    }
    if (chdir(folder.c_str()) != 0) _exit(kCannotStart);
    execv(program, argv.data());
    _exit(kCannotStart);
  }
  int status = 0;
  rusage ignored{};
  while (wait4(child, &status, 0, usage != nullptr ? usage : &ignored) < 0) {
    if (errno != EINTR) return -1;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Kilobytes (as getrusage and /proc give a resident set) in MB.
inline double kilobytes_to_megabytes(double kilobytes) {
  constexpr double kKilobytesPerMegabyte = 1024.0;
  return kilobytes / kKilobytesPerMegabyte;
}

}  // namespace darcalim
