// darcalim-batch as a user runs it: the built command over scratch copies of
// the cases of tests/cases and a broken case, on two threads.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include <sys/wait.h>

#include <nlohmann/json.hpp>

#include "common/file_access.h"
#include "driver/run_result.h"
#include "tests/support/case_folder.h"
#include "tests/support/file_text.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/shell_command.h"
#include "tests/support/shipped_cases.h"
#include "tools/csv_text.h"

namespace darcalim {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string without_blanks(const std::string& text) {
  const auto first = text.find_first_not_of(' ');
  return first == std::string::npos ? "" : text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::vector<std::string> case_names() {
  return darcalim::testing::shipped_case_names(DARCALIM_CASES_DIR);
}

std::map<std::string, std::string> folder_files(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::directory_iterator(folder))
    files[entry.path().filename().string()] = file_text(entry.path());
  return files;
}

// The last forecast record of a folder's appended forecast file (named on
// line 6 of the case data file), as the summary must give it, and the
// confidence level of the case (line 8).
struct Record {
  std::string station, year, week, level;
  std::vector<std::string> value, lower, upper;  // the six F9.1 fields of each line, without blanks
};

Record last_record(const fs::path& folder) {
  const std::string case_file = without_blanks(lines_of(file_text(folder / "CASO.DAT")).at(0));
  const auto case_lines = lines_of(file_text(folder / case_file));
  const std::string forecast_file = without_blanks(case_lines.at(5));
  const auto lines = lines_of(file_text(folder / forecast_file));
  const std::size_t n = lines.size();
  Record r;
  r.level = without_blanks(case_lines.at(7));
  r.station = without_blanks(lines.at(n - 3).substr(0, 8));
  r.year = without_blanks(lines[n - 3].substr(10, 4));
  r.week = without_blanks(lines[n - 3].substr(22, 2));
  for (std::size_t k = 0; k < 6; ++k) {
    r.value.push_back(without_blanks(lines[n - 3].substr(24 + 9 * k, 9)));
    r.lower.push_back(without_blanks(lines[n - 2].substr(24 + 9 * k, 9)));
    r.upper.push_back(without_blanks(lines[n - 1].substr(24 + 9 * k, 9)));
  }
  return r;
}

// What the summary says of one folder: its state and message, and its rows.
struct FolderSummary {
  std::string state, message, station, year, week, level;
  std::vector<std::string> leads, value, lower, upper, model;
};

std::map<std::string, FolderSummary> read_csv_summary(const std::string& text) {
  const auto lines = lines_of(text);
  EXPECT_EQ(lines.at(0),
            "location_id,location_name,issue_year,issue_week,lead_weeks,target_week,value,lower,upper,level,model,"
            "unit,folder,state,message");
  std::map<std::string, FolderSummary> out;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const auto f = csv_fields(lines[i]);
    EXPECT_EQ(f.size(), 15u) << lines[i];
    if (f.size() != 15) continue;
    FolderSummary& s = out[fs::path(f[12]).filename().string()];
    s.station = f[0], s.year = f[2], s.week = f[3], s.state = f[13], s.message = f[14];
    if (f[4].empty()) continue;  // a stopped run: no forecast
    s.level = f[9];
    EXPECT_EQ(f[11], "m3/s");
    s.leads.push_back(f[4]), s.value.push_back(f[6]), s.lower.push_back(f[7]), s.upper.push_back(f[8]);
    s.model.push_back(f[10]);
  }
  return out;
}

// The JSON numbers written back as F9.1 texts, to compare them with the record.
std::string one_decimal(const nlohmann::json& number) {
  if (number.is_null()) return "";
  std::ostringstream text;
  text.setf(std::ios::fixed);
  text.precision(1);
  text << number.get<double>();
  return text.str();
}

std::map<std::string, FolderSummary> read_json_summary(const std::string& text) {
  const nlohmann::json summary = nlohmann::json::parse(text);
  EXPECT_EQ(summary.at("schema").at("version"), 1);
  std::map<std::string, FolderSummary> out;
  for (const auto& series : summary.at("timeSeries")) {
    FolderSummary& s = out[fs::path(series.at("folder").get<std::string>()).filename().string()];
    const auto& h = series.at("header");
    s.state = series.at("state");
    s.message = series.at("message");
    s.station = h.at("locationId").is_null() ? "" : h.at("locationId").get<std::string>();
    s.year = h.at("issueYear").is_null() ? "" : std::to_string(h.at("issueYear").get<int>());
    s.week = h.at("issueWeek").is_null() ? "" : std::to_string(h.at("issueWeek").get<int>());
    s.level = h.at("confidenceLevel").is_null() ? "" : std::to_string(h.at("confidenceLevel").get<int>());
    EXPECT_EQ(h.at("units"), "m3/s");
    EXPECT_TRUE(h.at("missVal").is_null());
    EXPECT_TRUE(h.contains("parameterId") && h.contains("timeStep") && h.contains("forecastDate"));
    for (const auto& e : series.at("events")) {
      s.leads.push_back(std::to_string(e.at("leadWeeks").get<int>()));
      s.value.push_back(one_decimal(e.at("value")));
      s.lower.push_back(one_decimal(e.at("lower")));
      s.upper.push_back(one_decimal(e.at("upper")));
      s.model.push_back(e.at("model"));
    }
  }
  return out;
}

// Runs darcalim-batch with `arguments`, in the folder `where` when one is given.
CommandOutcome run_batch_command(const fs::path& scratch, const std::string& arguments, const fs::path& where = {}) {
  std::string command;
  if (!where.empty()) command.append("cd '").append(where.string()).append("' && ");
  command.append("'").append(DARCALIM_BATCH_EXE).append("' ").append(arguments);
  return run_shell_command(command, scratch);
}

class BatchOfCases : public ::testing::TestWithParam<std::string> {};

TEST_P(BatchOfCases, EveryFolderAsASingleRunAndTheSummaryAsTheRecords) {
  ScratchFolder scratch;
  const fs::path cases = scratch.path() / "cases";
  std::string folders;
  fs::create_directories(cases);
  for (const std::string& name : case_names()) {
    fs::copy(fs::path(DARCALIM_CASES_DIR) / name / "input", cases / name);
    folders += " '" + (cases / name).string() + "'";
  }
  fs::create_directories(cases / "broken");
  std::ofstream(cases / "broken" / "CASO.DAT") << "MISSING.DAT\n";
  folders += " '" + (cases / "broken").string() + "'";
  fs::permissions(cases, fs::perms::owner_all, fs::perm_options::add);
  for (const auto& entry : fs::recursive_directory_iterator(cases)) {
    fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add);
  }
  const fs::path summary = scratch.path() / ("summary." + GetParam());
  const fs::path consoles = scratch.path() / "console";

  const CommandOutcome o = run_batch_command(
      scratch.path(), "--jobs 2 --summary '" + summary.string() + "' --console '" + consoles.string() + "'" + folders);

  EXPECT_EQ(o.status, 1) << o.err;
  const std::map<std::string, FolderSummary> rows =
      GetParam() == "csv" ? read_csv_summary(file_text(summary)) : read_json_summary(file_text(summary));
  std::size_t place = 0;
  for (const std::string& name : case_names()) {
    SCOPED_TRACE(name);
    ++place;
    const fs::path folder = cases / name;
    // The folder as a single run leaves it, and the run's console output apart.
    const auto expected = folder_files(fs::path(DARCALIM_CASES_DIR) / name / "expected");
    const auto actual = folder_files(folder);
    EXPECT_EQ(actual.size(), expected.size());
    for (const auto& [file, text] : expected) EXPECT_TRUE(actual.count(file) && actual.at(file) == text) << file;
    const std::string console_name = (place < 10 ? "000" : "00") + std::to_string(place) + "-" + name + ".txt";
    EXPECT_EQ(file_text(consoles / console_name), file_text(fs::path(DARCALIM_CASES_DIR) / name / "console.txt"));
    // The summary's numbers are those of the folder's forecast record.
    const Record record = last_record(folder);
    ASSERT_EQ(rows.count(name), 1u);
    const FolderSummary& s = rows.at(name);
    EXPECT_EQ(s.state, "normal end");
    EXPECT_EQ(s.station, record.station);
    EXPECT_EQ(s.year, record.year);
    EXPECT_EQ(s.week, record.week);
    EXPECT_EQ(s.level, record.level);
    EXPECT_EQ(s.leads, (std::vector<std::string>{"1", "2", "3", "4", "5", "6"}));
    EXPECT_EQ(s.value, record.value);
    EXPECT_EQ(s.lower, record.lower);
    EXPECT_EQ(s.upper, record.upper);
    EXPECT_EQ(std::count(s.model.begin(), s.model.end(), ""), 0);
    EXPECT_NE(o.out.find(name), std::string::npos);
  }
  // The broken case: stopped, reported in the summary, the table and the progress lines.
  ASSERT_EQ(rows.count("broken"), 1u);
  EXPECT_EQ(rows.at("broken").state, "stopped");
  EXPECT_NE(rows.at("broken").message.find("MISSING.DAT"), std::string::npos);
  EXPECT_TRUE(rows.at("broken").value.empty());
  const auto table = lines_of(o.out);
  const auto broken_line = std::find_if(table.begin(), table.end(),
                                        [](const std::string& l) { return l.find("broken") != std::string::npos; });
  ASSERT_NE(broken_line, table.end()) << o.out;
  EXPECT_NE(broken_line->find("stopped"), std::string::npos);
  EXPECT_NE(broken_line->find("MISSING.DAT"), std::string::npos);
  EXPECT_EQ(table.back().rfind(
                std::to_string(place + 1) + " folders: " + std::to_string(place) + " normal end, 1 stopped", 0),
            0u)
      << table.back();
  EXPECT_EQ(lines_of(o.err).size(), place + 1) << o.err;  // one progress line per folder
  EXPECT_FALSE(fs::exists(cases / "broken" / "summary.csv"));
}

INSTANTIATE_TEST_SUITE_P(Summary, BatchOfCases, ::testing::Values("csv", "json"));

// Concatenation by appending (GCC 12 mistakes some chains of + on strings
// for overlapping copies).
std::string joined(std::initializer_list<std::string_view> parts) {
  std::string s;
  for (const std::string_view part : parts) s.append(part);
  return s;
}

TEST(BatchCommand, UsageErrorsGoToStandardErrorWithStatus2) {
  ScratchFolder scratch;
  const std::string folder = scratch.path().string();
  // An unlisted case folder, and the scratch folder under another name.
  fs::create_directory(scratch.path() / "caseX");
  std::ofstream(scratch.path() / "caseX" / "CASO.DAT") << "CASOX.DAT\n";
  fs::create_directory(scratch.path() / "lists");
  fs::create_symlink(scratch.path(), scratch.path() / "lists" / "alias");
  const std::vector<std::pair<std::string, std::string>> lines = {
      {"", "no case folder"},
      {"--jobs 0 x", "invalid number of jobs"},
      {"--shard 4/3 x", "invalid shard"},
      {"--summary s.txt x", ".csv or .json"},
      {"--bogus x", "unrecognized option '--bogus'"},
      {joined({"--list '", folder, "/absent.txt'"}), "cannot read the folder list"},
      {joined({"'", folder, "' '", folder, "/.'"}), "listed twice"},
      {joined({"'", folder, "' '", folder, "/lists/alias'"}), "listed twice"},
      {joined({"--summary '", folder, "/s.csv' '", folder, "'"}), "into a case folder"},
      {joined({"--summary '", folder, "/lists/alias/s.csv' '", folder, "'"}), "into a case folder"},
      {joined({"--summary '", folder, "/caseX/RANK1.CSV' '", folder, "/lists'"}), "holds CASO.DAT"},
      {joined({"--console '", folder, "/caseX' '", folder, "/lists'"}), "holds CASO.DAT"},
      {joined({"--list '", folder, "/lists'"}), "is a folder, not a file"},
  };
  for (const auto& [arguments, reason] : lines) {
    const ScratchFolder io;
    const CommandOutcome o = run_batch_command(io.path(), arguments);
    EXPECT_EQ(o.status, 2) << arguments;
    EXPECT_EQ(o.out, "") << arguments;
    EXPECT_EQ(o.err.rfind("darcalim-batch: ", 0), 0u) << arguments << ": " << o.err;
    EXPECT_NE(o.err.find(reason), std::string::npos) << arguments << ": " << o.err;
    EXPECT_NE(o.err.find("--help"), std::string::npos) << arguments;
  }
}

// A folder where another run is under way is reported as stopped, with the
// reason, and the batch exits with 1; its files are left alone.
TEST(BatchCommand, AFolderHeldByAnotherRunIsStopped) {
  ScratchFolder scratch;
  const fs::path folder = scratch.path() / "s01";
  fs::copy(fs::path(DARCALIM_CASES_DIR) / "s01_wuerzburg_o2" / "input", folder);
  const FolderLock other_run(folder);
  ASSERT_EQ(other_run.outcome(), FolderLock::Outcome::kLocked);
  const CommandOutcome o = run_batch_command(scratch.path(), "'" + folder.string() + "'");
  EXPECT_EQ(o.status, 1) << o.err;
  EXPECT_NE(o.out.find("stopped"), std::string::npos) << o.out;
  EXPECT_NE(o.out.find("OUTRA EXECUCAO EM ANDAMENTO NA PASTA"), std::string::npos) << o.out;
  EXPECT_FALSE(fs::exists(folder / "RUNTRACE.DAT"));
}

TEST(BatchCommand, HelpVersionAndAnEmptyShard) {
  ScratchFolder scratch;
  const CommandOutcome help = run_batch_command(scratch.path(), "--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out.rfind("Usage: darcalim-batch", 0), 0u);
  const CommandOutcome version = run_batch_command(scratch.path(), "--version");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out.rfind("darcalim-batch ", 0), 0u);
  // A slice with no folder (more slices than folders) runs nothing and succeeds.
  const CommandOutcome empty =
      run_batch_command(scratch.path(), "--shard 2/2 '" + (scratch.path() / "nothing").string() + "'");
  EXPECT_EQ(empty.status, 0) << empty.err;
  EXPECT_NE(empty.out.find("0 folders: 0 normal end, 0 stopped"), std::string::npos) << empty.out;
}

// Three copies a, b, c of a quick case, listed in that order, run from the
// folder that holds them: the second of two slices holds b alone.
TEST(BatchCommand, ASliceKeepsTheListPlacesAndABareSummaryNameIsReplacedWhole) {
  ScratchFolder scratch;
  for (const char* name : {"a", "b", "c"}) {
    copy_case_input(DARCALIM_CASES_DIR, "s06_maxau_short_o3", scratch.path() / name);
  }
  std::ofstream(scratch.path() / "cases.txt") << "a\nb\nc\n";
  // An earlier summary, with a second name that must keep its text.
  std::ofstream(scratch.path() / "summary.csv") << "earlier\n";
  fs::create_hard_link(scratch.path() / "summary.csv", scratch.path() / "kept.csv");

  const CommandOutcome o = run_batch_command(
      scratch.path(), "--shard 2/2 --list cases.txt --console consoles --summary summary.csv", scratch.path());

  ASSERT_EQ(o.status, 0) << o.err;
  // The console file is numbered by the folder's place in the list, not in the slice.
  EXPECT_EQ(file_text(scratch.path() / "consoles" / "0002-b.txt"),
            file_text(fs::path(DARCALIM_CASES_DIR) / "s06_maxau_short_o3" / "console.txt"));
  EXPECT_FALSE(fs::exists(scratch.path() / "consoles" / "0001-b.txt"));
  // The summary lies in the current folder, and replaced the earlier file rather than writing into it.
  const auto rows = read_csv_summary(file_text(scratch.path() / "summary.csv"));
  EXPECT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows.count("b"), 1u);
  EXPECT_EQ(file_text(scratch.path() / "kept.csv"), "earlier\n");
  for (const auto& entry : fs::directory_iterator(scratch.path())) {
    EXPECT_NE(entry.path().filename().string().front(), '.') << "left behind: " << entry.path();
  }
}

}  // namespace
}  // namespace darcalim
