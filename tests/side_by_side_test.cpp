// Runs on two threads against runs on one, in process, on variants of the
// example case. Whatever the number of threads, a run must end with the same
// exit status, console and diagnostics, leave every file of its folder the
// same to the byte and, after a normal end, every table the same to the bit.
// The variants are those where work goes side by side (one pass; a combined
// run; each with the variability check) and those where it must give way:
// window 1 stops while window 3 has run on its thread; the first pass of a
// combined run stops; the first variability limits of window 3 or of the
// second pass are none they drew, so that they are those left before.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <type_traits>

#include "driver/run.h"
#include "driver/run_driver.h"
#include "tests/support/faulty_case.h"
#include "tests/support/file_text.h"

namespace darcalim {
namespace {

using testing::FaultyCase;

struct Variant {
  const char* name;
  std::function<void(const FaultyCase&)> make;
};

void PrintTo(const Variant& v, std::ostream* os) { *os << v.name; }

void combined(const FaultyCase& c) { c.set_line(FaultyCase::kCase, 4, "5"); }

// Week 1 of every year of the first half (rows 1..29 of 59) the same flow:
// window 1 stops on a week of zero variance, window 3 does not.
void constant_first_week_in_first_half(const FaultyCase& c) {
  for (int row = 1; row <= 29; ++row) c.set_flow(3 + 6 * (row - 1), 1, "    100.");
}

// A weekly percentile file whose upper percentile of week 1 is above 100:
// no limits are drawn at week 1, the first week every window simulates.
void no_limits_at_week_one(const FaultyCase& c) {
  c.use_percentile_file();
  std::string text = "1\n2\n";
  for (int w = 1; w <= 52; ++w) {
    text += (w < 10 ? " " : "") + std::to_string(w) + (w == 1 ? "\t10.0\t9999\n" : "\t10.0\t90.0\n");
  }
  c.write("PERC1.DAT", text);
}

struct Outcome {
  std::unique_ptr<Run> run;
  int status = 0;
  std::string console;
  std::string errors;
  std::map<std::string, std::string> files;
};

Outcome run_with(const Variant& v, int threads) {
  FaultyCase c;
  v.make(c);
  std::ostringstream console;
  std::ostringstream errors;
  Outcome o;
  o.run = std::make_unique<Run>(c.folder(), console, errors);
  o.run->threads = threads;
  o.status = run_darcalim(*o.run);
  o.console = console.str();
  o.errors = errors.str();
  // A run that stops leaves its record files to the run object's end, which
  // writes what they hold: closed here, they show it.
  o.run->half_records.close();
  o.run->total_records.close();
  for (const auto& entry : std::filesystem::directory_iterator(c.folder())) {
    o.files[entry.path().filename().string()] = file_text(entry.path());
  }
  return o;
}

template <typename Table>
bool same_bits(const Table& a, const Table& b) {
  static_assert(std::is_trivially_copyable_v<std::remove_pointer_t<decltype(a.data())>>);
  return std::memcmp(a.data(), b.data(), sizeof(*a.data()) * Table::kSize) == 0;
}

bool same_bits(const RatioLimits& a, const RatioLimits& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

void expect_same_tables(const Run& one, const Run& two) {
#define DARCALIM_EXPECT_SAME(table) EXPECT_TRUE(same_bits(one.table, two.table)) << #table
  DARCALIM_EXPECT_SAME(LAMBDA);
  DARCALIM_EXPECT_SAME(transformed);
  DARCALIM_EXPECT_SAME(VARRES);
  DARCALIM_EXPECT_SAME(errors.ERRGER);
  DARCALIM_EXPECT_SAME(errors.ERRMES);
  DARCALIM_EXPECT_SAME(errors.ERRSEM);
  DARCALIM_EXPECT_SAME(joined_errors.ERRGER);
  DARCALIM_EXPECT_SAME(joined_errors.ERRMES);
  DARCALIM_EXPECT_SAME(joined_errors.ERRSEM);
  DARCALIM_EXPECT_SAME(simulation.RQMSEM);
  DARCALIM_EXPECT_SAME(simulation.RQMMED);
  DARCALIM_EXPECT_SAME(percentiles.PERCINF);
  DARCALIM_EXPECT_SAME(percentiles.PERCSUP);
  DARCALIM_EXPECT_SAME(choice.MODBRUTO);
  DARCALIM_EXPECT_SAME(choice.MODESCOLHIDO);
  DARCALIM_EXPECT_SAME(choice.RANKMOD);
  DARCALIM_EXPECT_SAME(final_forecast.S);
  DARCALIM_EXPECT_SAME(final_forecast.P);
  DARCALIM_EXPECT_SAME(final_forecast.A);
  DARCALIM_EXPECT_SAME(final_forecast.FC);
  DARCALIM_EXPECT_SAME(final_forecast.LOWT);
  DARCALIM_EXPECT_SAME(final_forecast.UPPT);
  DARCALIM_EXPECT_SAME(final_forecast.lead.PREV);
  DARCALIM_EXPECT_SAME(joined_forecast.F140);
  DARCALIM_EXPECT_SAME(joined_forecast.LOW140);
  DARCALIM_EXPECT_SAME(joined_forecast.UP140);
  DARCALIM_EXPECT_SAME(joined_forecast.SD140);
  DARCALIM_EXPECT_SAME(joined_forecast.R2);
  DARCALIM_EXPECT_SAME(joined_forecast.lead.PREV);
  DARCALIM_EXPECT_SAME(variability.limits);
#undef DARCALIM_EXPECT_SAME
  for (int s = 1; s <= kSeries; ++s) {
    for (int c = 1; c <= kWindows; ++c) {
      EXPECT_TRUE(same_bits(one.stats(s, c).MEDSEM, two.stats(s, c).MEDSEM)) << "MEDSEM " << s << " " << c;
      EXPECT_TRUE(same_bits(one.stats(s, c).FACPER, two.stats(s, c).FACPER)) << "FACPER " << s << " " << c;
      EXPECT_TRUE(same_bits(one.params(s, c).FIPAR, two.params(s, c).FIPAR)) << "FIPAR " << s << " " << c;
      EXPECT_TRUE(same_bits(one.params(s, c).FIPARMARO, two.params(s, c).FIPARMARO)) << "FIPARMARO " << s << " " << c;
    }
  }
}

class SideBySide : public ::testing::TestWithParam<Variant> {};

TEST_P(SideBySide, TwoThreadsLeaveWhatOneLeaves) {
  const Outcome one = run_with(GetParam(), 1);
  const Outcome two = run_with(GetParam(), 2);
  EXPECT_EQ(two.status, one.status);
  EXPECT_EQ(two.console, one.console);
  EXPECT_EQ(two.errors, one.errors);
  for (const auto& [name, text] : one.files) {
    const auto it = two.files.find(name);
    ASSERT_NE(it, two.files.end()) << name << " missing with two threads";
    EXPECT_TRUE(it->second == text) << name << " differs";
  }
  EXPECT_EQ(two.files.size(), one.files.size());
  if (one.status == 0) expect_same_tables(*one.run, *two.run);
}

INSTANTIATE_TEST_SUITE_P(
    Variants, SideBySide,
    ::testing::Values(Variant{"OnePass", [](const FaultyCase&) {}},
                      Variant{"OnePassWithVariability", [](const FaultyCase& c) { c.use_percentile_file(); }},
                      Variant{"Combined", combined},
                      Variant{"CombinedWithVariability",
                              [](const FaultyCase& c) {
                                combined(c);
                                c.use_percentile_file();
                              }},
                      Variant{"WindowOneStops",
                              [](const FaultyCase& c) {
                                c.set_line(FaultyCase::kCase, 4, "0");
                                constant_first_week_in_first_half(c);
                              }},
                      Variant{"FirstPassStops",
                              [](const FaultyCase& c) {
                                combined(c);
                                constant_first_week_in_first_half(c);
                              }},
                      Variant{"NoLimitsDrawnAtTheFirstWeek", no_limits_at_week_one},
                      Variant{"NoLimitsDrawnAtTheFirstWeekCombined",
                              [](const FaultyCase& c) {
                                combined(c);
                                no_limits_at_week_one(c);
                              }}),
    [](const ::testing::TestParamInfo<Variant>& variant) { return variant.param.name; });

}  // namespace
}  // namespace darcalim
