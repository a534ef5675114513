#include "hindcast/hindcast_options.h"

#include <gtest/gtest.h>

namespace darcalim::hindcast {
namespace {

TEST(HindcastOptions, ReadsEveryOptionInBothSpellings) {
  const ParsedOptions p = parse_options(
      {"case", "--from", "2008", "--to=2009", "--weeks", "12,1,10-12", "-j3", "--shard=2/4", "--out=res/x", "other"});
  ASSERT_TRUE(p.ok()) << p.error;
  EXPECT_EQ(p.options.folders, (std::vector<std::filesystem::path>{"case", "other"}));
  EXPECT_EQ(p.options.from, 2008);
  EXPECT_EQ(p.options.to, 2009);
  EXPECT_EQ(p.options.weeks, (std::vector<int>{1, 10, 11, 12}));
  EXPECT_EQ(p.options.jobs, 3);
  ASSERT_TRUE(p.options.shard);
  EXPECT_EQ(p.options.shard->index, 2);
  EXPECT_EQ(p.options.shard->count, 4);
  EXPECT_EQ(p.options.prefix, "res/x");
  EXPECT_FALSE(p.options.score);

  const ParsedOptions defaults = parse_options({"--from", "2008", "--to", "2008", "--list", "-"});
  ASSERT_TRUE(defaults.ok());
  EXPECT_EQ(defaults.options.list, "-");
  EXPECT_TRUE(defaults.options.folders.empty());
  EXPECT_TRUE(defaults.options.weeks.empty());
  EXPECT_EQ(defaults.options.jobs, 0);
  EXPECT_FALSE(defaults.options.shard);
  EXPECT_EQ(defaults.options.prefix, "hindcast");
  EXPECT_TRUE(parse_options({"--help"}).options.help);

  const ParsedOptions score = parse_options({"a-pairs.csv", "--score", "b-pairs.csv", "--out", "all"});
  ASSERT_TRUE(score.ok()) << score.error;
  EXPECT_TRUE(score.options.score);
  EXPECT_EQ(score.options.pairs_files, (std::vector<std::filesystem::path>{"a-pairs.csv", "b-pairs.csv"}));
  EXPECT_TRUE(score.options.folders.empty());
  EXPECT_EQ(score.options.prefix, "all");
}

TEST(HindcastOptions, RefusesWithAReason) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
      {{"--from", "2008", "--to", "2009"}, "no case folder given"},
      {{"a", "--list", "l.txt", "--from", "2008", "--to", "2009"}, "not both"},
      {{"a", "--from", "2008"}, "give the issue years"},
      {{"a", "--from", "2010", "--to", "2009"}, "--from 2010 is after --to 2009"},
      {{"a", "--from", "20x8", "--to", "2009"}, "invalid year '20x8' for --from"},
      {{"a", "--from", "2008", "--to", "2009", "--weeks", "3-1"}, "invalid week list '3-1'"},
      {{"a", "--from", "2008", "--to", "2009", "--weeks", "54"}, "invalid week list '54'"},
      {{"a", "--from", "2008", "--to", "2009", "--jobs", "0"}, "invalid number of jobs '0'"},
      {{"a", "--from", "2008", "--to", "2009", "--shard", "0/3"}, "invalid shard '0/3' (K/N with 1 <= K <= N)"},
      {{"a", "--from", "2008", "--to", "2009", "--shard", "4/3"}, "invalid shard '4/3'"},
      {{"a", "--from", "2008", "--to", "2009", "--shard", "1/0"}, "invalid shard '1/0'"},
      {{"a", "--from", "2008", "--to", "2009", "--shard", "one/3"}, "invalid shard 'one/3'"},
      {{"a", "--from", "2008", "--to", "2009", "--out="}, "non-empty"},
      {{"a", "--from", "2008", "--to"}, "option '--to' requires an argument"},
      {{"a", "--summary", "x"}, "unrecognized option '--summary'"},
      {{"--score"}, "no pairs file given"},
      {{"--score", "a-pairs.csv", "--from", "2008"}, "--from does not go with --score"},
      {{"--shard=1/2", "--score", "a-pairs.csv"}, "--shard does not go with --score"},
      {{"-j2", "--score", "a-pairs.csv"}, "-j does not go with --score"},
  };
  for (const auto& [arguments, reason] : cases) {
    const ParsedOptions p = parse_options(arguments);
    EXPECT_NE(p.error.find(reason), std::string::npos) << reason << " / got: " << p.error;
  }
}

TEST(HindcastOptions, WeekLists) {
  EXPECT_EQ(parse_week_list("1,10-12"), (std::vector<int>{1, 10, 11, 12}));
  EXPECT_EQ(parse_week_list("53"), (std::vector<int>{53}));
  EXPECT_EQ(parse_week_list("5-5,4"), (std::vector<int>{4, 5}));
  for (const char* bad : {"", ",", "1,", "0", "1-", "-3", "1-54", "a", "1 ,2"}) {
    EXPECT_FALSE(parse_week_list(bad)) << bad;
  }
}

}  // namespace
}  // namespace darcalim::hindcast
