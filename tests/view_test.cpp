// darcalim-plot and darcalim-view as commands on the shipped cases: the
// pictures are well-formed XML (xmllint), and the page, rendered by headless
// Chromium, shows the six forecasts and limits of the run's record with its
// script run without error. Each case's screenshot is kept as
// <build>/artifacts/view-<case>.png. A check whose tool is absent is skipped,
// saying so.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/file_text.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/shipped_cases.h"

namespace darcalim {
namespace {

namespace fs = std::filesystem;

// Chromium's first start in a fresh profile takes a few seconds; a render
// that has not ended after this long has hung.
constexpr const char* kBrowserTimeout = "180";

std::string shell_quoted(const fs::path& p) {
  return "'" + p.string() + "'";
}

bool available(const std::string& command) {
  return std::system(("command -v " + command + " > /dev/null 2>&1").c_str()) == 0;
}

int run(const std::string& command) {
  return std::system(command.c_str());
}

// The copy of a shipped case's folder after its run (expected/ holds every
// file of the folder after the run), in "run/" of a scratch folder.
fs::path finished_copy(const ScratchFolder& scratch, const std::string& name) {
  const fs::path folder = scratch.path() / "run";
  fs::copy(fs::path(DARCALIM_CASES_DIR) / name / "expected", folder);
  return folder;
}

// The six forecasts and both limit rows of the last record of PREVS.DAT, as
// its fields are written, read here by whitespace.
struct RecordTexts {
  std::vector<std::string> forecast, lower, upper;
};

RecordTexts last_record(const fs::path& file) {
  std::vector<std::string> lines;
  std::istringstream in(file_text(file));
  for (std::string line; std::getline(in, line);) {
    if (line.find_first_not_of(' ') != std::string::npos) lines.push_back(line);
  }
  const auto fields = [](const std::string& line, std::size_t skip) {
    std::istringstream words(line);
    std::vector<std::string> out;
    for (std::string w; words >> w;) out.push_back(w);
    return std::vector<std::string>(out.begin() + static_cast<std::ptrdiff_t>(skip), out.end());
  };
  const std::size_t n = lines.size();
  return {fields(lines[n - 3], 4), fields(lines[n - 2], 2), fields(lines[n - 1], 2)};
}

struct Rendered {
  std::string dom;
  std::string log;
};

Rendered render(const ScratchFolder& scratch, const fs::path& page, const std::string& extra) {
  const fs::path dom = scratch.path() / "dom.html";
  const fs::path log = scratch.path() / "chromium.log";
  const int status = run(std::string("timeout ") + kBrowserTimeout +
                         " chromium --headless --no-sandbox --disable-gpu --no-first-run --user-data-dir=" +
                         shell_quoted(scratch.path() / "profile") + " --enable-logging=stderr --v=0 " + extra +
                         " --dump-dom " + shell_quoted(fs::path("file://" + fs::absolute(page).string())) + " > " +
                         shell_quoted(dom) + " 2> " + shell_quoted(log));
  EXPECT_EQ(status, 0) << file_text(log);
  return {file_text(dom), file_text(log)};
}

void expect_script_ran(const Rendered& r) {
  EXPECT_NE(r.dom.find("data-script=\"ok\""), std::string::npos) << "the page's script did not end";
  EXPECT_EQ(r.log.find("Uncaught"), std::string::npos) << r.log;
}

class ShippedCasePage : public ::testing::TestWithParam<std::string> {};

TEST_P(ShippedCasePage, PictureIsWellFormed) {
  if (!available("xmllint")) GTEST_SKIP() << "xmllint is not installed (Debian: libxml2-utils)";
  ScratchFolder scratch;
  const fs::path folder = finished_copy(scratch, GetParam());
  const fs::path svg = scratch.path() / "forecast.svg";
  ASSERT_EQ(run(std::string(DARCALIM_PLOT_EXE) + " " + shell_quoted(folder) + " -o " + shell_quoted(svg)), 0);
  EXPECT_EQ(run("xmllint --noout " + shell_quoted(svg)), 0);
}

TEST_P(ShippedCasePage, BrowserShowsTheRunsRecord) {
  if (!available("chromium")) GTEST_SKIP() << "chromium is not installed";
  ScratchFolder scratch;
  const fs::path folder = finished_copy(scratch, GetParam());
  fs::create_directory(scratch.path() / "page");
  const fs::path page = scratch.path() / "page" / "view.html";
  ASSERT_EQ(run(std::string(DARCALIM_VIEW_EXE) + " " + shell_quoted(folder) + " -o " + shell_quoted(page)), 0);

  const Rendered r = render(scratch, page, "");
  expect_script_ran(r);
  const RecordTexts record = last_record(folder / "PREVS.DAT");
  ASSERT_EQ(record.forecast.size(), 6u);
  for (std::size_t k = 0; k < 6; ++k) {
    const std::string lead = std::to_string(k + 1);
    EXPECT_NE(r.dom.find("id=\"forecast-" + lead + "\">" + record.forecast[k] + "<"), std::string::npos) << lead;
    EXPECT_NE(r.dom.find("id=\"lower-" + lead + "\">" + record.lower[k] + "<"), std::string::npos) << lead;
    EXPECT_NE(r.dom.find("id=\"upper-" + lead + "\">" + record.upper[k] + "<"), std::string::npos) << lead;
  }
  // The links to the folder's files are relative to the page's folder.
  EXPECT_NE(r.dom.find("href=\"../run/PREVS.DAT\""), std::string::npos);

  const fs::path artifacts = DARCALIM_ARTIFACTS_DIR;
  fs::create_directories(artifacts);
  const fs::path screenshot = artifacts / ("view-" + GetParam() + ".png");
  fs::remove(screenshot);
  render(scratch, page, "--window-size=1280,2000 --screenshot=" + shell_quoted(screenshot));
  ASSERT_TRUE(fs::exists(screenshot)) << "no screenshot at " << screenshot;
  EXPECT_GT(fs::file_size(screenshot), 10000u);
}

INSTANTIATE_TEST_SUITE_P(Cases, ShippedCasePage, ::testing::ValuesIn(testing::shipped_case_names(DARCALIM_CASES_DIR)),
                         [](const auto& test_info) { return test_info.param; });

// The check of the page's script is no formality: a page whose script fails
// is told apart.
TEST(BrowserCheck, CatchesAFailingScript) {
  if (!available("chromium")) GTEST_SKIP() << "chromium is not installed";
  ScratchFolder scratch;
  const fs::path page = scratch.path() / "broken.html";
  std::ofstream(page) << "<!DOCTYPE html><html><body><p>x</p><script>no_such_function();"
                         "document.documentElement.setAttribute('data-script','ok');</script></body></html>";
  const Rendered r = render(scratch, page, "");
  EXPECT_EQ(r.dom.find("data-script=\"ok\""), std::string::npos);
  EXPECT_NE(r.log.find("Uncaught"), std::string::npos);
}

TEST(ForecastPicture, StationNameWithMarkupStaysWellFormed) {
  if (!available("xmllint")) GTEST_SKIP() << "xmllint is not installed (Debian: libxml2-utils)";
  ScratchFolder scratch;
  const fs::path folder = finished_copy(scratch, "s01_wuerzburg_o2");
  std::string history = file_text(folder / "HIST1.DAT");
  history.replace(9, 22, "A&B <MAIN> \"Q\" \xC3 '1'");
  std::ofstream(folder / "HIST1.DAT", std::ios::binary | std::ios::trunc) << history;
  const fs::path svg = scratch.path() / "forecast.svg";
  const fs::path html = scratch.path() / "view.html";
  ASSERT_EQ(run(std::string(DARCALIM_PLOT_EXE) + " " + shell_quoted(folder) + " -o " + shell_quoted(svg)), 0);
  EXPECT_EQ(run("xmllint --noout " + shell_quoted(svg)), 0);
  ASSERT_EQ(run(std::string(DARCALIM_VIEW_EXE) + " " + shell_quoted(folder) + " -o " + shell_quoted(html)), 0);
  EXPECT_NE(file_text(html).find("<h1 id=\"station\">14 A&amp;B &lt;MAIN&gt; &quot;Q&quot; \xC3\x83 &#39;1&#39;"),
            std::string::npos);
}

TEST(ScoresPicture, IsWellFormed) {
  if (!available("xmllint")) GTEST_SKIP() << "xmllint is not installed (Debian: libxml2-utils)";
  ScratchFolder scratch;
  const fs::path svg = scratch.path() / "scores.svg";
  ASSERT_EQ(run(std::string(DARCALIM_PLOT_EXE) + " --scores " + shell_quoted(DARCALIM_SCORES_FIXTURE) + " -o " +
                shell_quoted(svg)),
            0);
  EXPECT_EQ(run("xmllint --noout " + shell_quoted(svg)), 0);
  const std::string text = file_text(svg);
  for (const char* metric : {"ME", "SS", "coverage", "interval_score"}) {
    EXPECT_NE(text.find(std::string("data-metric=\"") + metric + "\""), std::string::npos) << metric;
  }
}

// Refusals and usage errors as the commands report them.
TEST(ViewCommands, RefuseAFolderThatNeverRanAndBadArguments) {
  ScratchFolder scratch;
  fs::copy(fs::path(DARCALIM_CASES_DIR) / "s01_wuerzburg_o2" / "input", scratch.path() / "run");
  const fs::path err = scratch.path() / "err.txt";
  const fs::path out = scratch.path() / "out.html";
  const auto status = [&](const std::string& command) {
    const int s = run(command + " 2> " + shell_quoted(err));
    return WIFEXITED(s) ? WEXITSTATUS(s) : -1;
  };
  EXPECT_EQ(
      status(std::string(DARCALIM_VIEW_EXE) + " " + shell_quoted(scratch.path() / "run") + " -o " + shell_quoted(out)),
      1);
  EXPECT_NE(file_text(err).find("no finished run"), std::string::npos) << file_text(err);
  EXPECT_FALSE(fs::exists(out));
  EXPECT_EQ(status(std::string(DARCALIM_PLOT_EXE) + " " + shell_quoted(scratch.path() / "run")), 2);
  EXPECT_NE(file_text(err).find("no output file (-o)"), std::string::npos) << file_text(err);
  EXPECT_EQ(status(std::string(DARCALIM_VIEW_EXE) + " --bogus x -o y"), 2);
  // Help is asked for, not a usage error, and writes nothing.
  EXPECT_EQ(status(std::string(DARCALIM_VIEW_EXE) + " --help > /dev/null"), 0);
  EXPECT_EQ(status(std::string(DARCALIM_PLOT_EXE) + " -h -o " + shell_quoted(out) + " > /dev/null"), 0);
  EXPECT_FALSE(fs::exists(out));
}

// -o never names a file of the run, and a page or picture that cannot be
// written whole (here past a file-size limit) leaves the earlier one as it
// was, with no temporary file beside it.
TEST(ViewCommands, WriteWholeAndNeverOverTheRun) {
  ScratchFolder scratch;
  const fs::path folder = finished_copy(scratch, "s01_wuerzburg_o2");
  const fs::path err = scratch.path() / "err.txt";
  const auto status = [&](const std::string& command) {
    const int s = run(command + " 2> " + shell_quoted(err));
    return WIFEXITED(s) ? WEXITSTATUS(s) : -1;
  };
  const std::string records = file_text(folder / "PREVS.DAT");
  EXPECT_EQ(status(std::string(DARCALIM_PLOT_EXE) + " " + shell_quoted(folder) + " -o " +
                   shell_quoted(folder / "PREVS.DAT")),
            1);
  EXPECT_NE(file_text(err).find("PREVS.DAT: a file of the run in"), std::string::npos) << file_text(err);
  EXPECT_EQ(file_text(folder / "PREVS.DAT"), records);

  fs::create_directory(scratch.path() / "page");
  const fs::path page = scratch.path() / "page" / "view.html";
  std::ofstream(page) << "earlier page\n";
  EXPECT_EQ(status("ulimit -f 8; " + std::string(DARCALIM_VIEW_EXE) + " " + shell_quoted(folder) + " -o " +
                   shell_quoted(page)),
            1);
  EXPECT_NE(file_text(err).find("view.html: cannot be written (File too large)"), std::string::npos)
      << file_text(err);
  EXPECT_EQ(file_text(page), "earlier page\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(page.parent_path()), fs::directory_iterator()), 1);
  EXPECT_EQ(status(std::string(DARCALIM_VIEW_EXE) + " " + shell_quoted(folder) + " -o " + shell_quoted(page)), 0);
  EXPECT_EQ(file_text(page).rfind("<!DOCTYPE html>", 0), 0u);
}

}  // namespace
}  // namespace darcalim
