#include "import/daily_formats.h"

#include <gtest/gtest.h>

#include <fstream>

#include "import/daily_text.h"
#include "import/flow_units.h"
#include "import/import_error.h"
#include "import/weekly_series.h"
#include "tests/support/scratch_folder.h"

namespace darcalim::import {
namespace {

const std::string kData = DARCALIM_IMPORT_TEST_DATA;

std::vector<DayFlow> in_cubic_metres(const DailyRecord& record, FlowUnit unit) {
  std::vector<DayFlow> days;
  for (const DailyValue& d : record.days) {
    days.push_back({d.date, d.value ? std::optional<double>(*d.value * cubic_metres_per_second(unit)) : std::nullopt});
  }
  return days;
}

// The fixtures hold the same weeks (testdata/README.md): 10, a gap filled
// with 20, 30, and three days of a week that is not whole.
TEST(DailyFormats, EachFormatGivesTheSameWeeksWithItsStationUnitMarkersAndQualifiers) {
  struct Case {
    const char* file;
    const char* format;
    const char* column;
    std::optional<long long> code;
    const char* name;
    FlowUnit unit;
    std::map<std::string, int> markers;
    std::map<std::string, int> qualifiers;
  };
  const Case cases[] = {
      {"grdc_value.txt",
       "GRDC station file",
       "Value",
       6335500,
       "MAIN - WUERZBURG",
       FlowUnit::kCubicMetres,
       {{"-999.000", 1}},
       {}},
      {"grdc_original_calculated.txt",
       "GRDC station file",
       "Original",
       6335500,
       "MAIN - WUERZBURG",
       FlowUnit::kCubicMetres,
       {{"-999.000", 1}},
       {{"Calculated (no Original value)", 1}, {"Flag 0", 17}, {"Flag 98", 1}, {"Flag 99", 1}}},
      {"usgs.rdb",
       "USGS RDB file",
       "68478_00060_00003",
       7141220,
       "ARKANSAS R NR LARNED, KS",
       FlowUnit::kCubicFeet,
       {{"Ice", 1}},
       {{"A", 15}, {"A:e", 1}, {"P", 3}}},
      {"flows.csv",
       "CSV file",
       "flow (l/s)",
       std::nullopt,
       "",
       FlowUnit::kLitres,
       {{"NA", 1}},
       {{"good", 17}, {"estimated", 1}, {"missing", 1}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const DailyRecord r = read_daily_record(kData + "/" + c.file, DailyFormat::kAuto, {});
    EXPECT_EQ(r.format, c.format);
    EXPECT_EQ(r.value_column, c.column);
    EXPECT_EQ(r.station_code, c.code);
    EXPECT_EQ(r.station_name, c.name);
    EXPECT_EQ(parse_unit(r.unit), c.unit) << r.unit;
    EXPECT_EQ(r.days.size(), 19u);
    EXPECT_EQ(r.missing_markers, c.markers);
    EXPECT_EQ(r.qualifiers, c.qualifiers);

    const WeeklySeries s = weekly_series(in_cubic_metres(r, c.unit), {}, {});
    const double scale = c.unit == FlowUnit::kCubicFeet ? 10.0 * cubic_metres_per_second(c.unit) : 1.0;
    ASSERT_EQ(s.weeks.size(), 3u);  // the partial fourth week is not made
    EXPECT_EQ(s.weeks[0].week, (OperatingWeek{2011, 1}));
    EXPECT_DOUBLE_EQ(s.weeks[0].flow, 10.0 * scale);
    EXPECT_TRUE(s.weeks[1].interpolated);
    EXPECT_EQ(s.weeks[1].days, 2);
    EXPECT_DOUBLE_EQ(s.weeks[1].flow, 20.0 * scale);
    EXPECT_DOUBLE_EQ(s.weeks[2].flow, 30.0 * scale);
    EXPECT_TRUE(s.not_observed.empty());
  }
}

TEST(DailyFormats, ColumnsChosenByNameOrNumber) {
  const DailyRecord calculated =
      read_daily_record(kData + "/grdc_original_calculated.txt", DailyFormat::kGrdc, {"calculated", 0});
  EXPECT_EQ(calculated.value_column, "Calculated");
  EXPECT_EQ(calculated.days.size() - static_cast<std::size_t>(calculated.missing_markers.at("-999.000")),
            1u);  // only 3 January has one
  const DailyRecord by_number = read_daily_record(kData + "/flows.csv", DailyFormat::kDelimited, {"", 2});
  EXPECT_EQ(by_number.value_column, "flow (l/s)");
  try {
    read_daily_record(kData + "/flows.csv", DailyFormat::kAuto, {"discharge", 0});
    FAIL() << "no refusal";
  } catch (const ImportError& e) {
    EXPECT_EQ(std::string(e.what()), kData +
                                         "/flows.csv, line 1: no column discharge (the columns are \"date\", "
                                         "\"flow (l/s)\", \"quality\")");
  }
}

// Each faulty file is refused naming its line and column.
TEST(DailyFormats, FaultyLinesAreNamedByLineAndColumn) {
  const std::string head = "date,discharge\n2011-01-01,5\n";
  const std::string grdc_head = "# GRDC-No.: 1\n# Unit: m3/s\nYYYY-MM-DD;hh:mm; Value\n";
  struct Case {
    std::string text;
    std::string message;  // after the file name
  };
  const Case cases[] = {
      {head + "2011-13-01,5\n", ", line 3, column 1: \"2011-13-01\" is not a date (YYYY-MM-DD)"},
      {head + "01/02/2011,5\n", ", line 3, column 1: \"01/02/2011\" is not a date (YYYY-MM-DD)"},
      {head + "2011-01-02,1O2\n", ", line 3, column 2: \"1O2\" is not a number"},
      {head + "2011-01-02\n", ", line 3: 1 fields, fewer than the header's 2"},
      {head + "2011-01-01,6\n",
       ", line 3: 2011-01-01 repeats the date of line 2 (2011-01-01); the days must be in order, each once"},
      {head + "2011-01-03,6\n2011-01-02,6\n",
       ", line 4: 2011-01-02 comes before the date of line 3 (2011-01-03); the days must be in order, each once"},
      {grdc_head + "2011-01-01;--:--;  12.5.0\n", ", line 4, column 3: \"12.5.0\" is not a number"},
      {"date,discharge\n", ": no daily value in the file"},
  };
  ScratchFolder scratch;
  for (const Case& c : cases) {
    const std::string path = (scratch.path() / "daily.txt").string();
    std::ofstream(path, std::ios::binary) << c.text;
    try {
      read_daily_record(path, DailyFormat::kAuto, {});
      ADD_FAILURE() << "no refusal of\n" << c.text;
    } catch (const ImportError& e) {
      EXPECT_EQ(std::string(e.what()), path + c.message);
    }
  }
}

TEST(FlowUnits, NamesAndFactors) {
  EXPECT_EQ(parse_unit("m³/s"), FlowUnit::kCubicMetres);
  EXPECT_EQ(parse_unit("M3/S"), FlowUnit::kCubicMetres);
  EXPECT_EQ(parse_unit("m^3/s"), FlowUnit::kCubicMetres);
  EXPECT_EQ(parse_unit("ft3/s"), FlowUnit::kCubicFeet);
  EXPECT_EQ(parse_unit("l/s"), FlowUnit::kLitres);
  EXPECT_EQ(parse_unit("mm/d"), std::nullopt);
  EXPECT_EQ(cubic_metres_per_second(FlowUnit::kCubicFeet), 0.3048 * 0.3048 * 0.3048);
}

}  // namespace
}  // namespace darcalim::import
