#include "driver/run_threads.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "tests/support/scratch_folder.h"

namespace darcalim {
namespace {

TEST(RunThreads, AWholeNumberFrom1To256IsTheCount) {
  EXPECT_EQ(run_threads("1"), 1);
  EXPECT_EQ(run_threads("2"), 2);
  EXPECT_EQ(run_threads("256"), 256);
}

TEST(RunThreads, UnsetOrEmptyIsTheHardwareThreads) {
  const int hardware = std::thread::hardware_concurrency() == 0 ? 1 : static_cast<int>(std::thread::hardware_concurrency());
  EXPECT_EQ(run_threads(nullptr), hardware > kMaxRunThreads ? kMaxRunThreads : hardware);
  EXPECT_EQ(run_threads(""), run_threads(nullptr));
}

TEST(RunThreads, AnythingElseIsRefused) {
  for (const char* setting : {"0", "-1", "257", "2 ", " 2", "+2", "two", "2.0", "99999999999"}) {
    EXPECT_THROW(run_threads(setting), std::invalid_argument) << setting;
  }
}

// The refusal names the variable and shows the value safely; the run never
// begins, so the folder is left as it was.
TEST(RunThreads, TheProgramRefusesABadSettingBeforeTheRun) {
  ScratchFolder folder;
  std::ostringstream console;
  std::ostringstream errors;
  EXPECT_EQ(run_program("x\x1b", folder.path(), console, errors), 1);
  EXPECT_EQ(errors.str(), "darcalim: DARCALIM_THREADS=x\\x1B: not a number of threads from 1 to 256\n");
  EXPECT_EQ(console.str(), "");
  EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
}

}  // namespace
}  // namespace darcalim
