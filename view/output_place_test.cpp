#include "view/output_place.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/support/finished_folder.h"
#include "tests/support/scratch_folder.h"
#include "view/forecast_picture.h"
#include "view/view_error.h"

namespace darcalim::view {
namespace {

namespace fs = std::filesystem;

// Where -o may point, beside a finished run of s01 (its history HIST1.DAT,
// report CASO1.REL, appended file PREVS.DAT, ranking report RANK1.CSV).
TEST(OutputPlace, NeverOverAFileOfTheRun) {
  const FinishedFolder run("s01_wuerzburg_o2");
  const fs::path dir = run.path();
  ScratchFolder elsewhere;
  const RunFiles files{dir, {"CASO.DAT", "CASO1.DAT", "HIST1.DAT", "CASO1.REL", "CASO1.BCX", "PREVS.DAT",
                             "RANK1.CSV", "PREVISAO.DAT", "PREVP.DAT", "PREVT.DAT", "RUNTRACE.DAT", "RUNSTATE.DAT"}};
  run.write("notes.txt", "kept by hand\n");
  run.write("old.svg", std::string(kSvgDeclaration) + "<svg/>\n");
  fs::create_directory(dir / "pictures");
  fs::create_symlink(dir, elsewhere.path() / "alias");
  fs::create_hard_link(dir / "HIST1.DAT", elsewhere.path() / "history-copy.DAT");
  struct Place {
    fs::path output;
    const char* refusal;  // "" when the tool may write there
  };
  const Place places[] = {
      {dir / "forecast.svg", ""},
      {dir / "old.svg", ""},
      {dir / "pictures" / "PREVS.DAT", ""},
      {elsewhere.path() / "forecast.svg", ""},
      {dir / "PREVS.DAT", "a file of the run in"},
      {dir / "HIST1.DAT", "a file of the run in"},
      {dir / "RUNTRACE.DAT", "a file of the run in"},
      {elsewhere.path() / "alias" / "RANK1.CSV", "a file of the run in"},
      {dir / "notes.txt", "that the tool did not write"},
      {elsewhere.path() / "history-copy.DAT", "a file of the run in"},
  };
  for (const Place& p : places) {
    SCOPED_TRACE(p.output.string());
    try {
      check_output_place(p.output, dir, &files, kSvgDeclaration);
      EXPECT_STREQ(p.refusal, "");
    } catch (const ViewInputError& e) {
      EXPECT_NE(*p.refusal, '\0') << e.what();
      EXPECT_NE(std::string(e.what()).find(p.refusal), std::string::npos) << e.what();
      EXPECT_EQ(std::string(e.what()).rfind(p.output.string() + ": ", 0), 0u) << e.what();
    }
  }
}

TEST(OutputPlace, NeverOverTheInput) {
  ScratchFolder folder;
  const fs::path scores = folder.path() / "hindcast-scores.csv";
  std::ofstream(scores) << "location_id,metric,reference,lead_weeks,n,level,value\n";
  EXPECT_THROW(check_output_place(scores, scores, nullptr, kSvgDeclaration), ViewInputError);
  EXPECT_NO_THROW(check_output_place(folder.path() / "scores.svg", scores, nullptr, kSvgDeclaration));
}

}  // namespace
}  // namespace darcalim::view
