#include "estimation/estimation_driver.h"

#include <gtest/gtest.h>

#include "common/model_catalogue.h"
#include "tests/support/run_in_folder.h"

namespace darcalim {
namespace {

// A run of NSEM 12-week years whose calendar has one week per month, with
// the statistics of series 1 and 2 on window 1 set by each test (standard
// weekly moments, every correlation 0 unless a test says otherwise) and an
// all-zero series (every regression of the -RO, -RR families then fails and
// falls back silently).
class EstimationRun : public ::testing::Test {
 protected:
  static constexpr int kWeeks = 12;

  void SetUp() override {
    darcalim::Run& r = run();
    r.CASO.NSEM = kWeeks;
    r.CASO.TIPOTRANS = 0;
    r.CASO.print_parameters = 'N';
    r.history.NANOS = 30;
    r.JANELA(1) = Window{1, 30};
    r.models = build_model_list(0, 30);
    r.series_title(1) = "SERIE SEM TRANSFORMACAO";
    const int periods[kGroupings] = {2, 4, 12, kWeeks};
    for (int g = 1; g <= kGroupings; ++g) {
      WeekGrouping& grouping = r.GRUPO(g);
      grouping.NPER = periods[g - 1];
      const int length = kWeeks / grouping.NPER;
      for (int p = 1; p <= grouping.NPER + 1; ++p) grouping.INIPER(p) = 1 + (p - 1) * length;
      for (int t = 1; t <= kWeeks; ++t) grouping.ORDSEM(t) = t;
    }
    for (int s = 1; s <= kSeries; ++s) {
      for (int t = 1; t <= kWeeks; ++t) r.stats(s, 1).VARSEM(t) = 1.0;
    }
  }

  darcalim::Run& run() { return folder_.run(); }
  SeriesStatistics& stats(int series = 1) { return run().stats(series, 1); }
  const SeriesParameters& params(int series = 1) { return run().params(series, 1); }
  std::string estimate(int series = 1) {
    estimate_series(series);
    return folder_.file_text("CASO1.REL");
  }
  void estimate_series(int series) {
    darcalim::Run& r = run();
    const EstimationInputs in{{series_, r.JANELA(1), r.GRUPO, kWeeks}, r.stats(series, 1), series, r.models, r.CASO,
                              r.history.NANOS};
    ESTIMA(in, r.series_title(series), r.params(series, 1), r.VARRES, r.run_report);
  }

  darcalim::testing::RunInFolder folder_;
  SeriesTable series_;
};

TEST_F(EstimationRun, RejectedAr1BecomesWhiteNoise) {
  stats().FACANU(1) = 1.0;  // |r(1)| >= 1
  const std::string report = estimate();
  EXPECT_NE(report.find("\n\n  *** NAO FOI POSSIVEL ESTIMAR OS PARAMETROS DE UM AR(1) ***  MENS = 11\n"),
            std::string::npos)
      << report;
  EXPECT_EQ(params().FIAR(1, 1), 0.0);
  for (int t = 1; t <= kWeeks; ++t) EXPECT_EQ(run().VARRES(t, 1), 1.0);
}

TEST_F(EstimationRun, FailedArma11BecomesAr1WithoutMovingAverage) {
  stats().FACANU(1) = 0.5;
  stats().FACANU(2) = 0.6;  // phi1 = r(2) / r(1) = 1.2, not stationary
  for (int t = 1; t <= kWeeks; ++t) stats().VARSEM(t) = 2.0;
  const std::string report = estimate();
  EXPECT_NE(report.find("PARAMETROS DE UM ARMA(1,1) ***  MENS =  0\n"), std::string::npos) << report;
  EXPECT_EQ(params().FIARMA(1, 1), 0.5);
  EXPECT_EQ(params().FIARMA(2, 1), 0.0);
  // ARMA(1,1) is model 5; its noise ratio is (1 - 0.5 * 0.5) / (1 - 0 + 0).
  EXPECT_EQ(run().VARRES(1, 5), 0.75 * 2.0);
}

TEST_F(EstimationRun, FailedWeekOfPar3KeepsPar2WithZeroThirdCoefficient) {
  // Week 5 under the weekly grouping: its PAR(3) correlation matrix
  // [[1, .9, -.9], [.9, 1, .9], [-.9, .9, 1]] is not positive definite,
  // while the PAR(2) one [[1, .9], [.9, 1]] is.
  SeriesStatistics& s = stats();
  s.FACPER(1, 4, kWeeksGrouping) = 0.9;
  s.FACPER(2, 4, kWeeksGrouping) = -0.9;
  s.FACPER(1, 3, kWeeksGrouping) = 0.9;
  s.FACPER(1, 5, kWeeksGrouping) = 0.5;
  s.FACPER(2, 5, kWeeksGrouping) = 0.3;
  const std::string report = estimate();
  EXPECT_NE(report.find("\n*** nao foi possivel estimar os parametros de um ar(3) da semana  5 ***  mens =  9   "
                        "grupo = 12\n"),
            std::string::npos)
      << report;
  const auto& fipar = params().FIPAR;
  EXPECT_NE(fipar(1, 5, 2, kWeeksGrouping), 0.0);
  EXPECT_EQ(fipar(1, 5, 3, kWeeksGrouping), fipar(1, 5, 2, kWeeksGrouping));
  EXPECT_EQ(fipar(2, 5, 3, kWeeksGrouping), fipar(2, 5, 2, kWeeksGrouping));
  EXPECT_EQ(fipar(3, 5, 3, kWeeksGrouping), 0.0);
}

TEST_F(EstimationRun, SwitchNWritesHeadersAndFailureLinesOnly) {
  stats().FACANU(1) = 1.0;
  const std::string report = estimate();
  for (const char* header : {"MODELOS  A U T O - R E G R E S S I V O S  ESTACIONARIOS",
                             "M E D I A - M O V E I S  ESTACIONARIOS", "  PERIODICOS  *****",
                             "M E D I A - M O V E I S  PERIODICOS", "MENS = 11"}) {
    EXPECT_NE(report.find(header), std::string::npos) << header;
  }
  for (const char* table : {"Var(A)", "PARAMETROS DA SEMANA", "=> estimacao", "modelos nao estacionarios"}) {
    EXPECT_EQ(report.find(table), std::string::npos) << table;
  }
}

TEST_F(EstimationRun, SwitchSWritesEveryTable) {
  run().CASO.print_parameters = 'S';
  const std::string report = estimate();
  EXPECT_NE(report.find("\n  AR(1)      0.000\n   SEM   Var(A)    SEM   Var(A)    SEM   Var(A)    SEM   Var(A)\n\n"
                        "    1    1.000      2    1.000      3    1.000      4    1.000\n"),
            std::string::npos)
      << report;
  for (const char* table : {" * modelos nao estacionarios", "  Numero de periodos: 12",
                            "  Regressao varios passos a frente: ", "=> estimacao por MOMENTOS",
                            "=> estimacao por REGRESSAO\n", "=> estimacao por REGRESSAO varios passos a frente\n"}) {
    EXPECT_NE(report.find(table), std::string::npos) << table;
  }
}

// Every model of the list gets its noise variances at its own number, in the
// scale of its own series: with every correlation 0 the moment-estimated
// families keep the weekly variance (1 for series 1, 4 for series 2), the
// regression families get some value, and SAZONAL, CONSTANTE and the
// numbers beyond the list stay untouched.
TEST_F(EstimationRun, NoiseVariancesGoToTheNumbersOfTheModelList) {
  constexpr double kUntouched = -1.0;
  constexpr double kSecondSeriesVariance = 4.0;
  for (int t = 1; t <= kWeeks; ++t) stats(2).VARSEM(t) = kSecondSeriesVariance;
  const int options[] = {0, 1, 2, 3, 4};
  for (const int years : {30, 19}) {
    for (const int option : options) {
      run().CASO.TIPOTRANS = option;
      run().history.NANOS = years;
      run().models = build_model_list(option, years);
      run().VARRES.fill(kUntouched);
      for (int s = 1; s <= run().models.series_count; ++s) estimate_series(s);
      const ModelList& list = run().models;
      for (int m = 1; m <= kMaxPassModels; ++m) {
        SCOPED_TRACE("option " + std::to_string(option) + ", " + std::to_string(years) + " years, model " +
                     std::to_string(m));
        const double variance = run().VARRES(1, m);
        if (m > list.NMOD || list.model(m).is_benchmark) {
          EXPECT_EQ(variance, kUntouched);
          continue;
        }
        const ModelFamily f = list.model(m).family;
        if (f == ModelFamily::kParRo || f == ModelFamily::kParmaRr || f == ModelFamily::kParmaRo) {
          EXPECT_NE(variance, kUntouched);
        } else {
          EXPECT_EQ(variance, list.model(m).series == 1 ? 1.0 : kSecondSeriesVariance);
        }
      }
    }
  }
}

}  // namespace
}  // namespace darcalim
