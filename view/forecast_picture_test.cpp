// The forecast picture: texts escaped, and numbers the record could not
// write (asterisks) left out rather than drawn.
#include "view/forecast_picture.h"

#include <gtest/gtest.h>

#include "tests/support/file_text.h"
#include "tests/support/finished_folder.h"

namespace darcalim::view {
namespace {

std::size_t count(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

TEST(ForecastPicture, EscapesTheStationName) {
  const FinishedFolder folder("s01_wuerzburg_o2");
  std::string history = file_text(folder.path() / "HIST1.DAT");
  history.replace(9, 20, "MAIN & <WUERZBURG>  ");
  folder.write("HIST1.DAT", history);
  const std::string svg = forecast_svg(read_run_folder(folder.path()));
  EXPECT_NE(svg.find("14 MAIN &amp; &lt;WUERZBURG&gt;"), std::string::npos);
  EXPECT_EQ(svg.find("<WUERZBURG"), std::string::npos);
}

TEST(ForecastPicture, LeavesOutANumberWrittenAsAsterisks) {
  const FinishedFolder folder("s01_wuerzburg_o2");
  folder.write("PREVS.DAT",
               "  CODIGO   ANO  MES  SEM    PREV1    PREV2    PREV3    PREV4    PREV5    PREV6\n"
               "      14  2010    6   26     73.2*********     53.7     80.1     49.8     49.9\n"
               "LIM. INFERIOR                43.8     43.8     30.6     38.2     28.0     28.4\n"
               "LIM. SUPERIOR               113.4    130.5     87.1    148.0     84.0     78.4\n");
  const RunFolder run = read_run_folder(folder.path());
  EXPECT_EQ(run.leads[1].forecast.text, "*********");
  EXPECT_EQ(run.leads[1].forecast.value, std::nullopt);
  const std::string svg = forecast_svg(run);
  // Five forecast dots; the dashed line breaks at lead 2 into the piece from
  // the last observation to lead 1 and the piece from lead 3 to lead 6.
  const auto forecast = svg.substr(svg.find("<g class=\"forecast\">"));
  EXPECT_EQ(count(forecast.substr(0, forecast.find("</g>")), "<circle"), 5u);
  EXPECT_EQ(count(forecast.substr(0, forecast.find("</g>")), "<polyline"), 2u);
}

}  // namespace
}  // namespace darcalim::view
