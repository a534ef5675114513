#include "final_forecast/forecast_table.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "common/model_catalogue.h"

namespace darcalim {
namespace {

std::string pad14(const std::string& name) { return name + std::string(14 - name.size(), ' '); }

struct HeaderCase {
  int option;
  int years;
  std::size_t count;
  std::vector<std::pair<std::size_t, std::string>> names;  // (column from 1, name)
};

// The header's columns by option and history length: abbreviated names ("T"
// for every transformed series, "-R" for -RR) with a long history, the
// pass's 20-character names cut to 14 with a short one.
TEST(ForecastTableHeader, NamesFollowTheModelListOfEachOptionAndLength) {
  const HeaderCase cases[] = {
      {0, 25, 47, {{1, "AR(1)"}, {40, "PARMA(1;1)-R"}, {47, "CONSTANTE"}}},
      {1, 25, 94, {{1, "TAR(1)"}, {41, "TPARMA(2;1)-R"}, {47, "TCONSTANTE"}, {48, "AR(1)"}, {94, "CONSTANTE"}}},
      {2, 25, 93, {{46, "TSAZONAL"}, {47, "AR(1)"}, {93, "CONSTANTE"}}},
      {3, 25, 47, {{1, "TAR(1)"}, {47, "TCONSTANTE"}}},
      {4, 25, 46, {{1, "TAR(1)"}, {46, "TSAZONAL"}}},
      {0, 19, 9, {{1, "AR(1)"}, {9, "CONSTANTE"}}},
      {1, 19, 18, {{1, "LAR(1)"}, {9, "LCONSTANTE"}, {10, "AR(1)"}, {18, "CONSTANTE"}}},
      {2, 19, 17, {{1, "TAR(1)"}, {8, "TSAZONAL"}, {9, "AR(1)"}, {17, "CONSTANTE"}}},
      {3, 19, 9, {{1, "LAR(1)"}, {7, "LARMA(3;1)"}, {9, "LCONSTANTE"}}},
      {4, 19, 8, {{1, "TAR(1)"}, {8, "TSAZONAL"}}},
  };
  for (const HeaderCase& c : cases) {
    SCOPED_TRACE("option " + std::to_string(c.option) + ", " + std::to_string(c.years) + " years");
    const ModelList list = build_model_list(c.option, c.years);
    const std::vector<std::string> names = forecast_table_header_names(list);
    ASSERT_EQ(names.size(), c.count);
    ASSERT_EQ(names.size(), static_cast<std::size_t>(list.NMOD));
    for (const auto& [column, name] : c.names) EXPECT_EQ(names[column - 1], pad14(name)) << "column " << column;
    for (const std::string& name : names) EXPECT_EQ(name.size(), 14u);
  }
}

}  // namespace
}  // namespace darcalim
