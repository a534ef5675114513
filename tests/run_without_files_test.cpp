// Runs that write no file (RunFiles::kNone, as the hindcast runs its cases),
// in process, against runs that write theirs: the same result, to the last
// character of every number and model name, and the folder left exactly as
// it was found, after a normal end and after a stop.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <sstream>
#include <string>

#include "driver/run_result.h"
#include "tests/support/case_folder.h"
#include "tests/support/file_text.h"
#include "tests/support/shipped_cases.h"

namespace darcalim {
namespace {

// Every file of a folder, by name, with its bytes.
std::map<std::string, std::string> folder_files(const std::filesystem::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    files[entry.path().filename().string()] = file_text(entry.path());
  }
  return files;
}

RunResult run_in(const CaseFolder& folder, RunFiles files, std::string& console) {
  std::ostringstream out;
  std::ostringstream errors;
  const RunResult result = run_case(folder.path(), out, errors, 1, files);
  console = out.str();
  return result;
}

void expect_same_result(const RunResult& with_files, const RunResult& without) {
  EXPECT_EQ(without.state, with_files.state);
  EXPECT_EQ(without.exit_status, with_files.exit_status);
  EXPECT_EQ(without.message, with_files.message);
  EXPECT_EQ(without.station_code, with_files.station_code);
  EXPECT_EQ(without.year, with_files.year);
  EXPECT_EQ(without.month, with_files.month);
  EXPECT_EQ(without.week, with_files.week);
  ASSERT_EQ(without.leads.size(), with_files.leads.size());
  for (std::size_t i = 0; i < without.leads.size(); ++i) {
    const LeadForecast& a = with_files.leads[i];
    const LeadForecast& b = without.leads[i];
    EXPECT_EQ(b.target_week, a.target_week);
    EXPECT_EQ(b.value_text, a.value_text);
    EXPECT_EQ(b.lower_text, a.lower_text);
    EXPECT_EQ(b.upper_text, a.upper_text);
    EXPECT_EQ(b.model, a.model);
  }
}

// A case, altered or not, run both ways in two copies.
void compare_runs(const std::string& case_name, const std::function<void(const CaseFolder&)>& edit) {
  const CaseFolder with_files(case_name);
  const CaseFolder without(case_name);
  edit(with_files);
  edit(without);
  const std::map<std::string, std::string> before = folder_files(without.path());
  std::string console_with;
  std::string console_without;
  const RunResult a = run_in(with_files, RunFiles::kWritten, console_with);
  const RunResult b = run_in(without, RunFiles::kNone, console_without);
  expect_same_result(a, b);
  EXPECT_EQ(console_without, console_with);
  EXPECT_EQ(folder_files(without.path()), before);
  EXPECT_NE(folder_files(with_files.path()).size(), before.size());  // the run that writes did write
}

class RunWithoutFiles : public ::testing::TestWithParam<std::string> {};

TEST_P(RunWithoutFiles, GivesTheSameResultAndLeavesTheFolderAsItWas) {
  compare_runs(GetParam(), [](const CaseFolder&) {});
}

INSTANTIATE_TEST_SUITE_P(Cases, RunWithoutFiles,
                         ::testing::ValuesIn(testing::shipped_case_names(DARCALIM_CASES_DIR)),
                         [](const ::testing::TestParamInfo<std::string>& case_info) { return case_info.param; });

TEST(RunWithoutFiles, StopsAsARunThatWritesItsFiles) {
  // An unreadable flow, met after the run report is open.
  compare_runs("s01_wuerzburg_o2", [](const CaseFolder& f) {
    f.replace_line("HIST1.DAT", 10, "    100.    104.    2x9.    133.     94.     85.     98.     81.    150.");
  });
}

}  // namespace
}  // namespace darcalim
