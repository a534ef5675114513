// A limit on the size of the files the process writes, as `ulimit -f` sets
// it, for the tests of a file that cannot grow (a full disk, a quota): while
// the object lives, a write past `bytes` fails with EFBIG instead of
// killing the process (its signal, SIGXFSZ, is ignored meanwhile, as the
// programs ignore it).
#pragma once

#include <sys/resource.h>

#include <csignal>

namespace darcalim {

class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    saved_handler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, saved_handler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit saved_{};
  void (*saved_handler_)(int) = SIG_DFL;
};

}  // namespace darcalim
