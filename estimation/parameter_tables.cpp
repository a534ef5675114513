#include "estimation/parameter_tables.h"

#include <cstdint>
#include <string>

#include "common/layout.h"

namespace darcalim {

namespace {

std::int64_t I(int v) { return std::int64_t{v}; }

FieldValues one_to(int n) {
  FieldValues values;
  for (int i = 1; i <= n; ++i) values.emplace_back(I(i));
  return values;
}

// Pairs (week, noise variance) of one model, four to a line.
void write_variance_table(OutputFile& report, const ParameterTableSource& source, int model) {
  static const Layout kTable("1X 4(2X 'SEM' 3X 'Var(A)' 2X) / / 13(4(3X I2 2X F7.3 2X) /)");
  FieldValues values;
  for (int t = 1; t <= source.NSEM; ++t) {
    values.emplace_back(I(t));
    values.emplace_back(source.VARRES(t, model));
  }
  report.write(kTable, values);
}

std::string mark(int flag) { return flag != 0 ? "*" : " "; }

// A line of a periodic table, in `line` (its storage kept from line to
// line): the order and the week's noise variance, then the coefficients.
FieldValues& periodic_line(FieldValues& line, int p, double variance) {
  line.clear();
  line.emplace_back(I(p));
  line.emplace_back(variance);
  return line;
}

// phi(1..p, t) of a coefficient set.
template <typename Coefficients, typename... Grouping>
FieldValues& with_phi(FieldValues& line, const Coefficients& fi, int t, int p, Grouping... grouping) {
  for (int i = 1; i <= p; ++i) line.emplace_back(fi(i, t, p, grouping...));
  return line;
}

// theta(t), then phi(1..p, t), of a PARMA(p,1) coefficient set.
template <typename Coefficients, typename... Grouping>
FieldValues& with_theta_then_phi(FieldValues& line, const Coefficients& fi, int t, int p, Grouping... grouping) {
  line.emplace_back(fi(p + 1, t, p, grouping...));
  return with_phi(line, fi, t, p, grouping...);
}

void write_week_header(OutputFile& report, const Layout& header, int t, int orders) {
  FieldValues values;
  values.reserve(static_cast<std::size_t>(orders) + 1);
  values.emplace_back(I(t));
  for (int i = 1; i <= orders; ++i) values.emplace_back(I(i));
  report.write(header, values);
}

}  // namespace

void write_ar_table(OutputFile& report, const ParameterTableSource& source, const Array<int, 4>& flags) {
  static const Layout kHeader("8X 4(6X '\xED(' I1 ')') /");
  static const Layout kLine("2X 'AR(' I1 ')' A 4(2X F8.3)");
  report.write(kHeader, one_to(4));
  for (int p = 1; p <= 4; ++p) {
    FieldValues values{I(p), mark(flags(p))};
    for (int i = 1; i <= p; ++i) values.emplace_back(source.params.FIAR(i, p));
    report.write(kLine, values);
    write_variance_table(report, source, source.numbers.ar(p));
  }
}

void write_arma_table(OutputFile& report, const ParameterTableSource& source, const Array<int, 3>& flags) {
  static const Layout kHeader(
      "/ '=> estimacao pelo METODO DOS MOMENTOS' / / 16X '\xE9(1)' 3(6X '\xED(' I1 ')') 2X 'Var' /");
  static const Layout kLine("2X 'ARMA(' I1 ',1)' A 4(2X F8.3)");
  static const Layout kFootnote("/ ' * modelos nao estacionarios'");
  report.write(kHeader, one_to(3));
  for (int p = 1; p <= 3; ++p) {
    FieldValues values{I(p), mark(flags(p)), source.params.FIARMA(p + 1, p)};
    for (int i = 1; i <= p; ++i) values.emplace_back(source.params.FIARMA(i, p));
    report.write(kLine, values);
    write_variance_table(report, source, source.numbers.arma(p));
  }
  report.write(kFootnote);
}

void write_par_table(OutputFile& report, const ParameterTableSource& source) {
  static const Layout kWeek("/ / 2X 'PARAMETROS DA SEMANA ' I2 / / 13X 'Var(A)' 4(6X '\xED(' I1 ')')");
  static const Layout kGrouping("/ 2X 'Numero de periodos: ' I2");
  static const Layout kRegression("/ 2X 'Regressao varios passos a ' 'frente: '");
  static const Layout kLine("2X 'PAR(' I1 ')' 4X F7.3 4(2X F8.3)");
  const ModelNumbers& n = source.numbers;
  FieldValues line;
  for (int t = 1; t <= source.NSEM; ++t) {
    write_week_header(report, kWeek, t, 4);
    for (int g = 1; g <= kGroupings; ++g) {
      if (!source.groupings(g).enabled) continue;
      report.write(kGrouping, {I(source.groupings(g).NPER)});
      for (int p = 1; p <= 4; ++p) {
        periodic_line(line, p, source.VARRES(t, n.par(p, g)));
        report.write(kLine, with_phi(line, source.params.FIPAR, t, p, g));
      }
      if (g != kWeeksGrouping) continue;
      report.write(kRegression);
      for (int p = 1; p <= 4; ++p) {
        periodic_line(line, p, source.VARRES(t, n.par_ro(p)));
        report.write(kLine, with_phi(line, source.params.FIPARRO, t, p));
      }
    }
  }
}

void write_parma_tables(OutputFile& report, const ParameterTableSource& source) {
  static const Layout kMoments("/ '=> estimacao por MOMENTOS' /");
  static const Layout kRegression("/ '=> estimacao por REGRESSAO' /");
  static const Layout kMultiStep("/ '=> estimacao por REGRESSAO varios passos a ' 'frente' /");
  static const Layout kWeek("/ / 2X 'PARAMETROS DA SEMANA ' I2 / / 16X 'Var(A)' 6X '\xE9(1)' 3(6X '\xED(' I1 ')') /");
  static const Layout kGrouping("/ 2X 'Numero de periodos: ' I2");
  static const Layout kLine("2X 'PARMA(' I1 ',1)' 5(2X F8.3)");
  const ModelNumbers& n = source.numbers;
  const SeriesParameters& params = source.params;

  FieldValues line;
  report.write(kMoments);
  for (int t = 1; t <= source.NSEM; ++t) {
    write_week_header(report, kWeek, t, 3);
    for (int g = 1; g <= kGroupings; ++g) {
      if (!source.groupings(g).enabled) continue;
      report.write(kGrouping, {I(source.groupings(g).NPER)});
      for (int p = 1; p <= 3; ++p) {
        periodic_line(line, p, source.VARRES(t, n.parma(p, g)));
        report.write(kLine, with_theta_then_phi(line, params.FIPARMA, t, p, g));
      }
    }
  }
  auto regression_block = [&](const Layout& title, const Array<double, 5, kMaxWeeks, 4>& fi,
                              const Array<int, 3>& models) {
    report.write(title);
    for (int t = 1; t <= source.NSEM; ++t) {
      write_week_header(report, kWeek, t, 3);
      for (int p = 1; p <= 3; ++p) {
        periodic_line(line, p, source.VARRES(t, models(p)));
        report.write(kLine, with_theta_then_phi(line, fi, t, p));
      }
    }
  };
  regression_block(kRegression, params.FIPARMAR, n.parma_rr);
  regression_block(kMultiStep, params.FIPARMARO, n.parma_ro);
}

}  // namespace darcalim
