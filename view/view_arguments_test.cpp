#include "view/view_arguments.h"

#include <gtest/gtest.h>

namespace darcalim::view {
namespace {

// The table of darcalim-plot.
constexpr CommandOption kPlotOptions[] = {
    {"-o", "", OptionValue::kAny},
    {"--scores", "", OptionValue::kAny},
    {"--help", "-h", OptionValue::kNone},
};

TEST(ViewArguments, OneInputAndAnOutput) {
  struct Line {
    std::vector<std::string> args;
    std::string refusal;
    std::string input;
    bool scores;
  };
  const std::vector<Line> lines = {
      {{"run", "-o", "a.svg"}, "", "run", false},
      {{"-o", "a.svg", "--scores", "s.csv"}, "", "s.csv", true},
      {{"-oa.svg", "-"}, "", "-", false},
      {{"-h", "run", "extra"}, "unexpected argument \"extra\"", "run", false},
      {{"run", "--scores", "s.csv", "-o", "a.svg"}, "unexpected argument \"--scores\"", "run", false},
      {{"run", "-o"}, "option '-o' requires an argument", "run", false},
      {{"--bogus", "--help"}, "unrecognized option '--bogus'", "", false},
      {{"-o", "a.svg"}, "no run folder or scores file", "", false},
      {{"run", "-o", ""}, "no output file (-o)", "run", false},
  };
  for (const Line& line : lines) {
    ViewArguments a;
    EXPECT_EQ(read_view_arguments(line.args, kPlotOptions, "run folder or scores file", a), line.refusal)
        << line.args.front();
    EXPECT_EQ(a.input, line.input) << line.args.front();
    EXPECT_EQ(a.scores, line.scores) << line.args.front();
  }
}

TEST(ViewArguments, HelpNeedsNeitherInputNorOutput) {
  ViewArguments a;
  EXPECT_EQ(read_view_arguments({"--help"}, kPlotOptions, "run folder", a), "");
  EXPECT_TRUE(a.help);
}

}  // namespace
}  // namespace darcalim::view
