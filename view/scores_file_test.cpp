// The scores file reader on the small fixture and on faulty files.
#include "view/scores_file.h"

#include <gtest/gtest.h>

#include <fstream>

#include "tests/support/scratch_folder.h"
#include "view/view_error.h"

namespace darcalim::view {
namespace {

TEST(ScoresFile, ReadsTheFixture) {
  const ScoresFile s = read_scores_file(std::filesystem::path(DARCALIM_VIEW_TEST_DATA) / "hindcast-scores.csv");
  EXPECT_EQ(s.name, "hindcast-scores.csv");
  ASSERT_EQ(s.rows.size(), 105u);
  const ScoreRow& first = s.rows.front();
  EXPECT_EQ(first.location_id, "14");
  EXPECT_EQ(first.metric, "ME");
  EXPECT_EQ(first.reference, "none");
  EXPECT_EQ(first.lead, 1);
  EXPECT_EQ(first.level, 95.0);
  EXPECT_EQ(first.value, -1.2);
  EXPECT_EQ(s.rows[6].lead, std::nullopt);  // "all"
  int undefined = 0;
  for (const auto& r : s.rows) undefined += r.value ? 0 : 1;
  EXPECT_EQ(undefined, 1);  // the width of lead 4
}

TEST(ScoresFile, ColumnsAreFoundByNameAndNanIsUndefined) {
  ScratchFolder folder;
  const auto file = folder.path() / "x-scores.csv";
  std::ofstream(file) << "metric,value,lead_weeks,level,reference,location_id,n\nNSE,nan,2,90,none,A&B,10\n";
  const ScoresFile s = read_scores_file(file);
  ASSERT_EQ(s.rows.size(), 1u);
  EXPECT_EQ(s.rows[0].location_id, "A&B");
  EXPECT_EQ(s.rows[0].lead, 2);
  EXPECT_EQ(s.rows[0].value, std::nullopt);
}

TEST(ScoresFile, RefusesFaultyFiles) {
  const std::string header = "location_id,metric,reference,lead_weeks,n,level,value\n";
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"location_id,metric,lead_weeks,n,level,value\n", "line 1: no column \"reference\""},
      {header + "14,ME,none,7,10,95,1.0\n", "line 2: lead_weeks \"7\" is neither 1..6 nor \"all\""},
      {header + "14,ME,none,1,10,95,1,0\n14,ME,none,2,10,95,x\n", "line 3: the value \"x\" is not a number"},
      {header + "14,ME,none\n", "line 2: 3 fields"},
  };
  for (const auto& [text, message] : cases) {
    SCOPED_TRACE(message);
    ScratchFolder folder;
    const auto file = folder.path() / "bad-scores.csv";
    std::ofstream(file) << text;
    try {
      read_scores_file(file);
      ADD_FAILURE() << "not refused";
    } catch (const ViewInputError& e) {
      EXPECT_NE(std::string(e.what()).find(message), std::string::npos) << e.what();
    }
  }
  EXPECT_THROW(read_scores_file("/nonexistent/none-scores.csv"), ViewInputError);
}

}  // namespace
}  // namespace darcalim::view
