// The run-folder reader on the shipped cases (against the program's own
// result of the same run) and on folders it must refuse.
#include "view/run_folder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "driver/run_result.h"
#include "tests/support/case_folder.h"
#include "tests/support/finished_folder.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/shipped_cases.h"
#include "view/view_error.h"
#include "view/view_input.h"

namespace darcalim::view {
namespace {

namespace fs = std::filesystem;

class ShippedCase : public ::testing::TestWithParam<std::string> {};

// The reader sees what run_case returned for the same run: the record's
// texts, the target weeks, and the model each lead kept (which checks the
// rule that tells the kept model from the model file or the ranking report).
TEST_P(ShippedCase, ReadsWhatTheRunReturned) {
  CaseFolder folder(GetParam());
  std::ostringstream console;
  std::ostringstream errors;
  const RunResult result = run_case(folder.path(), console, errors);
  ASSERT_TRUE(result.normal_end()) << result.message;

  const RunFolder run = read_run_folder(folder.path());
  EXPECT_EQ(run.station_code, result.station_code);
  EXPECT_EQ(run.station_name, result.station_name);
  EXPECT_EQ(run.record.year, result.year);
  EXPECT_EQ(run.record.week, result.week);
  EXPECT_EQ(run.settings.confidence_level, result.confidence_level);
  ASSERT_EQ(result.leads.size(), static_cast<std::size_t>(kLeads));
  for (std::size_t i = 0; i < kLeads; ++i) {
    const LeadView& l = run.leads[i];
    const LeadForecast& expected = result.leads[i];
    SCOPED_TRACE("lead " + std::to_string(i + 1));
    EXPECT_EQ(l.target_week, expected.target_week);
    EXPECT_EQ(l.forecast.text, expected.value_text);
    EXPECT_EQ(l.lower.text, expected.lower_text);
    EXPECT_EQ(l.upper.text, expected.upper_text);
    EXPECT_EQ(l.model, expected.model);
    EXPECT_EQ(l.ranking.week, l.target_week);
    // The page shows the first ten models of the week; a short history's
    // single series has nine.
    ASSERT_GE(l.ranking.models.size(), 9u);
    for (std::size_t r = 0; r < l.ranking.models.size() && r < 10; ++r) {
      EXPECT_FALSE(l.ranking.models[r].name.empty());
      EXPECT_NE(read_written_number(l.ranking.models[r].error_text).value, std::nullopt) << l.ranking.models[r].error_text;
    }
  }
  EXPECT_EQ(run.observed.size(), static_cast<std::size_t>(kObservedWeeks));
}

INSTANTIATE_TEST_SUITE_P(Cases, ShippedCase, ::testing::ValuesIn(testing::shipped_case_names(DARCALIM_CASES_DIR)),
                         [](const auto& test_info) { return test_info.param; });

struct RankingCase {
  const char* name;
  int lead;
  std::vector<std::pair<std::string, std::string>> first;  // model, REMQ
};

// The first models of a week as the report lists them: names 47 to a line
// (s01), and all on one line after the variability check (s02).
TEST(RunFolderReader, ReadsTheWeekRankingsAsWritten) {
  const std::vector<RankingCase> cases = {
      {"s01_wuerzburg_o2",
       1,
       {{"TPAR(4)-RO", "37.112"}, {"PAR(4)-RO", "37.871"}, {"TPARMA(3;1)-G1", "38.091"}, {"TPAR(3)-RO", "38.772"}}},
      {"s02_maxau_o5v1",
       1,
       {{"PAR(3)-G4", "152.154"}, {"PAR(4)-G4", "153.035"}, {"LPAR(3)-G4", "153.408"}, {"LPARMA(3;1)-G4", "153.537"}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const RunFolder run = read_run_folder(FinishedFolder(c.name).path());
    const auto& models = run.leads[static_cast<std::size_t>(c.lead - 1)].ranking.models;
    ASSERT_GE(models.size(), c.first.size());
    for (std::size_t r = 0; r < c.first.size(); ++r) {
      EXPECT_EQ(models[r].name, c.first[r].first);
      EXPECT_EQ(models[r].error_text, c.first[r].second);
    }
  }
  const RunFolder s02 = read_run_folder(FinishedFolder("s02_maxau_o5v1").path());
  EXPECT_EQ(s02.leads[0].ranking.best, "PAR(3)-RO");
  EXPECT_EQ(s02.leads[0].ranking.best_after_analysis, "PAR(3)-G4");
}

// The weeks before the forecast week: from the history, and with trend source
// 0 the last four from the recent-flow file that the run used.
TEST(RunFolderReader, ObservedWeeksEndWithTheFlowsTheRunUsed) {
  const RunFolder s01 = read_run_folder(FinishedFolder("s01_wuerzburg_o2").path());
  EXPECT_EQ(s01.observed.front().week, 26 - kObservedWeeks + 52);
  EXPECT_EQ(s01.observed.front().year, 2009);
  EXPECT_EQ(s01.observed.back().week, 25);
  EXPECT_EQ(s01.observed.back().flow, 90.0);
  EXPECT_FALSE(s01.observed.back().recent);

  const RunFolder s03 = read_run_folder(FinishedFolder("s03_cochem_o0_vazp").path());
  const std::vector<double> recent = {78.44, 102.16, 107.94, 88.60};  // Q-4 .. Q-1 of station 13
  for (std::size_t i = 0; i < recent.size(); ++i) {
    const ObservedWeek& o = s03.observed[kObservedWeeks - recent.size() + i];
    EXPECT_EQ(o.week, 42 + static_cast<int>(i));
    EXPECT_TRUE(o.recent);
    ASSERT_TRUE(o.flow.has_value());
    EXPECT_DOUBLE_EQ(*o.flow, recent[i]);
  }
  EXPECT_FALSE(s03.observed[kObservedWeeks - 5].recent);
}

struct Refusal {
  const char* what;
  std::function<void(const FinishedFolder&)> spoil;
  const char* message_part;
};

TEST(RunFolderReader, RefusesAFolderWithoutAFinishedRun) {
  const char* kHeader = "  CODIGO   ANO  MES  SEM    PREV1    PREV2    PREV3    PREV4    PREV5    PREV6\n";
  const std::vector<Refusal> refusals = {
      {"never ran", [](const FinishedFolder& f) { fs::remove(f.path() / "RUNSTATE.DAT"); }, "no finished run"},
      {"stopped", [](const FinishedFolder& f) { f.write("RUNSTATE.DAT", "       1 INICIO\n"); },
       "did not end normally"},
      {"no appended file", [](const FinishedFolder& f) { fs::remove(f.path() / "PREVS.DAT"); },
       "PREVS.DAT: the appended forecast file cannot be read"},
      {"header only", [&](const FinishedFolder& f) { f.write("PREVS.DAT", kHeader); }, "no forecast record"},
      {"record cut short",
       [&](const FinishedFolder& f) {
         f.write("PREVS.DAT", std::string(kHeader) +
                                  "      14  2010    6   26     73.2     80.8     53.7     80.1     49.8     49.9\n"
                                  "LIM. INFERIOR                43.8     43.8     30.6     38.2     28.0     28.4\n");
       },
       "PREVS.DAT: 2 lines after the header are not whole records"},
      {"limit lines swapped",
       [&](const FinishedFolder& f) {
         f.write("PREVS.DAT", std::string(kHeader) +
                                  "      14  2010    6   26     73.2     80.8     53.7     80.1     49.8     49.9\n"
                                  "LIM. SUPERIOR               113.4    130.5     87.1    148.0     84.0     78.4\n"
                                  "LIM. INFERIOR                43.8     43.8     30.6     38.2     28.0     28.4\n");
       },
       "PREVS.DAT, line 3: expected the \"LIM. INFERIOR\""},
      {"record of another week",
       [&](const FinishedFolder& f) {
         f.write("PREVS.DAT", std::string(kHeader) +
                                  "      14  2010    6   27     73.2     80.8     53.7     80.1     49.8     49.9\n"
                                  "LIM. INFERIOR                43.8     43.8     30.6     38.2     28.0     28.4\n"
                                  "LIM. SUPERIOR               113.4    130.5     87.1    148.0     84.0     78.4\n");
       },
       "PREVS.DAT, line 2: the last record is for station 14, week 27 of 2010"},
      {"case refused", [](const FinishedFolder& f) { f.write("CASO1.DAT", "CASO1.REL\nS\nHIST1.DAT\n2\n13\n"); },
       "CASO1.DAT, line 5 (month of start of the hydrological year): 13 is outside 1..12"},
      {"no ranking report", [](const FinishedFolder& f) { fs::remove(f.path() / "RANK1.CSV"); },
       "RANK1.CSV: the error-ranking report cannot be read"},
      {"not a number in the record",
       [&](const FinishedFolder& f) {
         f.write("PREVS.DAT", std::string(kHeader) +
                                  "      14  2010    6   26      nan     80.8     53.7     80.1     49.8     49.9\n"
                                  "LIM. INFERIOR                43.8     43.8     30.6     38.2     28.0      inf\n"
                                  "LIM. SUPERIOR               113.4    130.5     87.1    148.0     84.0     78.4\n");
       },
       "PREVS.DAT, line 2: forecast 1 \"nan\" is not a number"},
      {"infinite limit",
       [&](const FinishedFolder& f) {
         f.write("PREVS.DAT", std::string(kHeader) +
                                  "      14  2010    6   26     73.2     80.8     53.7     80.1     49.8     49.9\n"
                                  "LIM. INFERIOR                43.8     43.8     30.6     38.2     28.0     -inf\n"
                                  "LIM. SUPERIOR               113.4    130.5     87.1    148.0     84.0     78.4\n");
       },
       "PREVS.DAT, line 3: forecast 6 \"-inf\" is not a number"},
      {"ranking report a FIFO",
       [](const FinishedFolder& f) {
         fs::remove(f.path() / "RANK1.CSV");
         mkfifo((f.path() / "RANK1.CSV").c_str(), 0600);
       },
       "CASO1.DAT, line 7 (error-ranking report name): \"RANK1.CSV\" names a FIFO, not a regular file"},
      {"state file a FIFO",
       [](const FinishedFolder& f) {
         fs::remove(f.path() / "RUNSTATE.DAT");
         mkfifo((f.path() / "RUNSTATE.DAT").c_str(), 0600);
       },
       "RUNSTATE.DAT: the state file cannot be read (not a regular file (a FIFO has its name))"},
      {"appended file a link to a device",
       [](const FinishedFolder& f) {
         fs::remove(f.path() / "PREVS.DAT");
         fs::create_symlink("/dev/zero", f.path() / "PREVS.DAT");
       },
       "CASO1.DAT, line 6 (appended forecast file name): \"PREVS.DAT\" names a symbolic link, not a regular file"},
      {"ranking report too long",
       [](const FinishedFolder& f) { fs::resize_file(f.path() / "RANK1.CSV", kMaxViewInputBytes + 1); },
       "RANK1.CSV: the error-ranking report is 67108865 bytes long, more than 67108864"},
      {"ranking without the week", [](const FinishedFolder& f) { f.write("RANK1.CSV", " GERAL\n"); },
       "RANK1.CSV: no section for week 26"},
  };
  for (const auto& r : refusals) {
    SCOPED_TRACE(r.what);
    const FinishedFolder folder("s01_wuerzburg_o2");
    r.spoil(folder);
    try {
      read_run_folder(folder.path());
      ADD_FAILURE() << "not refused";
    } catch (const ViewInputError& e) {
      EXPECT_NE(std::string(e.what()).find(r.message_part), std::string::npos) << e.what();
    }
  }
}

TEST(RunFolderReader, RefusesAMissingModelFileAfterTheVariabilityCheck) {
  const FinishedFolder folder("s02_maxau_o5v1");
  fs::remove(folder.path() / "CASO2_MOD.DAT");
  EXPECT_THROW(read_run_folder(folder.path()), ViewInputError);
}

TEST(RunFolderReader, RefusesAPathThatIsNoFolder) {
  EXPECT_THROW(read_run_folder(fs::path(DARCALIM_CASES_DIR) / "no-such-case"), ViewInputError);
}

}  // namespace
}  // namespace darcalim::view
