#include "estimation/estimation_driver.h"

#include <cstdint>

#include "common/layout.h"
#include "common/model_catalogue.h"
#include "common/table_sizes.h"
#include "estimation/parameter_tables.h"
#include "estimation/periodic_ar.h"
#include "estimation/periodic_arma.h"
#include "estimation/stationary_models.h"

namespace darcalim {

namespace {

std::int64_t I(int v) { return std::int64_t{v}; }

// Everything one call works on.
struct Estimation {
  const SeriesTable& series;
  const Window window;
  const WeekGroupings& GRUPO;
  const SeriesStatistics& stats;
  SeriesParameters& params;
  NoiseVariances& VARRES;
  OutputFile& report;
  const int NSEM;
  const ModelList& models;
  const int series_index;
  const bool print_parameters;
  ModelNumbers numbers;

  // The list's number of a model of this series.
  int number(ModelFamily family, int order, int grouping = 0) const {
    return models.number_of(series_index, family, order, grouping);
  }
  ParameterTableSource tables() const { return {params, VARRES, numbers, GRUPO, NSEM}; }
  bool print_tables() const { return print_parameters && !report.keeps_nothing(); }
};

bool failed(const StationaryFit& fit) { return fit.code != 0 || fit.flag != 0; }

void estimate_ar(Estimation& e, const std::string& title) {
  static const Layout kHeader(
      "A / 2X A23 / / '*****  MODELOS  A U T O - ' 'R E G R E S S I V O S  ESTACIONARIOS  *****' /");
  static const Layout kFailure("/ / 2X '*** NAO FOI POSSIVEL ESTIMAR OS ' 'PARAMETROS DE UM AR(' I1 ') ***  MENS = ' I2");
  e.report.write(kHeader, {std::string("\f"), title});
  Array<int, 4> flags;
  for (int p = 1; p <= 4; ++p) {
    const int model = e.number(ModelFamily::kAr, p);
    e.numbers.ar(p) = model;
    const StationaryFit fit = ESTPA(p, e.stats, e.params);
    flags(p) = fit.flag;
    if (failed(fit)) {
      e.report.write(kFailure, {I(p), I(fit.code)});
      for (int i = 1; i < p; ++i) e.params.FIAR(i, p) = e.params.FIAR(i, p - 1);
      e.params.FIAR(p, p) = 0.0;
    }
    VARB(e.NSEM, p, e.stats, e.params, e.VARRES, model);
  }
  if (e.print_tables()) write_ar_table(e.report, e.tables(), flags);
}

void estimate_arma(Estimation& e) {
  static const Layout kHeader(
      "/ / '*****  MODELOS  A U T O - R E G R E S S I V O S' '  M E D I A - M O V E I S  ESTACIONARIOS  *****' /");
  static const Layout kFailure(
      "/ / 2X '*** NAO FOI POSSIVEL ESTIMAR OS ' 'PARAMETROS DE UM ARMA(' I1 ',1) ***  MENS = ' I2");
  e.report.write(kHeader);
  Array<int, 3> flags;
  for (int p = 1; p <= 3; ++p) {
    const int model = e.number(ModelFamily::kArma, p);
    e.numbers.arma(p) = model;
    const StationaryFit fit = ESTMA(p, e.stats, e.params);
    flags(p) = fit.flag;
    if (failed(fit)) {
      e.report.write(kFailure, {I(p), I(fit.code)});
      if (p == 1) {
        e.params.FIARMA(1, 1) = e.params.FIAR(1, 1);
        e.params.FIARMA(2, 1) = 0.0;
      } else {
        for (int i = 1; i < p; ++i) e.params.FIARMA(i, p) = e.params.FIARMA(i, p - 1);
        e.params.FIARMA(p, p) = 0.0;
        e.params.FIARMA(p + 1, p) = e.params.FIARMA(p, p - 1);  // theta of ARMA(p - 1,1)
      }
    }
    VARBM(e.NSEM, p, e.stats, e.params, e.VARRES, model);
  }
  if (e.print_tables()) write_arma_table(e.report, e.tables(), flags);
}

void write_periodic_failures(Estimation& e, const Layout& failure, int p, int g, const WeekCodes& codes) {
  for (int t = 1; t <= e.NSEM; ++t) {
    if (codes(t) != 0) e.report.write(failure, {I(p), I(t), I(codes(t)), I(e.GRUPO(g).NPER)});
  }
}

void estimate_par(Estimation& e) {
  static const Layout kHeader("A / '*****  MODELOS  A U T O - R E G R E S S I V O S' '  PERIODICOS  *****' /");
  static const Layout kFailure(
      "/ '*** nao foi possivel estimar ' 'os parametros de um ar(' I1 ') da ' 'semana ' I2 ' ***  mens = ' I2 3X"
      " 'grupo = ' I2");
  e.report.write(kHeader, {std::string("\f")});
  for (int g = 1; g <= kGroupings; ++g) {
    if (!e.GRUPO(g).enabled) continue;
    for (int p = 1; p <= 4; ++p) {
      const int model = e.number(ModelFamily::kPar, p, g);
      e.numbers.par(p, g) = model;
      const WeekCodes codes = ESTPAR(e.NSEM, p, g, e.stats, e.params);
      write_periodic_failures(e, kFailure, p, g, codes);
      for (int t = 1; t <= e.NSEM; ++t) {
        if (codes(t) == 0 || p == 1) continue;
        for (int i = 1; i < p; ++i) e.params.FIPAR(i, t, p, g) = e.params.FIPAR(i, t, p - 1, g);
        e.params.FIPAR(p, t, p, g) = 0.0;
      }
      VARBP(e.NSEM, p, g, e.stats, e.params, e.VARRES, model);
    }
  }
  for (int p = 1; p <= 4; ++p) e.numbers.par_ro(p) = e.number(ModelFamily::kParRo, p);
  ESTPRL(e.NSEM, e.window, e.series, e.stats, e.GRUPO, e.params, e.VARRES, e.numbers.par_ro(1));
  if (e.print_tables()) write_par_table(e.report, e.tables());
}

void estimate_parma(Estimation& e) {
  static const Layout kHeader(
      "A / '*****  MODELOS  A U T O - R E G R E S S I V O S' '  M E D I A - M O V E I S  PERIODICOS  *****' /");
  static const Layout kFailure(
      "/ '*** nao foi possivel estimar os ' 'parametros de um arma(' I1 ',1) da ' 'semana ' I2 ' ***  mens = ' I2"
      " 3X 'grupo = ' I2");
  e.report.write(kHeader, {std::string("\f")});
  for (int g = 1; g <= kGroupings; ++g) {
    if (!e.GRUPO(g).enabled) continue;
    for (int p = 1; p <= 3; ++p) {
      const int model = e.number(ModelFamily::kParma, p, g);
      e.numbers.parma(p, g) = model;
      const WeekCodes codes = ESTMAP(e.NSEM, p, g, e.stats, e.params, e.VARRES, model);
      write_periodic_failures(e, kFailure, p, g, codes);
    }
  }
  for (int p = 1; p <= 3; ++p) e.numbers.parma_rr(p) = e.number(ModelFamily::kParmaRr, p);
  ESTMAPR(e.NSEM, e.window, e.series, e.stats, e.params, e.VARRES, e.numbers.parma_rr(1));
  for (int p = 1; p <= 3; ++p) e.numbers.parma_ro(p) = e.number(ModelFamily::kParmaRo, p);
  ESTMAPRL(e.NSEM, e.window, e.series, e.stats, e.GRUPO, e.params, e.VARRES, e.numbers.parma_ro(1));
  if (e.print_tables()) write_parma_tables(e.report, e.tables());
}


}  // namespace

void ESTIMA(const EstimationInputs& in, const std::string& title, SeriesParameters& params, NoiseVariances& VARRES,
            OutputFile& report) {
  const CaseSettings& c = in.settings;
  Estimation e{in.data.series,
               in.data.years,
               in.data.groupings,
               in.stats,
               params,
               VARRES,
               report,
               in.data.NSEM,
               in.models,
               in.series_index,
               c.print_parameters == 'S',
               {}};
  if (c.ar == 'S') estimate_ar(e, title);
  if (c.arma == 'S') estimate_arma(e);
  if (!is_short_history(in.NANOS)) {
    if (c.par == 'S') estimate_par(e);
    if (c.parma == 'S') estimate_parma(e);
  }
}

}  // namespace darcalim
