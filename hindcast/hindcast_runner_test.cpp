#include "hindcast/hindcast_runner.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "tests/support/scratch_folder.h"
#include "tools/shard.h"

namespace darcalim::hindcast {
namespace {

// A case of `nsem` weeks a year over first..last, observed to week
// `last_observed` of its last year: all that the units of a hindcast read.
HindcastCase history_span(int first, int last, int last_observed, int nsem) {
  HindcastCase c;
  c.first_year = first;
  c.last_year = last;
  c.last_observed_week = last_observed;
  c.weeks_per_year = nsem;
  c.flows.assign(static_cast<std::size_t>((last - first + 1) * nsem), 1.0);
  return c;
}

// Issue years 2003-2004: 62 units of all weeks in the first case, 106 in the
// second (53 weeks a year), 3 in the third (its history ends at week 3 of 2003).
std::vector<HindcastCase> three_cases() {
  return {history_span(2001, 2004, 10, 52), history_span(1990, 2010, 53, 53), history_span(2001, 2003, 3, 52)};
}

TEST(HindcastUnits, CaseAfterCaseEachInIssueOrder) {
  const auto cases = three_cases();
  const std::vector<HindcastUnit> units = hindcast_units(cases, 2003, 2004, {1, 2, 52});
  std::vector<HindcastUnit> expected;
  for (std::size_t c = 0; c < cases.size(); ++c) {
    for (const IssueWeek issue : issue_weeks(cases[c], 2003, 2004, {1, 2, 52})) expected.push_back({c, issue});
  }
  EXPECT_EQ(units, expected);
  // 2003: 1, 2, 52 and 2004: 1, 2; 2003 and 2004: 1, 2, 52; 2003: 1, 2.
  ASSERT_EQ(units.size(), 5u + 6u + 2u);
  EXPECT_EQ(units[4], (HindcastUnit{0, {2004, 2}}));
  EXPECT_EQ(units[10], (HindcastUnit{1, {2004, 52}}));
  EXPECT_EQ(units[12], (HindcastUnit{2, {2003, 2}}));
}

TEST(HindcastUnits, TheSlicesOfEveryNCoverEveryUnitOnceAndDrawFromEveryCase) {
  const auto cases = three_cases();
  for (const std::vector<int>& weeks : {std::vector<int>{}, std::vector<int>{1, 2, 52}}) {
    const std::vector<HindcastUnit> units = hindcast_units(cases, 2003, 2004, weeks);
    std::map<std::size_t, std::size_t> units_of_case;
    for (const HindcastUnit& u : units) ++units_of_case[u.case_index];
    for (int n = 1; n <= 7; ++n) {
      SCOPED_TRACE(std::to_string(units.size()) + " units in " + std::to_string(n) + " slices");
      std::vector<int> seen(units.size(), 0);
      for (int k = 1; k <= n; ++k) {
        const std::vector<std::size_t> places = shard_places(units.size(), Shard{k, n});
        std::set<std::size_t> cases_of_slice;
        for (const std::size_t i : places) {
          ++seen[i];
          cases_of_slice.insert(units[i].case_index);
        }
        for (const auto& [c, count] : units_of_case) {
          if (count >= static_cast<std::size_t>(n)) {
            EXPECT_EQ(cases_of_slice.count(c), 1u) << "case " << c;
          }
        }
      }
      for (std::size_t i = 0; i < units.size(); ++i) EXPECT_EQ(seen[i], 1) << "unit " << i;
    }
  }
}

TEST(HindcastRunner, AUnitTheHindcastCouldNotRunIsNotFinished) {
  ScratchFolder scratch;
  const std::vector<HindcastCase> cases{history_span(2001, 2004, 10, 52)};
  const std::vector<HindcastUnit> units{{0, {2003, 1}}, {0, {2003, 2}}};
  std::vector<IssueOutcome> outcomes;
  run_hindcast(cases, units, 2, scratch.path() / "absent", outcomes);  // no folder to cut the cases into
  ASSERT_EQ(outcomes.size(), 2u);
  for (std::size_t i = 0; i < outcomes.size(); ++i) {
    EXPECT_EQ(outcomes[i].unit, units[i]);
    EXPECT_FALSE(outcomes[i].finished);
    EXPECT_FALSE(outcomes[i].result.normal_end());
    EXPECT_EQ(outcomes[i].result.message.rfind("fault of the hindcast: ", 0), 0u) << outcomes[i].result.message;
  }
}

}  // namespace
}  // namespace darcalim::hindcast
