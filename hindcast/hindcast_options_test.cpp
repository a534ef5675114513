#include "hindcast/hindcast_options.h"

#include <gtest/gtest.h>

namespace darcalim::hindcast {
namespace {

TEST(HindcastOptions, ReadsEveryOptionInBothSpellings) {
  const ParsedOptions p =
      parse_options({"case", "--from", "2008", "--to=2009", "--weeks", "12,1,10-12", "-j3", "--out=res/x"});
  ASSERT_TRUE(p.ok()) << p.error;
  EXPECT_EQ(p.options.folder, "case");
  EXPECT_EQ(p.options.from, 2008);
  EXPECT_EQ(p.options.to, 2009);
  EXPECT_EQ(p.options.weeks, (std::vector<int>{1, 10, 11, 12}));
  EXPECT_EQ(p.options.jobs, 3);
  EXPECT_EQ(p.options.prefix, "res/x");

  const ParsedOptions defaults = parse_options({"--from", "2008", "--to", "2008", "case"});
  ASSERT_TRUE(defaults.ok());
  EXPECT_TRUE(defaults.options.weeks.empty());
  EXPECT_EQ(defaults.options.jobs, 0);
  EXPECT_EQ(defaults.options.prefix, "hindcast");
  EXPECT_TRUE(parse_options({"--help"}).options.help);
}

TEST(HindcastOptions, RefusesWithAReason) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
      {{"--from", "2008", "--to", "2009"}, "no case folder given"},
      {{"a", "b", "--from", "2008", "--to", "2009"}, "one case folder only"},
      {{"a", "--from", "2008"}, "give the issue years"},
      {{"a", "--from", "2010", "--to", "2009"}, "--from 2010 is after --to 2009"},
      {{"a", "--from", "20x8", "--to", "2009"}, "invalid year '20x8' for --from"},
      {{"a", "--from", "2008", "--to", "2009", "--weeks", "3-1"}, "invalid week list '3-1'"},
      {{"a", "--from", "2008", "--to", "2009", "--weeks", "54"}, "invalid week list '54'"},
      {{"a", "--from", "2008", "--to", "2009", "--jobs", "0"}, "invalid number of jobs '0'"},
      {{"a", "--from", "2008", "--to", "2009", "--out="}, "non-empty"},
      {{"a", "--from", "2008", "--to"}, "option '--to' requires an argument"},
      {{"a", "--summary", "x"}, "unrecognized option '--summary'"},
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
