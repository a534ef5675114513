// darcalim-hindcast as a user runs it: the built command over shipped cases,
// each forecast checked against a single run of the built program on a cut
// folder that this test makes itself by editing the case's text; the
// hindcast of two cases in slices, and the scores of their merged pairs.
#include <gtest/gtest.h>

#include <algorithm>
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
            "observed,persistence,climatology,folder");
  const auto history = lines_of(before);
  std::vector<IssueLead> actual;
  std::map<std::pair<int, int>, std::vector<std::vector<std::string>>> rows_of_issue;
  for (std::size_t i = 1; i < pairs.size(); ++i) {
    const auto f = csv_fields(pairs[i]);
    ASSERT_EQ(f.size(), 15u) << pairs[i];
    const int year = std::stoi(f[1]);
    const int week = std::stoi(f[2]);
    actual.emplace_back(year, week, std::stoi(f[3]));
    EXPECT_EQ(f[0], "14");
    EXPECT_EQ(f[9], "95");
    EXPECT_FALSE(f[10].empty());
    EXPECT_EQ(f[11] + ".", history_field(history, std::stoi(f[4]), std::stoi(f[5]))) << pairs[i];
    // The reference flows: the week before the forecast week, and a mean of past years.
    EXPECT_EQ(f[12] + ".", week > 1 ? history_field(history, year, week - 1) : history_field(history, year - 1, kWeeks))
        << pairs[i];
    EXPECT_FALSE(f[13].empty());
    EXPECT_EQ(f[14], input.string());
    rows_of_issue[{year, week}].push_back(f);
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

  // The scores of the pairs file alone are the same, to the byte.
  const CommandOutcome rescored =
      run_command(scratch.path(), tmp, hindcast_command("--score s01-pairs.csv --out rescored"));
  ASSERT_EQ(rescored.status, 0) << rescored.err;
  EXPECT_EQ(file_text(scratch.path() / "rescored-scores.csv"), file_text(scratch.path() / "s01-scores.csv"));
  EXPECT_EQ(file_text(scratch.path() / "rescored-scores.json"), file_text(scratch.path() / "s01-scores.json"));
}

// Two cases of one station (the Rhine at Maxau, code 15) at the levels 95
// and 90, listed: 2 cases x 2 years x 3 weeks = 12 units, unit i (case after
// case, each in issue order) in slice i mod 3 + 1.
TEST(HindcastCommand, TheMergedPairsOfTheSlicesScoreAsTheHindcastOnOneMachine) {
  ScratchFolder scratch;
  const fs::path tmp = scratch.path() / "tmp";
  fs::create_directories(tmp);
  const std::vector<std::string> folders{(fs::path(DARCALIM_CASES_DIR) / "s02_maxau_o5v1" / "input").string(),
                                         (fs::path(DARCALIM_CASES_DIR) / "s06_maxau_short_o3" / "input").string()};
  std::ofstream(scratch.path() / "cases.txt") << "# two folders of station 15\n"
                                              << folders[0] << "\n\n"
                                              << folders[1] << "\n";
  const std::string hindcast = "--list cases.txt --from 2008 --to 2009 --weeks 1,26,52 --jobs 2 ";
  const auto unit_of = [&](const std::vector<std::string>& f) {
    const std::size_t c = f[14] == folders[0] ? 0 : 1;
    const std::size_t week = f[2] == "1" ? 0 : f[2] == "26" ? 1 : 2;
    return c * 6 + static_cast<std::size_t>(std::stoi(f[1]) - 2008) * 3 + week;
  };

  const CommandOutcome one = run_command(scratch.path(), tmp, hindcast_command(hindcast + "--out one"));
  ASSERT_EQ(one.status, 0) << one.err;
  EXPECT_NE(one.out.find("2 case folders, 12 forecast weeks of 2008-2009"), std::string::npos) << one.out;
  auto one_rows = lines_of(file_text(scratch.path() / "one-pairs.csv"));
  one_rows.erase(one_rows.begin());
  std::set<std::size_t> units;
  for (const auto& row : one_rows) units.insert(unit_of(csv_fields(row)));
  EXPECT_EQ(units.size(), 12u);

  std::vector<std::string> sliced_rows;
  std::string pairs_files;
  for (int k = 1; k <= 3; ++k) {
    const std::string prefix = "slice-" + std::to_string(k);
    const CommandOutcome slice = run_command(
        scratch.path(), tmp, hindcast_command(hindcast + "--shard " + std::to_string(k) + "/3 --out " + prefix));
    ASSERT_EQ(slice.status, 0) << slice.err;
    EXPECT_NE(slice.out.find("4 forecast weeks of 2008-2009 (slice " + std::to_string(k) + "/3 of 12)"),
              std::string::npos)
        << slice.out;
    const auto rows = lines_of(file_text(scratch.path() / (prefix + "-pairs.csv")));
    ASSERT_FALSE(rows.empty());
    std::set<std::size_t> cases_of_slice;
    for (std::size_t i = 1; i < rows.size(); ++i) {
      const auto f = csv_fields(rows[i]);
      EXPECT_EQ(unit_of(f) % 3 + 1, static_cast<std::size_t>(k)) << rows[i];
      cases_of_slice.insert(unit_of(f) / 6);
      sliced_rows.push_back(rows[i]);
    }
    EXPECT_EQ(cases_of_slice.size(), 2u) << "slice " << k << " draws from both cases";
    pairs_files += " " + prefix + "-pairs.csv";
  }
  std::sort(one_rows.begin(), one_rows.end());
  std::sort(sliced_rows.begin(), sliced_rows.end());
  EXPECT_EQ(sliced_rows, one_rows);

  const CommandOutcome merged =
      run_command(scratch.path(), tmp, hindcast_command("--score" + pairs_files + " --out merged"));
  ASSERT_EQ(merged.status, 0) << merged.err;
  const std::string scores = file_text(scratch.path() / "one-scores.csv");
  EXPECT_EQ(file_text(scratch.path() / "merged-scores.csv"), scores);
  EXPECT_EQ(file_text(scratch.path() / "merged-scores.json"), file_text(scratch.path() / "one-scores.json"));
  // The two folders of station 15 stay apart, each at its own level.
  EXPECT_EQ(scores.substr(0, scores.find('\n')), "location_id,metric,reference,lead_weeks,n,level,value,folder");
  EXPECT_NE(scores.find("15,ME,none,1,6,95,"), std::string::npos) << scores;
  EXPECT_NE(scores.find("15,ME,none,1,6,90,"), std::string::npos) << scores;

  // More slices than units: the last slice is empty, and succeeds.
  const CommandOutcome empty =
      run_command(scratch.path(), tmp, hindcast_command(hindcast + "--shard 13/13 --out empty"));
  EXPECT_EQ(empty.status, 0) << empty.err;
  EXPECT_EQ(lines_of(file_text(scratch.path() / "empty-pairs.csv")).size(), 1u);
  EXPECT_TRUE(fs::is_empty(tmp)) << "scratch folders left behind";
}

// A pairs file of one row of case folder "f" (station 15) at `level`.
void write_pairs(const fs::path& file, const std::string& header, const std::string& level) {
  std::ofstream(file) << header << "\n15,2009,5,1,2009,5,12.5,1.5,99.5," << level << ",AR(1),7,,,f\n";
}

TEST(HindcastCommand, RefusalsAndRunsThatGiveNoPairs) {
  ScratchFolder scratch;
  const std::string input = (fs::path(DARCALIM_CASES_DIR) / kCase / "input").string();
  const std::string header =
      "location_id,issue_year,issue_week,lead_weeks,target_year,target_week,value,lower,upper,level,model,observed,"
      "persistence,climatology,folder";
  write_pairs(scratch.path() / "a-pairs.csv", header, "95");
  write_pairs(scratch.path() / "b-pairs.csv", header, "95");
  write_pairs(scratch.path() / "c-pairs.csv", header, "90");
  write_pairs(scratch.path() / "old-pairs.csv", header.substr(0, header.find(",persistence")), "95");
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
      {"'" + input + "' --from 2009 --to 2009 --shard 4/3", 2, "invalid shard '4/3' (K/N with 1 <= K <= N)"},
      {"'" + input + "' --from 2009 --to 2009 --shard 1/0", 2, "invalid shard '1/0'"},
      {"'" + input + "' --from 2009 --to 2009 --shard first/3", 2, "invalid shard 'first/3'"},
      {"--list absent.txt --from 2009 --to 2009", 2, "cannot read the folder list 'absent.txt'"},
      {"'" + input + "' '" + input + "/.' --from 2009 --to 2009", 2, "is listed twice"},
      {"--score a-pairs.csv --weeks 1", 2, "--weeks does not go with --score"},
      {"--score a-pairs.csv old-pairs.csv", 2, "old-pairs.csv, line 1: not the header of a pairs file"},
      {"--score a-pairs.csv b-pairs.csv", 2,
       "b-pairs.csv, line 2: a second row of case folder 'f', issue 2009 week 5, lead 1 (the first at a-pairs.csv, "
       "line 2)"},
      {"--score a-pairs.csv c-pairs.csv", 2, "c-pairs.csv, line 2: level 90 in case folder 'f'"},
      {"--score a-pairs.csv ./a-pairs.csv", 2, "pairs file './a-pairs.csv' is given twice"},
      {"--score absent-pairs.csv", 2, "absent-pairs.csv: not found or not readable"},
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
