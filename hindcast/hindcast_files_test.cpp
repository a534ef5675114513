#include "hindcast/hindcast_files.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

namespace darcalim::hindcast {
namespace {

CaseScores scores_of(const std::string& folder, int code, int level) {
  return {folder, code, level, {{"ME", "none", 1, 3, -0.5}, {"SS", "climatology", 0, 0, std::nullopt}}};
}

TEST(ScoresFiles, OneCaseFolderKeepsTheLayoutOfAOneStationHindcast) {
  const std::vector<CaseScores> one{scores_of("cases/a", 14, 95)};
  EXPECT_EQ(scores_csv_text(one),
            "location_id,metric,reference,lead_weeks,n,level,value\n"
            "14,ME,none,1,3,95,-0.5\n"
            "14,SS,climatology,all,0,95,\n");
  EXPECT_EQ(scores_json_text(one),
            "{\n"
            "  \"location_id\": \"14\",\n"
            "  \"level\": 95,\n"
            "  \"scores\": [\n"
            "    {\n"
            "      \"metric\": \"ME\",\n"
            "      \"reference\": \"none\",\n"
            "      \"lead_weeks\": 1,\n"
            "      \"n\": 3,\n"
            "      \"level\": 95,\n"
            "      \"value\": -0.5\n"
            "    },\n"
            "    {\n"
            "      \"metric\": \"SS\",\n"
            "      \"reference\": \"climatology\",\n"
            "      \"lead_weeks\": \"all\",\n"
            "      \"n\": 0,\n"
            "      \"level\": 95,\n"
            "      \"value\": null\n"
            "    }\n"
            "  ]\n"
            "}\n");
}

TEST(ScoresFiles, SeveralCaseFoldersOfOneStationStayApart) {
  const std::vector<CaseScores> two{scores_of("cases/maxau", 15, 95), scores_of("cases/maxau, short", 15, 90)};
  EXPECT_EQ(scores_csv_text(two),
            "location_id,metric,reference,lead_weeks,n,level,value,folder\n"
            "15,ME,none,1,3,95,-0.5,cases/maxau\n"
            "15,SS,climatology,all,0,95,,cases/maxau\n"
            "15,ME,none,1,3,90,-0.5,\"cases/maxau, short\"\n"
            "15,SS,climatology,all,0,90,,\"cases/maxau, short\"\n");
  const nlohmann::json json = nlohmann::json::parse(scores_json_text(two));
  ASSERT_EQ(json.at("cases").size(), 2u);
  EXPECT_EQ(json.at("cases")[1].at("folder"), "cases/maxau, short");
  EXPECT_EQ(json.at("cases")[1].at("location_id"), "15");
  EXPECT_EQ(json.at("cases")[1].at("level"), 90);
  EXPECT_EQ(json.at("cases")[1].at("scores")[0].at("level"), 90);
  EXPECT_TRUE(json.at("cases")[0].at("scores")[1].at("value").is_null());
  // No pairs at all: no case folder, the layout of several.
  EXPECT_EQ(scores_csv_text({}), "location_id,metric,reference,lead_weeks,n,level,value,folder\n");
  EXPECT_EQ(nlohmann::json::parse(scores_json_text({})).at("cases").size(), 0u);
  // A folder name that is not UTF-8 is written, not refused.
  EXPECT_NE(scores_json_text({scores_of("caf\xe9", 1, 95), scores_of("b", 2, 95)}).find("caf\xef\xbf\xbd"),
            std::string::npos);
}

TEST(UnfinishedList, TheUnitsToRunAgain) {
  std::vector<HindcastCase> cases(2);
  cases[0].folder = "a";
  cases[1].folder = "b";
  std::vector<IssueOutcome> outcomes(3);
  outcomes[0].unit = {0, {2009, 1}};
  outcomes[0].result.message = "stopped by the case";
  outcomes[1].unit = {1, {2009, 2}};
  outcomes[1].result.message = "fault of the hindcast: no space, left";
  outcomes[1].finished = false;
  outcomes[2].unit = {1, {2010, 3}};
  EXPECT_EQ(unfinished_csv_text(cases, outcomes),
            "folder,issue_year,issue_week,message\n"
            "b,2009,2,\"fault of the hindcast: no space, left\"\n");
}

}  // namespace
}  // namespace darcalim::hindcast
