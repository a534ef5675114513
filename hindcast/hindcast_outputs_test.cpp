#include "hindcast/hindcast_outputs.h"

#include <gtest/gtest.h>

#include <sstream>

#include "hindcast/hindcast_files.h"
#include "tests/support/file_text.h"
#include "tests/support/scratch_folder.h"

namespace darcalim::hindcast {
namespace {

namespace fs = std::filesystem;

// One case, observed over 2008-2009, and the outcome of one forecast week of
// it with a forecast for its first lead.
struct OutputsFixture : ::testing::Test {
  ScratchFolder scratch;
  std::string prefix = (scratch.path() / "h").string();
  std::vector<HindcastCase> cases;
  std::vector<IssueOutcome> outcomes;

  OutputsFixture() {
    HindcastCase c;
    c.folder = "cases/a";
    c.station_code = 14;
    c.confidence_level = 95;
    c.first_year = 2008;
    c.last_year = 2009;
    c.last_observed_week = 52;
    for (int i = 0; i < 104; ++i) c.flows.push_back(10.0 + i);
    cases.push_back(c);
    IssueOutcome o;
    o.unit = {0, {2009, 3}};
    o.result.state = RunResult::State::kNormalEnd;
    LeadForecast lead;
    lead.lead = 1;
    lead.target_week = 3;
    lead.value = 60.5;
    lead.value_text = "     60.5";
    lead.model = "AR(1)";
    o.result.leads.push_back(lead);
    outcomes.push_back(o);
  }

  std::size_t entries() const {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(scratch.path()), fs::directory_iterator()));
  }
};

TEST_F(OutputsFixture, TheScoresAreThoseOfThePairsFileReadBack) {
  std::ofstream(unfinished_path(prefix)) << "folder,issue_year,issue_week,message\ncases/a,2009,3,fault\n";
  std::ostringstream err;
  ASSERT_TRUE(write_hindcast_files(prefix, cases, outcomes, err)) << err.str();
  const std::string pairs = file_text(pairs_path(prefix));
  EXPECT_EQ(pairs, pairs_header() + "\n14,2009,3,1,2009,3,60.5,,,95,AR(1),64,63,12,cases/a\n");
  PairsTable table;
  table.add_file("read back", pairs);
  const auto scores = score_cases(table.cases());
  EXPECT_EQ(file_text(scores_csv_path(prefix)), scores_csv_text(scores));
  EXPECT_EQ(file_text(scores_json_path(prefix)), scores_json_text(scores));
  EXPECT_FALSE(fs::exists(unfinished_path(prefix))) << "the list of an earlier run is left";
  EXPECT_EQ(entries(), 3u);
}

TEST_F(OutputsFixture, AnUnfinishedUnitLeavesItsListAndNoPairs) {
  std::ofstream(pairs_path(prefix)) << "pairs of an earlier run\n";
  IssueOutcome unfinished;
  unfinished.unit = {0, {2009, 4}};
  unfinished.result.message = "fault of the hindcast: no space";
  unfinished.finished = false;
  outcomes.push_back(unfinished);
  std::ostringstream err;
  EXPECT_FALSE(write_hindcast_files(prefix, cases, outcomes, err));
  EXPECT_EQ(file_text(unfinished_path(prefix)),
            "folder,issue_year,issue_week,message\ncases/a,2009,4,fault of the hindcast: no space\n");
  EXPECT_EQ(file_text(pairs_path(prefix)), "pairs of an earlier run\n");
  EXPECT_FALSE(fs::exists(scores_csv_path(prefix)));
  EXPECT_EQ(entries(), 2u);
}

TEST_F(OutputsFixture, APairsFileThatCannotBeWrittenIsSaidAndLeavesNothingHalfWritten) {
  fs::create_directory(pairs_path(prefix));
  std::ostringstream err;
  EXPECT_FALSE(write_hindcast_files(prefix, cases, outcomes, err));
  EXPECT_NE(err.str().find("h-pairs.csv: cannot be written"), std::string::npos) << err.str();
  EXPECT_TRUE(fs::is_empty(pairs_path(prefix)));
  for (const auto& entry : fs::directory_iterator(scratch.path())) {
    EXPECT_NE(entry.path().filename().string().front(), '.') << "left behind: " << entry.path();
  }
}

}  // namespace
}  // namespace darcalim::hindcast
