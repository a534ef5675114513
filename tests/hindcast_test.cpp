// darcalim-hindcast as a user runs it: the built command over a shipped case,
// each forecast checked against a single run of the built program on a cut
// folder that this test makes itself by editing the case's text.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <thread>

#include <nlohmann/json.hpp>

#include "tests/support/file_text.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/shell_command.h"
#include "tools/csv_text.h"

namespace darcalim {
namespace {

namespace fs = std::filesystem;

const char* const kCase = "s01_wuerzburg_o2";  // HIST1.DAT: 1951-2010, 2010 observed to week 25
constexpr int kFirstYear = 1951;
constexpr int kLastYear = 2010;
constexpr int kLastObservedWeek = 25;
constexpr int kWeeks = 52;

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& l : lines) text.append(l).append("\n");
  return text;
}

std::string without_blanks(const std::string& text) {
  const auto first = text.find_first_not_of(' ');
  return first == std::string::npos ? "" : text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// Runs `command` in `folder` with TMPDIR set to `tmp`.
CommandOutcome run_command(const fs::path& folder, const fs::path& tmp, const std::string& command) {
  std::string line = "cd '";
  line.append(folder.string()).append("' && TMPDIR='").append(tmp.string()).append("' ").append(command);
  return run_shell_command(line, folder);
}

std::string hindcast_command(const std::string& arguments) {
  std::string command = "'";
  return command.append(DARCALIM_HINDCAST_EXE).append("' ").append(arguments);
}

// The flows of the history file as written (fields of 8 characters).
std::string history_field(const std::vector<std::string>& history, int year, int week) {
  const std::size_t line = 2 + static_cast<std::size_t>(year - kFirstYear) * 6 + static_cast<std::size_t>(week - 1) / 9;
  return without_blanks(history.at(line).substr(static_cast<std::size_t>((week - 1) % 9) * 8, 8));
}

// The case folder as it stood at week `week` of `year`, made by editing the
// text of the case: the history ends with that year, whose weeks from `week`
// on are 0; the recent flows come from the history.
void make_cut_folder(const fs::path& input, const fs::path& folder, int year, int week) {
  fs::create_directories(folder);
  fs::copy_file(input / "CASO.DAT", folder / "CASO.DAT");
  auto case_lines = lines_of(file_text(input / "CASO1.DAT"));
  case_lines[8] = (week < 10 ? " " : "") + std::to_string(week);
  case_lines[9] = std::to_string(year);
  case_lines[10] = "1";
  case_lines[11] = "";
  case_lines[12] = "";
  std::ofstream(folder / "CASO1.DAT", std::ios::binary) << joined(case_lines);
  auto history = lines_of(file_text(input / "HIST1.DAT"));
  history[1].replace(5, 5, " " + std::to_string(year));
  history.resize(2 + static_cast<std::size_t>(year - kFirstYear + 1) * 6);
  for (int w = week; w <= kWeeks; ++w) {
    std::string& line = history[history.size() - 6 + static_cast<std::size_t>(w - 1) / 9];
    line.replace(static_cast<std::size_t>((w - 1) % 9) * 8, 8, "      0.");
  }
  std::ofstream(folder / "HIST1.DAT", std::ios::binary) << joined(history);
}

// The six values, lower and upper limits of the last record of the appended
// forecast file PREVS.DAT, without blanks.
std::vector<std::vector<std::string>> last_record(const fs::path& folder) {
  const auto lines = lines_of(file_text(folder / "PREVS.DAT"));
  std::vector<std::vector<std::string>> record(3);
  for (std::size_t r = 0; r < 3; ++r) {
    for (std::size_t k = 0; k < 6; ++k) {
      record[r].push_back(without_blanks(lines.at(lines.size() - 3 + r).substr(24 + 9 * k, 9)));
    }
  }
  return record;
}

using IssueLead = std::tuple<int, int, int>;  // issue year, issue week, lead

TEST(HindcastCommand, OneRowPerObservedTargetEachAsASingleRunOfTheCutCase) {
  ScratchFolder scratch;
  const fs::path input = fs::path(DARCALIM_CASES_DIR) / kCase / "input";
  const fs::path tmp = scratch.path() / "tmp";
  fs::create_directories(tmp);
  const std::string before = file_text(input / "HIST1.DAT");

  const CommandOutcome o = run_command(
      scratch.path(), tmp, hindcast_command("'" + input.string() + "' --from 2009 --to 2010 --jobs 2 --out s01"));
  ASSERT_EQ(o.status, 0) << o.err;
  EXPECT_NE(o.out.find("77 forecast weeks of 2009-2010"), std::string::npos) << o.out;
  EXPECT_NE(o.out.find("77 normal end, 0 stopped (27 after the last observed week not run)"), std::string::npos)
      << o.out;
  EXPECT_TRUE(fs::is_empty(tmp)) << "scratch folders left behind";
  EXPECT_EQ(file_text(input / "HIST1.DAT"), before);

  // Exactly one row per issue week and lead whose target is observed, in order.
  std::vector<IssueLead> expected;
  for (int year = 2009; year <= kLastYear; ++year) {
    for (int week = 1; week <= kWeeks; ++week) {
      if (year == kLastYear && week > kLastObservedWeek) continue;
      for (int lead = 1; lead <= 6; ++lead) {
        const int target = week + lead - 1;
        const int target_year = target > kWeeks ? year + 1 : year;
        const int target_week = target > kWeeks ? target - kWeeks : target;
        if (target_year < kLastYear || (target_year == kLastYear && target_week <= kLastObservedWeek)) {
          expected.emplace_back(year, week, lead);
        }
      }
    }
  }
  const auto pairs = lines_of(file_text(scratch.path() / "s01-pairs.csv"));
  ASSERT_FALSE(pairs.empty());
  EXPECT_EQ(pairs[0],
            "location_id,issue_year,issue_week,lead_weeks,target_year,target_week,value,lower,upper,level,model,"
            "observed");
  const auto history = lines_of(before);
  std::vector<IssueLead> actual;
  std::map<std::pair<int, int>, std::vector<std::vector<std::string>>> rows_of_issue;
  for (std::size_t i = 1; i < pairs.size(); ++i) {
    const auto f = csv_fields(pairs[i]);
    ASSERT_EQ(f.size(), 12u) << pairs[i];
    actual.emplace_back(std::stoi(f[1]), std::stoi(f[2]), std::stoi(f[3]));
    EXPECT_EQ(f[0], "14");
    EXPECT_EQ(f[9], "95");
    EXPECT_FALSE(f[10].empty());
    EXPECT_EQ(f[11] + ".", history_field(history, std::stoi(f[4]), std::stoi(f[5]))) << pairs[i];
    rows_of_issue[{std::stoi(f[1]), std::stoi(f[2])}].push_back(f);
  }
  EXPECT_EQ(actual, expected);

  // Each forecast is what the program forecast on the cut case at that time.
  for (const auto& [year, week] : std::vector<std::pair<int, int>>{{2009, 1}, {2009, 30}, {2009, 52}}) {
    SCOPED_TRACE(std::to_string(year) + " week " + std::to_string(week));
    const fs::path folder = scratch.path() / ("cut-" + std::to_string(week));
    make_cut_folder(input, folder, year, week);
    const CommandOutcome single = run_command(folder, tmp, std::string("'") + DARCALIM_EXE + "'");
    ASSERT_EQ(single.status, 0) << single.err;
    const auto record = last_record(folder);
    for (const auto& f : rows_of_issue.at({year, week})) {
      const std::size_t k = static_cast<std::size_t>(std::stoi(f[3]) - 1);
      EXPECT_EQ(f[6], record[0][k]) << "lead " << k + 1;
      EXPECT_EQ(f[7], record[1][k]) << "lead " << k + 1;
      EXPECT_EQ(f[8], record[2][k]) << "lead " << k + 1;
    }
  }

  // The scores: one row per metric, reference and group, the same in both files.
  const auto scores = lines_of(file_text(scratch.path() / "s01-scores.csv"));
  ASSERT_EQ(scores.size(), 1 + 16 * 7u);
  EXPECT_EQ(scores[0], "location_id,metric,reference,lead_weeks,n,level,value");
  const nlohmann::json json = nlohmann::json::parse(file_text(scratch.path() / "s01-scores.json"));
  EXPECT_EQ(json.at("location_id"), "14");
  EXPECT_EQ(json.at("level"), 95);
  ASSERT_EQ(json.at("scores").size(), scores.size() - 1);
  for (std::size_t i = 1; i < scores.size(); ++i) {
    const auto f = csv_fields(scores[i]);
    const auto& j = json.at("scores")[i - 1];
    EXPECT_EQ(f[1], j.at("metric"));
    EXPECT_EQ(f[2], j.at("reference"));
    EXPECT_EQ(f[3], j.at("lead_weeks").is_string() ? j.at("lead_weeks").get<std::string>()
                                                   : std::to_string(j.at("lead_weeks").get<int>()));
    EXPECT_EQ(std::stoul(f[4]), j.at("n").get<std::size_t>());
    if (f[6].empty()) {
      EXPECT_TRUE(j.at("value").is_null()) << scores[i];
    } else {
      EXPECT_EQ(std::stod(f[6]), j.at("value").get<double>()) << scores[i];
    }
  }
  EXPECT_EQ(scores.back().rfind("14,interval_score,none,all," + std::to_string(expected.size()) + ",95,", 0), 0u);
}

TEST(HindcastCommand, RefusalsAndRunsThatGiveNoPairs) {
  ScratchFolder scratch;
  const std::string input = (fs::path(DARCALIM_CASES_DIR) / kCase / "input").string();
  struct Case {
    std::string arguments;
    int status;
    std::string message;
  };
  const Case cases[] = {
      {"--from 2009 --to 2010", 2, "no case folder given"},
      {"'" + input + "' --from 2009", 2, "give the issue years"},
      {"'" + input + "' --from 1950 --to 1951", 2, "outside the history 1951-2010"},
      {"'" + input + "' --from 2009 --to 2009 --weeks 53", 2, "beyond the 52 weeks"},
      {"'" + (scratch.path() / "none").string() + "' --from 2009 --to 2009", 2, "not a folder"},
      // The first year leaves no year to estimate from: every run stops.
      {"'" + input + "' --from 1951 --to 1951 --weeks 1,30", 1, "1951 week 30: "},
  };
  for (const Case& c : cases) {
    const CommandOutcome o = run_command(scratch.path(), scratch.path(), hindcast_command(c.arguments));
    EXPECT_EQ(o.status, c.status) << c.arguments << ": " << o.err;
    EXPECT_NE(o.err.find(c.message), std::string::npos) << c.arguments << ": " << o.err;
  }
  EXPECT_EQ(lines_of(file_text(scratch.path() / "hindcast-pairs.csv")).size(), 1u);  // the header alone
}

// Ctrl-C or SIGTERM while the weeks run: the hindcast ends with 128 + the
// signal once the week under way has ended, its scratch folder removed and
// no file written.
TEST(HindcastCommand, AStopSignalRemovesTheScratchFolder) {
  const fs::path input = fs::path(DARCALIM_CASES_DIR) / kCase / "input";
  for (const int signal : {SIGINT, SIGTERM}) {
    SCOPED_TRACE(signal);
    ScratchFolder scratch;
    const fs::path tmp = scratch.path() / "tmp";
    fs::create_directory(tmp);
    const std::string prefix = (scratch.path() / "hindcast").string();
    const pid_t child = fork();
    if (child == 0) {
      setenv("TMPDIR", tmp.c_str(), 1);
      const int null = open("/dev/null", O_WRONLY);
      dup2(null, STDOUT_FILENO);
      dup2(null, STDERR_FILENO);
      execl(DARCALIM_HINDCAST_EXE, DARCALIM_HINDCAST_EXE, input.c_str(), "--from", "1990", "--to", "2009", "--jobs",
            "1", "--out", prefix.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    // Until the first week's folder is there.
    const auto has_week_folder = [&tmp] {
      for (const auto& root : fs::directory_iterator(tmp)) {
        if (!fs::is_empty(root.path())) return true;
      }
      return false;
    };
    for (int i = 0; i < 3000 && !has_week_folder(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_TRUE(has_week_folder());
    kill(child, signal);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 128 + signal);
    EXPECT_TRUE(fs::is_empty(tmp));
    EXPECT_FALSE(fs::exists(prefix + "-pairs.csv"));
  }
}

}  // namespace
}  // namespace darcalim
