#include "evaluation/error_analysis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "common/model_catalogue.h"
#include "tests/support/known_models.h"
#include "tests/support/run_in_folder.h"

namespace darcalim {
namespace {

constexpr int kNsem = 52;
constexpr int kExact = 1;        // forecasts the observation
constexpr int kTenHigh = 2;      // forecasts 10 above it
constexpr int kWeekLow = 3;      // forecasts t below it in week t: the error is t
constexpr int kWindowBound = 4;  // 10 above it in the second half, 20 below it in the first half

// Four years of flows 100 y + t under option 0 (47 models) and the months
// of a 52-week year (5, 4, 4, 5, ... weeks). The simulation of each window
// is replaced by records written directly: every model forecasts the
// observation except the four above.
class ErrorAnalysis : public ::testing::Test {
 protected:
  ErrorAnalysis() {
    run().models = build_model_list(0, 25);
    run().GRUPO = testing_support::calendar_groupings(kNsem);
    run().CASO.NSEM = kNsem;
    for (int y = 1; y <= 4; ++y) {
      for (int t = 1; t <= kNsem; ++t) run().history.HISTORICO(y, t) = 100.0 * y + t;
    }
    records_.open(run().file("PREVP.DAT"));
  }

  darcalim::Run& run() { return folder_.run(); }
  std::string report_text() { return folder_.file_text("CASO1.REL"); }
  ErrorTables& err() { return run().errors; }

  // The records of window c (record (Y - first) * NSEM + t), then ANAPREV.
  void analyse(int c, const Window& eval) {
    for (int Y = eval.first; Y <= eval.last; ++Y) {
      for (int t = 1; t <= kNsem; ++t) {
        const double Q = run().history.HISTORICO(Y, t);
        std::vector<double> F(static_cast<std::size_t>(run().models.NMOD), Q);
        F[kTenHigh - 1] = Q + 10.0;
        F[kWeekLow - 1] = Q - t;
        F[kWindowBound - 1] = eval.first == 1 ? Q - 20.0 : Q + 10.0;
        records_.write((Y - eval.first) * kNsem + t, F);
      }
    }
    ANAPREV({run().models, run().GRUPO, run().history.HISTORICO, kNsem}, c, eval, records_, run().errors,
            run().run_report);
  }

  // The bias and the root mean square error of model m, in every table of slot c.
  struct Everywhere {
    double bias;
    double error;
  };
  void expect_everywhere(int m, int c, Everywhere e) {
    EXPECT_DOUBLE_EQ(err().ERRGER(m, 1, c), e.bias) << "model " << m << " slot " << c;
    EXPECT_DOUBLE_EQ(err().ERRGER(m, 2, c), e.error) << "model " << m << " slot " << c;
    for (int M = 1; M <= kMonths; ++M) {
      EXPECT_DOUBLE_EQ(err().ERRMES(m, M, c), e.bias) << "model " << m << " slot " << c << " month " << M;
      EXPECT_DOUBLE_EQ(err().ERRMES(m, kMonths + M, c), e.error) << "model " << m << " slot " << c << " month " << M;
    }
    for (int t = 1; t <= kNsem; ++t) {
      EXPECT_DOUBLE_EQ(err().ERRSEM(m, t, c), e.bias) << "model " << m << " slot " << c << " week " << t;
      EXPECT_DOUBLE_EQ(err().ERRSEM(m, kNsem + t, c), e.error) << "model " << m << " slot " << c << " week " << t;
    }
  }

 private:
  testing::RunInFolder folder_;
  RecordFile records_;
};

TEST_F(ErrorAnalysis, ExactAndConstantlyHighForecasts) {
  analyse(1, {3, 4});
  analyse(2, {1, 2});
  analyse(3, {1, 4});
  combine_half_windows(err(), run().models.NMOD, kNsem);
  for (int c = 1; c <= kCombinedSlot; ++c) {
    expect_everywhere(kExact, c, {0.0, 0.0});
    expect_everywhere(kTenHigh, c, {-10.0, 10.0});
  }
}

// The error t of week t: the week's bias and RQEMQ are t; month 1 (weeks
// 1..5) has bias 3 and error sqrt(55 / 5); month 2 (weeks 6..9) bias 7.5
// and error sqrt(230 / 4); over the year the bias is 26.5 and the error
// sqrt(48230 / 52) = sqrt(927.5).
TEST_F(ErrorAnalysis, MeansOverTheWeeksOfEachMonthAndOfTheYear) {
  analyse(2, {1, 2});
  EXPECT_DOUBLE_EQ(err().ERRGER(kWeekLow, 1, 2), 26.5);
  EXPECT_DOUBLE_EQ(err().ERRGER(kWeekLow, 2, 2), std::sqrt(927.5));
  EXPECT_DOUBLE_EQ(err().ERRMES(kWeekLow, 1, 2), 3.0);
  EXPECT_DOUBLE_EQ(err().ERRMES(kWeekLow, kMonths + 1, 2), std::sqrt(11.0));
  EXPECT_DOUBLE_EQ(err().ERRMES(kWeekLow, 2, 2), 7.5);
  EXPECT_DOUBLE_EQ(err().ERRMES(kWeekLow, kMonths + 2, 2), std::sqrt(57.5));
  for (int t = 1; t <= kNsem; ++t) {
    EXPECT_DOUBLE_EQ(err().ERRSEM(kWeekLow, t, 2), t) << t;
    EXPECT_DOUBLE_EQ(err().ERRSEM(kWeekLow, kNsem + t, 2), t) << t;
  }
}

// Errors -10 in the second half and 20 in the first: the combined slot holds
// the plain averages, bias 5 and error (10 + 20) / 2 = 15 (not the root of
// the mean square, sqrt(250)).
TEST_F(ErrorAnalysis, CombinedSlotIsThePlainAverageOfTheHalfWindows) {
  analyse(1, {3, 4});
  analyse(2, {1, 2});
  combine_half_windows(err(), run().models.NMOD, kNsem);
  expect_everywhere(kWindowBound, 1, {-10.0, 10.0});
  expect_everywhere(kWindowBound, 2, {20.0, 20.0});
  expect_everywhere(kWindowBound, kCombinedSlot, {5.0, 15.0});
}

TEST_F(ErrorAnalysis, ReportNamesEachWindow) {
  analyse(1, {3, 4});
  analyse(2, {1, 2});
  analyse(3, {1, 4});
  const std::string report = report_text();
  const auto second = report.find("ERROS DE PREVISAO DA SEGUNDA METADE");
  const auto first = report.find("ERROS DE PREVISAO DA PRIMEIRA METADE");
  const auto whole = report.find("ERROS DE PREVISAO DE TODA SERIE");
  ASSERT_NE(second, std::string::npos);
  ASSERT_NE(first, std::string::npos);
  ASSERT_NE(whole, std::string::npos);
  EXPECT_LT(second, first);
  EXPECT_LT(first, whole);
}

}  // namespace
}  // namespace darcalim
