// Escaping for SVG and HTML, and numbers whatever the locale.
#include "view/markup.h"

#include <gtest/gtest.h>

#include "view/axis_scale.h"

namespace darcalim::view {
namespace {

TEST(Markup, EscapesWhatXmlCannotCarry) {
  EXPECT_EQ(markup_text("A&B <river> \"x\" 'y'"), "A&amp;B &lt;river&gt; &quot;x&quot; &#39;y&#39;");
  EXPECT_EQ(markup_text(std::string("S\xC3O PAULO")), "S\xC3\x83O PAULO");  // Latin-1 "Ã" as UTF-8
  EXPECT_EQ(markup_text(std::string("a\0b\x1F\x7F\x85\tc", 8)), "a?b???\tc");
}

TEST(Markup, FixedUsesAPointAndNoNegativeZero) {
  EXPECT_EQ(fixed(1234.5678, 1), "1234.6");
  EXPECT_EQ(fixed(-0.04, 1), "0.0");
  EXPECT_EQ(fixed(2.5, 0), "2");
}

TEST(AxisScale, CoversTheDataWithRoundTicks) {
  struct Case {
    double low, high;
    double first, last, step;
    int decimals;
  };
  const std::vector<Case> cases = {
      {0.0, 461.0, 0.0, 500.0, 100.0, 0}, {0.0, 1790.7, 0.0, 2000.0, 500.0, 0}, {0.9, 0.96, 0.9, 0.96, 0.02, 2},
      {-1.2, 2.8, -2.0, 3.0, 1.0, 0},     {5.0, 5.0, 4.0, 6.0, 0.5, 1},  // one point: widened
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.low) + " .. " + std::to_string(c.high));
    const AxisScale s = axis_scale(c.low, c.high, c.low == 0.0 ? 6 : 4);
    EXPECT_DOUBLE_EQ(s.low, c.first);
    EXPECT_DOUBLE_EQ(s.high, c.last);
    EXPECT_DOUBLE_EQ(s.step, c.step);
    EXPECT_EQ(s.decimals, c.decimals);
  }
}

}  // namespace
}  // namespace darcalim::view
