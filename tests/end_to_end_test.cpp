// End-to-end runs: the built program runs in a scratch copy of each case
// folder of tests/cases, and every file it leaves there, and its console
// output (standard output), must equal the reviewed copies byte for byte;
// standard error stays empty after a normal end.
//
// With DARCALIM_UPDATE_GOLDEN=1 the reviewed copies are rewritten from the
// current program instead (every change is then reviewed before commit).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <sys/wait.h>

#include "tests/support/file_text.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/shipped_cases.h"

namespace darcalim {
namespace {

namespace fs = std::filesystem;

void write_file(const fs::path& p, const std::string& text) {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out << text;
}

std::map<std::string, std::string> folder_files(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.is_regular_file()) files[entry.path().filename().string()] = file_text(entry.path());
  }
  return files;
}

// Index and text of the first line where two texts differ, for the message.
std::string first_difference(const std::string& expected, const std::string& actual) {
  std::istringstream a(expected), b(actual);
  std::string la, lb;
  for (int line = 1;; ++line) {
    const bool ha = static_cast<bool>(std::getline(a, la));
    const bool hb = static_cast<bool>(std::getline(b, lb));
    if (!ha && !hb) return "texts differ only in their last line end";
    if (!ha || !hb || la != lb) {
      return "line " + std::to_string(line) + "\n  expected: " + (ha ? la : "<end>") + "\n  actual:   " +
             (hb ? lb : "<end>");
    }
  }
}

std::vector<std::string> case_names() { return darcalim::testing::shipped_case_names(DARCALIM_CASES_DIR); }

class EndToEnd : public ::testing::TestWithParam<std::string> {};

TEST_P(EndToEnd, OutputsMatchTheReviewedCopies) {
  const fs::path case_dir = fs::path(DARCALIM_CASES_DIR) / GetParam();
  ScratchFolder scratch;
  const fs::path work = scratch.path() / "case";
  fs::copy(case_dir / "input", work);
  for (const auto& entry : fs::directory_iterator(work)) {
    fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add);
  }
  const fs::path console = scratch.path() / "console.txt";
  const fs::path errors = scratch.path() / "errors.txt";
  const std::string command = "cd '" + work.string() + "' && '" + DARCALIM_EXE + "' > '" + console.string() +
                              "' 2> '" + errors.string() + "'";
  const int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << file_text(console) << file_text(errors);
  EXPECT_EQ(file_text(errors), "");

  const auto actual = folder_files(work);
  const fs::path expected_dir = case_dir / "expected";
  if (std::getenv("DARCALIM_UPDATE_GOLDEN") != nullptr) {
    fs::remove_all(expected_dir);
    fs::create_directories(expected_dir);
    for (const auto& [name, text] : actual) write_file(expected_dir / name, text);
    write_file(case_dir / "console.txt", file_text(console));
    GTEST_SKIP() << "reviewed copies rewritten";
  }
  EXPECT_EQ(file_text(console), file_text(case_dir / "console.txt"))
      << "console: " << first_difference(file_text(case_dir / "console.txt"), file_text(console));
  const auto expected = folder_files(expected_dir);
  for (const auto& [name, text] : expected) {
    const auto it = actual.find(name);
    if (it == actual.end()) {
      ADD_FAILURE() << name << " was not written";
      continue;
    }
    EXPECT_TRUE(it->second == text) << name << ": " << first_difference(text, it->second);
  }
  for (const auto& [name, text] : actual) {
    EXPECT_TRUE(expected.count(name) == 1) << name << " was written but has no reviewed copy";
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, EndToEnd, ::testing::ValuesIn(case_names()),
                         [](const ::testing::TestParamInfo<std::string>& case_info) { return case_info.param; });

}  // namespace
}  // namespace darcalim
