#include "hindcast/pairs_file.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>

#include "hindcast/hindcast_files.h"

namespace darcalim::hindcast {
namespace {

HindcastCase a_case(const std::string& folder, int code, int level) {
  HindcastCase c;
  c.folder = folder;
  c.station_code = code;
  c.confidence_level = level;
  return c;
}

ForecastPair forecast_pair(std::size_t case_index, IssueWeek issue, int lead, std::optional<double> value,
                           double observed) {
  ForecastPair p;
  p.case_index = case_index;
  p.issue = issue;
  p.target_year = issue.year;
  p.forecast.lead = lead;
  p.forecast.target_week = issue.week + lead - 1;
  p.forecast.value = value;
  p.forecast.value_text = value ? "  " + number_text(*value) : "*********";
  p.forecast.lower = 1.5;
  p.forecast.lower_text = "      1.5";
  p.forecast.upper = 99.5;
  p.forecast.upper_text = "     99.5";
  p.forecast.model = "PAR(2), with a comma";
  p.pair.lead = lead;
  p.pair.value = value;
  p.pair.lower = 1.5;
  p.pair.upper = 99.5;
  p.pair.observed = observed;
  p.pair.persistence = observed + 0.1;
  p.pair.climatology = 0.1 + 0.2;  // no short decimal holds it
  return p;
}

bool same_bits(const std::optional<double>& a, const std::optional<double>& b) {
  if (!a || !b) return !a && !b;
  return std::bit_cast<std::uint64_t>(*a) == std::bit_cast<std::uint64_t>(*b);
}

// Two folders of one station (code 15) at different levels; the second
// folder's name needs quoting. The first folder's rows come out of order.
struct PairsFixture : ::testing::Test {
  std::vector<HindcastCase> cases{a_case("z/maxau", 15, 95), a_case("a/maxau, \"short\"", 15, 90)};
  std::vector<ForecastPair> pairs{
      forecast_pair(0, {2009, 5}, 2, 12.5, 1.0 / 3.0), forecast_pair(0, {2009, 5}, 1, std::nullopt, 7.0),
      forecast_pair(0, {2008, 52}, 1, 30.5, 2e-7), forecast_pair(1, {2009, 1}, 1, 4.0, 1e300)};
};

TEST_F(PairsFixture, ReadsBackTheVeryNumbersCaseFolderByCaseFolder) {
  const std::string text = pairs_csv_text(cases, pairs);
  EXPECT_EQ(text.substr(0, text.find('\n')), pairs_header());
  EXPECT_NE(text.find("\n15,2009,5,1,2009,5,,1.5,99.5,95,\"PAR(2), with a comma\",7,7.1,0.30000000000000004,z/maxau\n"),
            std::string::npos)
      << text;
  PairsTable table;
  table.add_file("p.csv", text);
  EXPECT_EQ(table.rows(), 4u);
  const std::vector<CasePairs> read = table.cases();
  ASSERT_EQ(read.size(), 2u);
  // Folders in byte order, each with its level; pairs in order of issue year, week and lead.
  EXPECT_EQ(read[0].folder, "a/maxau, \"short\"");
  EXPECT_EQ(read[0].level, 90);
  EXPECT_EQ(read[1].folder, "z/maxau");
  EXPECT_EQ(read[1].location_id, 15);
  EXPECT_EQ(read[1].level, 95);
  const std::vector<const ForecastPair*> order{&pairs[2], &pairs[1], &pairs[0]};
  ASSERT_EQ(read[1].pairs.size(), order.size());
  for (std::size_t i = 0; i < order.size(); ++i) {
    const Pair& expected = order[i]->pair;
    const Pair& actual = read[1].pairs[i];
    EXPECT_EQ(actual.lead, expected.lead);
    EXPECT_TRUE(same_bits(actual.value, expected.value)) << i;
    EXPECT_TRUE(same_bits(actual.lower, expected.lower)) << i;
    EXPECT_TRUE(same_bits(actual.upper, expected.upper)) << i;
    EXPECT_TRUE(same_bits(actual.observed, expected.observed)) << i;
    EXPECT_TRUE(same_bits(actual.persistence, expected.persistence)) << i;
    EXPECT_TRUE(same_bits(actual.climatology, expected.climatology)) << i;
  }
}

TEST_F(PairsFixture, TheOrderOfFilesAndRowsDoesNotMatter) {
  PairsTable whole;
  whole.add_file("all.csv", pairs_csv_text(cases, pairs));
  PairsTable sliced;
  sliced.add_file("2.csv", pairs_csv_text(cases, {pairs[3], pairs[1]}));
  sliced.add_file("1.csv", pairs_csv_text(cases, {pairs[2], pairs[0]}));
  sliced.add_file("3.csv", pairs_csv_text(cases, {}));  // an empty slice
  const auto a = whole.cases();
  const auto b = sliced.cases();
  ASSERT_EQ(a.size(), b.size());
  for (std::size_t c = 0; c < a.size(); ++c) {
    ASSERT_EQ(a[c].pairs.size(), b[c].pairs.size());
    for (std::size_t i = 0; i < a[c].pairs.size(); ++i) {
      EXPECT_TRUE(same_bits(a[c].pairs[i].observed, b[c].pairs[i].observed));
      EXPECT_EQ(a[c].pairs[i].lead, b[c].pairs[i].lead);
    }
  }
}

// A row of folder "f" (station 15, level 95), with the fields of `changes`
// (column from 0, text) replaced.
std::string row(std::initializer_list<std::pair<std::size_t, std::string>> changes = {}) {
  std::vector<std::string> fields{"15",   "2009", "5",     "1", "2009", "5", "12.5", "1.5",
                                  "99.5", "95",   "AR(1)", "7", "",     "",  "f"};
  for (const auto& [column, field] : changes) fields[column] = field;
  std::string text;
  for (std::size_t i = 0; i < fields.size(); ++i) text += (i == 0 ? "" : ",") + fields[i];
  return text + "\n";
}

TEST(PairsTable, RefusesNamingFileAndLine) {
  const std::string header = pairs_header() + "\n";
  struct Case {
    const char* what;
    std::string first, second, message;
  };
  const Case cases[] = {
      {"another header", header + row(),
       "location_id,issue_year,issue_week,lead_weeks,target_year,target_week,value,lower,upper,level,model,observed\n",
       "b.csv, line 1: not the header of a pairs file"},
      {"an empty file", header, "", "b.csv, line 1: empty"},
      {"a field missing", header, header + row() + "15,2009\n", "b.csv, line 3: 2 fields, a row of pairs has 15"},
      {"a lead beyond 6", header, header + row({{3, "7"}}), "b.csv, line 2: lead_weeks '7' is not within 1..6"},
      {"a week 0", header, header + row({{2, "0"}}), "b.csv, line 2: issue_week '0' is not within 1..53"},
      {"an observed flow that is no number", header, header + row({{11, "1O"}}),
       "b.csv, line 2: observed '1O' is not a number"},
      {"an observed flow that is nan", header, header + row({{11, "nan"}}), "observed 'nan' is not a number"},
      {"a value that is no number", header, header + row({{6, "***"}}), "b.csv, line 2: value '***' is not a number"},
      {"no folder", header, header + row({{14, ""}}), "b.csv, line 2: no case folder"},
      {"a repeated row", header + row(), header + row(),
       "b.csv, line 2: a second row of case folder 'f', issue 2009 week 5, lead 1 (the first at a.csv, line 2)"},
      {"two levels of a folder", header + row(), header + row({{3, "2"}}) + row({{3, "3"}, {9, "90"}}),
       "b.csv, line 3: level 90 in case folder 'f', whose rows hold level 95 (a.csv, line 2)"},
      {"two stations of a folder", header + row(), header + row({{0, "16"}}),
       "b.csv, line 2: station 16 in case folder 'f', whose rows hold station 15 (a.csv, line 2)"},
  };
  for (const Case& c : cases) {
    PairsTable table;
    try {
      table.add_file("a.csv", c.first);
      table.add_file("b.csv", c.second);
      ADD_FAILURE() << c.what << ": not refused";
    } catch (const PairsError& error) {
      EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << c.what << ": " << error.what();
    }
  }
  // Another folder of the same station may have its own level.
  PairsTable table;
  table.add_file("a.csv", header + row() + row({{14, "g"}, {9, "90"}}));
  EXPECT_EQ(table.cases().size(), 2u);
}

}  // namespace
}  // namespace darcalim::hindcast
