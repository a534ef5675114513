#include "stats/transformation_step.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>

#include "common/case_settings.h"
#include "driver/run.h"
#include "tests/support/flow_fixtures.h"

namespace darcalim {
namespace {

using testing::flows_symmetric_under;
using testing::RunInFolder;
using testing::set_week;

constexpr int kNSEM = 52;
constexpr int kComplete = 30;  // complete years; row 31 holds 10 weeks

const std::string kZeroFlowConsole =
    "\n\n     Vazao Nula.     Nao sera considerada a opcao c\\ transformacao\n\n";
const std::string kZeroFlowReport =
    "\n\n     *** ATENCAO ***\n"
    "      Vazao Nula. Nao sera considerada a opcao c\\ transformacao\n"
    "\n"
    "     Resultados c\\ transf. iguais aos s\\ transf.\n"
    "\n\n";

// A history of 30 complete years and a partial year of 10 weeks whose
// weeks are symmetric under exponents between -1 and 1.5.
void prepare(Run& run, int option) {
  run.CASO.TIPOTRANS = option;
  run.CASO.NSEM = kNSEM;
  FlowHistory& h = run.history;
  h.NANOSARQ = kComplete + 1;
  h.NANOS = kComplete;
  h.NSEMULT = 10;
  for (int t = 1; t <= kNSEM; ++t) {
    const double lambda = -1.0 + 2.5 * (t - 1) / (kNSEM - 1);
    const double centre = lambda < 0.0 ? 0.5 : 3.0;
    const double spread = lambda < 0.0 ? 0.2 : 1.0;
    set_week(h.HISTORICO, t, flows_symmetric_under(lambda, centre, spread, kComplete));
    if (t <= h.NSEMULT) h.HISTORICO(h.NANOSARQ, t) = 2.0 + t;
  }
  run.LAMBDA.fill(1.0);
  run.transformed.fill(-999.0);
}

// The preparation over the run's tables, with the Box-Cox report named
// after the run report, as the case input calls it.
void prepare_transformation_of(Run& run) {
  const std::filesystem::path boxcox_path = run.file(boxcox_report_name(run.CASO.report_name));
  const TransformationInputs in{run.history, run.CASO.TIPOTRANS, run.CASO.NSEM, run.zero_flow, boxcox_path};
  prepare_transformation(in, {run.LAMBDA, run.LIMBC, run.transformed, run.console, run.run_report, run.boxcox_report});
}

// Every flow of the history in reach of TRANS, transformed with `lambda(t)`.
template <typename Exponent>
void expect_transformed(const Run& run, Exponent lambda) {
  const FlowHistory& h = run.history;
  for (int y = 1; y <= h.NANOSARQ; ++y) {
    for (int t = 1; t <= (y == h.NANOSARQ ? h.NSEMULT : kNSEM); ++t) {
      const double x = h.HISTORICO(y, t);
      const double l = lambda(t);
      const double expected = l == 0.0 ? std::log(x) : l == 1.0 ? x : (std::pow(x, l) - 1.0) / l;
      ASSERT_EQ(run.transformed(y, t), expected) << "year " << y << " week " << t;
    }
  }
  EXPECT_EQ(run.transformed(h.NANOSARQ, h.NSEMULT + 1), -999.0);
}

TEST(PrepareTransformation, NoTransformationCopiesTheHistory) {
  RunInFolder folder;
  prepare(folder.run(), 0);
  prepare_transformation_of(folder.run());
  for (int t = 1; t <= kMaxWeeks; ++t) EXPECT_EQ(folder.run().LAMBDA(t), 1.0);
  expect_transformed(folder.run(), [](int) { return 1.0; });
  EXPECT_EQ(folder.console(), "");
  EXPECT_EQ(folder.file_text("CASO1.REL"), "");
  EXPECT_FALSE(folder.file_exists("CASO1.BCX"));
}

class Logarithm : public ::testing::TestWithParam<int> {};

TEST_P(Logarithm, TakesTheLogarithmOfEveryWeek) {
  RunInFolder folder;
  prepare(folder.run(), GetParam());
  prepare_transformation_of(folder.run());
  for (int t = 1; t <= kNSEM; ++t) EXPECT_EQ(folder.run().LAMBDA(t), 0.0);
  expect_transformed(folder.run(), [](int) { return 0.0; });
  EXPECT_EQ(folder.file_text("CASO1.REL"), "");
  EXPECT_FALSE(folder.file_exists("CASO1.BCX"));
}

INSTANTIATE_TEST_SUITE_P(Options, Logarithm, ::testing::Values(1, 3));

struct BoxCoxOption {
  int option;
  const char* label;
};

class BoxCox : public ::testing::TestWithParam<BoxCoxOption> {};

// The option line in the run report, the Box-Cox report named after the
// run report, each week's exponent near the one its flows were built from.
TEST_P(BoxCox, ChoosesTheExponentsAndWritesTheBoxCoxReport) {
  RunInFolder folder;
  darcalim::Run& run = folder.run();
  prepare(run, GetParam().option);
  prepare_transformation_of(run);
  EXPECT_EQ(folder.file_text("CASO1.REL"),
            std::string("  VAZOES SEMANAIS COM TRANSFORMACAO ") + GetParam().label + "\n\n");
  for (int t = 1; t <= kNSEM; ++t) {
    EXPECT_NEAR(run.LAMBDA(t), -1.0 + 2.5 * (t - 1) / (kNSEM - 1), 2e-3) << "week " << t;
  }
  expect_transformed(run, [&run](int t) { return run.LAMBDA(t); });
  const std::string report = folder.file_text("CASO1.BCX");
  EXPECT_EQ(report.rfind("\f\nDeterminacao", 0), 0u);
  EXPECT_NE(report.find("SEMANA  52"), std::string::npos);
  EXPECT_EQ(folder.console(), "");
}

INSTANTIATE_TEST_SUITE_P(Options, BoxCox,
                         ::testing::Values(BoxCoxOption{2, "BC/S.TRANSF."}, BoxCoxOption{4, "BOX & COX   "}));

class ZeroFlow : public ::testing::TestWithParam<int> {};

// A zero flow under any transformation option: the two messages, exponent
// 1 for every week (no logarithm of the zero is taken), the series with
// transformation equal to the history, an empty Box-Cox report under the
// Box-Cox options.
TEST_P(ZeroFlow, KeepsTheFlowsUntransformedWithItsMessages) {
  const int option = GetParam();
  RunInFolder folder;
  darcalim::Run& run = folder.run();
  prepare(run, option);
  run.history.HISTORICO(4, 17) = 0.0;
  run.zero_flow = true;
  if (option == 3) run.LAMBDA.fill(0.5);  // second pass of a combined run: earlier exponents are dropped
  prepare_transformation_of(run);
  EXPECT_EQ(folder.console(), kZeroFlowConsole);
  const bool boxcox = option == 2 || option == 4;
  const std::string option_line =
      boxcox ? std::string("  VAZOES SEMANAIS COM TRANSFORMACAO ") + transformation_label(option) + "\n\n" : "";
  EXPECT_EQ(folder.file_text("CASO1.REL"), option_line + kZeroFlowReport);
  for (int t = 1; t <= kNSEM; ++t) EXPECT_EQ(run.LAMBDA(t), 1.0);
  expect_transformed(run, [](int) { return 1.0; });
  EXPECT_EQ(run.transformed(4, 17), 0.0);
  EXPECT_EQ(folder.file_exists("CASO1.BCX"), boxcox);
  if (boxcox) {
    EXPECT_EQ(folder.file_text("CASO1.BCX"), "");
  }
}

INSTANTIATE_TEST_SUITE_P(Options, ZeroFlow, ::testing::Values(1, 2, 3, 4));

}  // namespace
}  // namespace darcalim
