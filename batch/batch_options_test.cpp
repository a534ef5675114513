#include "batch/batch_options.h"

#include <gtest/gtest.h>

#include <sstream>

#include "batch/batch_runner.h"
#include "batch/batch_summary.h"

namespace darcalim::batch {
namespace {

struct GoodLine {
  std::vector<std::string> arguments;
  int jobs;
  int shard_index;  // 0: no shard
  int shard_count;
  std::string summary;
  std::string list;
  std::vector<std::string> folders;
};

TEST(BatchOptions, AcceptedCommandLines) {
  const std::vector<GoodLine> lines = {
      {{"a", "b"}, 0, 0, 0, "", "", {"a", "b"}},
      {{"--jobs", "4", "a"}, 4, 0, 0, "", "", {"a"}},
      {{"--jobs=3", "a"}, 3, 0, 0, "", "", {"a"}},
      {{"-j", "2", "a"}, 2, 0, 0, "", "", {"a"}},
      {{"-j8", "a"}, 8, 0, 0, "", "", {"a"}},
      {{"--shard", "2/3", "a"}, 0, 2, 3, "", "", {"a"}},
      {{"--shard=1/1", "a"}, 0, 1, 1, "", "", {"a"}},
      {{"--summary", "out/s.csv", "a"}, 0, 0, 0, "out/s.csv", "", {"a"}},
      {{"--summary=S.JSON", "a"}, 0, 0, 0, "S.JSON", "", {"a"}},
      {{"--list", "folders.txt", "-j1"}, 1, 0, 0, "", "folders.txt", {}},
      {{"--list=-"}, 0, 0, 0, "", "-", {}},
      {{"a", "--", "--jobs", "-x"}, 0, 0, 0, "", "", {"a", "--jobs", "-x"}},
  };
  for (const GoodLine& line : lines) {
    const ParsedOptions parsed = parse_options(line.arguments);
    ASSERT_TRUE(parsed.ok()) << line.arguments.front() << ": " << parsed.error;
    const Options& o = parsed.options;
    EXPECT_EQ(o.jobs, line.jobs);
    EXPECT_EQ(o.shard.has_value(), line.shard_index != 0);
    if (o.shard) {
      EXPECT_EQ(o.shard->index, line.shard_index);
      EXPECT_EQ(o.shard->count, line.shard_count);
    }
    EXPECT_EQ(o.summary, line.summary);
    EXPECT_EQ(o.list, line.list);
    EXPECT_EQ(o.folders, std::vector<std::filesystem::path>(line.folders.begin(), line.folders.end()));
  }
}

TEST(BatchOptions, RefusedCommandLinesSayWhy) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> lines = {
      {{}, "no case folder"},
      {{"--jobs", "2"}, "no case folder"},
      {{"--list", "l.txt", "a"}, "not both"},
      {{"--jobs", "0", "a"}, "jobs '0'"},
      {{"--jobs", "two", "a"}, "jobs 'two'"},
      {{"-j"}, "requires an argument"},
      {{"a", "--jobs"}, "requires an argument"},
      {{"--shard", "0/3", "a"}, "shard '0/3'"},
      {{"--shard", "4/3", "a"}, "shard '4/3'"},
      {{"--shard", "3", "a"}, "shard '3'"},
      {{"--shard=1/x", "a"}, "shard '1/x'"},
      {{"--summary", "s.txt", "a"}, ".csv or .json"},
      {{"--summary=", "a"}, "non-empty"},
      {{"--frobnicate", "a"}, "unrecognized option '--frobnicate'"},
      {{"-x", "a"}, "unrecognized option '-x'"},
  };
  for (const auto& [arguments, reason] : lines) {
    const ParsedOptions parsed = parse_options(arguments);
    EXPECT_NE(parsed.error.find(reason), std::string::npos)
        << (arguments.empty() ? "(none)" : arguments.front()) << ": " << parsed.error;
  }
}

TEST(BatchOptions, HelpAndVersionNeedNoFolder) {
  EXPECT_TRUE(parse_options({"--help"}).options.help);
  EXPECT_TRUE(parse_options({"-h"}).ok());
  EXPECT_TRUE(parse_options({"--version"}).options.version);
}

TEST(Summary, WeekStartIsTheSaturdayOfTheOperatingWeek) {
  const std::vector<std::tuple<int, int, std::string>> weeks = {
      {2010, 1, "2009-12-26"},  // 1 January 2010 is a Friday
      {2011, 1, "2011-01-01"},  // a Saturday
      {2024, 1, "2023-12-30"},  // a Monday
      {2010, 26, "2010-06-19"}, {2010, 53, "2010-12-25"},
  };
  for (const auto& [year, week, date] : weeks) EXPECT_EQ(week_start_date(year, week), date) << year << " " << week;
}

TEST(Summary, CsvQuotesOnlyWhatNeedsIt) {
  FolderOutcome stopped;
  stopped.folder = "odd, \"folder\"";
  stopped.result.message = "plain message";
  std::ostringstream out;
  write_csv_summary(out, {stopped});
  const std::string text = out.str();
  EXPECT_NE(text.find("\n,,,,,,,,,,,,\"odd, \"\"folder\"\"\",stopped,plain message\n"), std::string::npos) << text;
}

TEST(EndTable, ClockText) {
  EXPECT_EQ(clock_text(0.2), "0:00");
  EXPECT_EQ(clock_text(65.0), "1:05");
  EXPECT_EQ(clock_text(7384.0), "2:03:04");
}

}  // namespace
}  // namespace darcalim::batch
