#include "stats/boxcox.h"

#include <cstdint>

#include "common/layout.h"
#include "common/run_stop.h"
#include "stats/boxcox_search.h"

namespace darcalim {

namespace {

constexpr double kHighestExponent = 4.0;

std::string report_title() {
  static const Layout kTitle(
      "A / 'Determinacao da constante lambda que torna a ' 'assimetria aproximadamente nula para cada semana'");
  return kTitle.write({std::string("\f")});
}

std::string week_text(int week, const BoxCoxWeekSearch& search) {
  static const Layout kWeek("/ 10X 'SEMANA ' I3 /");
  static const Layout kPass("/ 15X 'APROXIMACAO ' I2 /");
  static const Layout kTrial("20X 'LAMBDA = ' F10.7 27X 'ASSIMETRIA = ' F9.5 /");
  std::string text = kWeek.write({std::int64_t{week}});
  FieldValues values(2);
  for (const BoxCoxApproximation& pass : search.approximations) {
    kPass.append(text, {std::int64_t{pass.P}});
    for (const BoxCoxTrial& trial : pass.trials) {
      values[0] = trial.LAMBDA;
      values[1] = trial.skewness;
      kTrial.append(text, values);
    }
  }
  return text;
}

std::string summary_header() {
  static const Layout kHeader(
      "A 5X 'VALORES DE LAMBDA QUE TORNAM A ASSIMETRIA' / 12X 'APROXIMADAMENTE IGUAL A ZERO' / /"
      " 13X 'SEM' 4X 'LAMBDA' 4X 'ASSIMETRIA' / /");
  return kHeader.write({std::string("\f")});
}

std::string summary_row(int week, double LAMBDA, double skewness) {
  static const Layout kRow("13X I2 2X F10.7 3X F7.4");
  return kRow.write({std::int64_t{week}, LAMBDA, skewness});
}

}  // namespace

double boxcox_bound(double LAMBDA) {
  const double margin = static_cast<double>(0.000001f);
  const double bound = -1.0 / LAMBDA;
  return LAMBDA > 0.0 ? bound + margin : bound - margin;
}

void BOXCOX(const SeriesTable& X, int NSEM, int NANOS, Array<double, kMaxWeeks>& LAMBDA,
            Array<double, kMaxWeeks>& LIMBC, OutputFile& boxcox_report, OutputFile& run_report) {
  static const Layout kUnsuitable(
      "/ / '*** A TRANSFORMACAO BOX-COX NAO E APROPRIADA PARA ESTE CASO. USE OUTRA TRANSFORMACAO ***'");
  Array<double, kMaxWeeks> skewness;
  Array<bool, kMaxWeeks> start_found;
  boxcox_report.write_text(report_title());
  for (int w = 1; w <= NSEM; ++w) {
    const BoxCoxWeekSearch search = search_boxcox_week(X, w, NANOS);
    boxcox_report.write_text(week_text(w, search));
    LAMBDA(w) = search.LAMBDA;
    skewness(w) = search.skewness;
    start_found(w) = search.start_found;
  }
  boxcox_report.write_text(summary_header());
  for (int w = 1; w <= NSEM; ++w) {
    boxcox_report.write_text(summary_row(w, LAMBDA(w), skewness(w)));
    if (LAMBDA(w) != 0.0) LIMBC(w) = boxcox_bound(LAMBDA(w));
    if (LAMBDA(w) > kHighestExponent || !start_found(w)) {
      run_report.write(kUnsuitable);
      throw RunStop::after_messages(" A TRANSFORMACAO BOX-COX NAO E APROPRIADA PARA ESTE CASO");
    }
  }
}

}  // namespace darcalim
