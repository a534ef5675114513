// The final forecast of whole runs, in process.
//
// The simulation over the whole history and the final forecast walk the
// series with the same step. When the final forecast starts at the first
// week of a month of the history and no innovation is reset (ANOPREV not
// later than ANOFEST), every model reaches that month with the state the
// simulation gave it, so its forecasts of the month's weeks must equal the
// simulation's records of the same weeks, to the bit.
#include <gtest/gtest.h>

#include <bit>
#include <filesystem>
#include <cstdint>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "driver/run.h"
#include "driver/run_driver.h"
#include "evaluation/simulation.h"
#include "final_forecast/final_forecast.h"
#include "tests/support/case_folder.h"
#include "tests/support/file_text.h"

namespace darcalim {
namespace {

const char* const kWuerzburg = "s01_wuerzburg_o2";   // option 2, trend from the history
const char* const kCochem = "s03_cochem_o0_vazp";    // option 0, trend from VAZPASTS, ANOFEST 2009

// Line numbers of the case data file.
constexpr int kSemprevLine = 9;
constexpr int kAnoprevLine = 10;
constexpr int kTrendSourceLine = 11;

std::string i2(int v) {
  std::string s = std::to_string(v);
  return std::string(2 - s.size(), ' ') + s;
}

// Record n of a file of 752-byte records of little-endian eight-byte reals.
std::vector<double> read_record(const std::string& bytes, int n, int count) {
  constexpr std::size_t kRecordBytes = 752;
  const std::size_t start = static_cast<std::size_t>(n - 1) * kRecordBytes;
  std::vector<double> values;
  if (bytes.size() < start + kRecordBytes) return values;
  for (int i = 0; i < count; ++i) {
    std::uint64_t bits = 0;
    for (std::size_t b = 0; b < 8; ++b) {
      const auto byte = static_cast<unsigned char>(bytes[start + static_cast<std::size_t>(i) * 8 + b]);
      bits |= std::uint64_t{byte} << (8 * b);
    }
    values.push_back(std::bit_cast<double>(bits));
  }
  return values;
}

// A whole run of a case folder in process, its tables kept.
struct InProcessRun {
  explicit InProcessRun(const CaseFolder& folder) : run(std::make_unique<Run>(folder.path(), console)) {
    status = run_darcalim(*run);
  }
  std::ostringstream console;
  std::unique_ptr<Run> run;
  int status = -1;
};

template <typename Case>
std::string case_name(const ::testing::TestParamInfo<Case>& param) {
  return param.param.name;
}

struct SharedStepCase {
  const char* name;
  const char* base_case;
  const char* case_file;
  bool trend_from_recent_flow_file;  // s01 reads its trend from the history: switch it to VAZPASTS
  int ANOPREV;
  int SEMPREV;  // the first week of `month` in the operating calendar of ANOPREV
  int month;
  int month_weeks;
};

void PrintTo(const SharedStepCase& c, std::ostream* os) { *os << c.name; }

// Operating calendar of 2000 (1 January a Saturday, so week 1 runs 1-7
// January): months of 4, 4, 5, 4, 4, 5, 4, 4, 5, 4, 4, 5 Fridays, first
// weeks 1, 5, 9, 14, 18, 22, 27, 31, 35, 40, 44, 48.
const SharedStepCase kSharedStepCases[] = {
    {"Option0March", kCochem, "CASO3.DAT", false, 2000, 9, 3, 5},
    {"Option0November", kCochem, "CASO3.DAT", false, 2000, 44, 11, 4},
    {"Option2June", kWuerzburg, "CASO1.DAT", true, 2000, 22, 6, 5},
    {"Option2January", kWuerzburg, "CASO1.DAT", true, 2000, 1, 1, 4},
};

class SharedStep : public ::testing::TestWithParam<SharedStepCase> {};

TEST_P(SharedStep, FinalForecastOfAMonthEqualsTheSimulationOfThatMonth) {
  const SharedStepCase& c = GetParam();
  CaseFolder folder(c.base_case);
  folder.replace_line(c.case_file, kSemprevLine, i2(c.SEMPREV));
  folder.replace_line(c.case_file, kAnoprevLine, std::to_string(c.ANOPREV));
  if (c.trend_from_recent_flow_file) {
    // Lines 12 and 13 already name VAZPASTS.DAT and ANOFEST 2009; the file of
    // the Cochem case also holds the Wuerzburg station.
    folder.replace_line(c.case_file, kTrendSourceLine, "0");
    folder.write("VAZPASTS.DAT",
                 file_text(std::filesystem::path(DARCALIM_CASES_DIR) / kCochem / "input" / "VAZPASTS.DAT"));
  }

  InProcessRun in_process(folder);
  ASSERT_EQ(in_process.status, 0) << in_process.console.str();
  const darcalim::Run& run = *in_process.run;
  const int NSEM = run.CASO.NSEM;
  const int NMOD = run.models.NMOD;
  const int row = run.history.row_of(c.ANOPREV);
  // The conditions of the comparison: the month as the calendar gives it, the
  // year inside the whole-history window, and no reset of the innovations.
  ASSERT_EQ(run.GRUPO(kMonthsGrouping).INIPER(c.month), c.SEMPREV);
  ASSERT_EQ(run.GRUPO(kMonthsGrouping).weeks_in_period(c.month), c.month_weeks);
  ASSERT_EQ(run.JANELA(3).first, 1);
  ASSERT_LE(row, run.JANELA(3).last);
  ASSERT_LE(c.ANOPREV, run.CASO.ANOFEST);

  const std::string records = folder.read("PREVT.DAT");
  auto simulated = [&](int t) { return read_record(records, (row - 1) * NSEM + t, NMOD); };

  int compared = 0;
  for (int k = 1; k <= c.month_weeks; ++k) {
    const int t = c.SEMPREV + k - 1;
    const std::vector<double> record = simulated(t);
    ASSERT_EQ(record.size(), static_cast<std::size_t>(NMOD)) << "no record of week " << t;
    int differing = 0;
    for (int m = 1; m <= NMOD; ++m) {
      if (run.final_forecast.FC(t, m) == record[static_cast<std::size_t>(m - 1)]) {
        ++compared;
        continue;
      }
      if (++differing <= 3) {
        ADD_FAILURE() << "week " << t << " (" << k << " weeks ahead), model " << m << " "
                      << run.models.model(m).long_name << ": final " << run.final_forecast.FC(t, m)
                      << ", simulated " << record[static_cast<std::size_t>(m - 1)];
      }
    }
    EXPECT_EQ(differing, 0) << "models of week " << t << " whose final forecast differs from the simulation";
    EXPECT_GT(record[0], 0.0) << "week " << t;
  }
  EXPECT_EQ(compared, c.month_weeks * NMOD);

  // The week after the month shows that the comparison can fail: there the
  // simulation starts a new month from the observed flows, while the final
  // forecast goes on from its own forecasts.
  const int next = c.SEMPREV + c.month_weeks;
  const std::vector<double> next_record = simulated(next);
  ASSERT_EQ(next_record.size(), static_cast<std::size_t>(NMOD));
  int next_differing = 0;
  for (int m = 1; m <= NMOD; ++m) {
    if (run.final_forecast.FC(next, m) != next_record[static_cast<std::size_t>(m - 1)]) ++next_differing;
  }
  EXPECT_GT(next_differing, NMOD / 2) << "week " << next;
}

INSTANTIATE_TEST_SUITE_P(Cases, SharedStep, ::testing::ValuesIn(kSharedStepCases), case_name<SharedStepCase>);

// Runs whose forecast week is near the turn of the year.
struct TurnOfYearCase {
  const char* name;
  int ANOPREV;
  int SEMPREV;
  const char* record_start;  // station code, year, month and week of the first forecast week
  std::vector<int> block_weeks;
};

void PrintTo(const TurnOfYearCase& c, std::ostream* os) { *os << c.name; }

class TurnOfYear : public ::testing::TestWithParam<TurnOfYearCase> {};

TEST_P(TurnOfYear, RecordAndBlocksCarryTheForecastWeeks) {
  const TurnOfYearCase& c = GetParam();
  CaseFolder folder(kWuerzburg);
  folder.replace_line("CASO1.DAT", kSemprevLine, i2(c.SEMPREV));
  folder.replace_line("CASO1.DAT", kAnoprevLine, std::to_string(c.ANOPREV));

  std::ostringstream console;
  ASSERT_EQ(run_darcalim(folder.path(), console), 0) << console.str();

  // The appended forecast file: its header, then the run's three lines.
  const std::vector<std::string> record = folder.lines("PREVS.DAT");
  ASSERT_EQ(record.size(), 4u);
  EXPECT_EQ(record[1].substr(0, 24), c.record_start);
  EXPECT_EQ(record[2].substr(0, 13), "LIM. INFERIOR");
  EXPECT_EQ(record[3].substr(0, 13), "LIM. SUPERIOR");

  // PREVISAO.DAT: the header, then six blocks of four lines, each headed by
  // its target week in columns 5-8.
  const std::vector<std::string> table = folder.lines("PREVISAO.DAT");
  ASSERT_EQ(table.size(), 1u + 6u * 4u);
  std::vector<int> heads;
  for (std::size_t k = 0; k < 6; ++k) heads.push_back(std::stoi(table[1 + 4 * k].substr(4, 4)));
  EXPECT_EQ(heads, c.block_weeks);
}

// 2010 begins with week 1 in month 1; December 2000 begins at week 48.
INSTANTIATE_TEST_SUITE_P(
    Cases, TurnOfYear,
    ::testing::Values(TurnOfYearCase{"FirstWeek", 2010, 1, "      14  2010    1    1", {1, 2, 3, 4, 5, 6}},
                      TurnOfYearCase{"Week50", 2000, 50, "      14  2000   12   50", {50, 51, 52, 1, 2, 3}}),
    case_name<TurnOfYearCase>);

// The final forecast starts the series that the simulation over the whole
// history holds at its checkpoint from there. It must forecast, to the bit,
// what the replay of every year from the start forecasts; a series that the
// simulation's clamp moved is not held and is replayed from the start.
struct CheckpointCase {
  const char* name;
  const char* base_case;
  const char* case_file;
  int ANOPREV;  // 0: the case's own
  int SEMPREV;
  int moved_series;  // series one of whose forecasts the clamp moves in year 1 (0: none)
};

void PrintTo(const CheckpointCase& c, std::ostream* os) {
  *os << c.name;
}

class Checkpoint : public ::testing::TestWithParam<CheckpointCase> {};

// The final forecast of the finished run's last pass, on scratch files.
std::unique_ptr<PassForecast> final_forecast_of(const darcalim::Run& run, const WalkCheckpoint* checkpoint,
                                                const std::filesystem::path& folder) {
  const PassWalkData walk = pass_walk_data(run, kWindows);
  const FinalForecastInputs in{
      walk, run.JANELA(kWindows), run.CASO, run.history, run.GRUPO, run.choice, run.PASSO, false, checkpoint};
  auto VARRES = std::make_unique<NoiseVariances>(run.VARRES);
  auto forecast = std::make_unique<PassForecast>();
  auto joined = std::make_unique<JoinedForecast>();
  OutputFile table;
  table.open(folder / "TABLE.TXT", OutputFile::Mode::kRewrite);
  FPREV(in, {*VARRES, *forecast, *joined, table}, {});
  return forecast;
}

TEST_P(Checkpoint, FinalForecastFromTheCheckpointEqualsTheWholeReplay) {
  const CheckpointCase& c = GetParam();
  CaseFolder folder(c.base_case);
  if (c.ANOPREV != 0) folder.replace_line(c.case_file, kAnoprevLine, std::to_string(c.ANOPREV));
  folder.replace_line(c.case_file, kSemprevLine, i2(c.SEMPREV));
  InProcessRun in_process(folder);
  ASSERT_EQ(in_process.status, 0) << in_process.console.str();
  const darcalim::Run& run = *in_process.run;

  // The simulation over the whole history once more, its checkpoint kept.
  WalkCheckpoint checkpoint;
  checkpoint.year = replay_checkpoint_year(run.CASO, run.history, run.JANELA(kWindows));
  ASSERT_GT(checkpoint.year, 1);
  const PassWalkData walk = pass_walk_data(run, kWindows);
  const SimulationInputs in{walk, run.history.HISTORICO, run.GRUPO, run.history.FAC, 1, 0};
  auto VARRES = std::make_unique<NoiseVariances>(run.VARRES);
  auto errors = std::make_unique<SimulationErrors>();
  RecordFile records;
  records.open(folder.path() / "RECORDS.DAT");
  const int moved_model = c.moved_series != 0 ? run.models.series(c.moved_series).first : 0;
  const SimulationClamp clamp = [moved_model](int, int Y, int, ModelValues& D) {
    if (moved_model != 0 && Y == 1) D(moved_model) *= 2.0;
  };
  SIMPREV(in, kWindows, run.JANELA(kWindows), {*VARRES, *errors, records, &checkpoint}, {}, clamp);
  ASSERT_NE(checkpoint.state, nullptr);
  for (int s = 1; s <= run.models.series_count; ++s) EXPECT_EQ(checkpoint.holds(s), s != c.moved_series) << s;

  const auto replayed = final_forecast_of(run, nullptr, folder.path());
  const auto resumed = final_forecast_of(run, &checkpoint, folder.path());
  for (int k = 1; k <= kLeads; ++k) {
    const int t = lead_week(run.CASO.SEMPREV, k, run.CASO.NSEM);
    for (int m = 1; m <= run.models.NMOD; ++m) {
      ASSERT_EQ(std::bit_cast<std::uint64_t>(resumed->FC(t, m)), std::bit_cast<std::uint64_t>(replayed->FC(t, m)))
          << "lead " << k << ", model " << m;
      ASSERT_EQ(std::bit_cast<std::uint64_t>(resumed->LOWT(t, m)), std::bit_cast<std::uint64_t>(replayed->LOWT(t, m)));
      ASSERT_EQ(std::bit_cast<std::uint64_t>(resumed->UPPT(t, m)), std::bit_cast<std::uint64_t>(replayed->UPPT(t, m)));
    }
  }
}

// Cochem: ANOFEST 2009, so a forecast of 2010 resets the one-week-ahead
// forecasts at the week before SEMPREV, with SEMPREV 1 in the last week of
// 2009. Maxau (combined): the last pass, logarithmic only.
INSTANTIATE_TEST_SUITE_P(Cases, Checkpoint,
                         ::testing::Values(CheckpointCase{"Option2", kWuerzburg, "CASO1.DAT", 0, 26, 0},
                                           CheckpointCase{"Option2UntransformedMoved", kWuerzburg, "CASO1.DAT", 0, 26,
                                                          2},
                                           CheckpointCase{"Option0ResetBeforeWeek1", kCochem, "CASO3.DAT", 2010, 1, 0},
                                           CheckpointCase{"Option0ResetMidYear", kCochem, "CASO3.DAT", 2010, 30, 1},
                                           CheckpointCase{"CombinedLastPass", "s02_maxau_o5v1", "CASO2.DAT", 0, 36, 0}),
                         case_name<CheckpointCase>);

}  // namespace
}  // namespace darcalim
