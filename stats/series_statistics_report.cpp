#include "stats/series_statistics_report.h"

#include <cmath>
#include <cstdint>
#include <string>

#include "common/layout.h"
#include "common/table_sizes.h"
#include "common/run_stop.h"
#include "stats/annual_autocorrelation.h"
#include "stats/periodic_autocorrelation.h"
#include "stats/weekly_moments.h"

namespace darcalim {

namespace {

// The report layouts hold exactly ten lags, the run's number of lags.
constexpr int NLAG = kLags;

FieldValues lag_numbers() {
  FieldValues values;
  for (int k = 1; k <= NLAG; ++k) values.emplace_back(std::int64_t{k});
  return values;
}

void append_lags(FieldValues& values, const SeriesStatistics& s, int t, int g) {
  for (int k = 1; k <= NLAG; ++k) values.emplace_back(s.FACPER(k, t, g));
}

std::string annual_statistics(const SeriesStatistics& s) {
  static const Layout kAnnual(
      "/ 2X '--> ESTATISTICAS ANUAIS' / / 5X 'MEDIA' 1X 'D.PADRAO' 25X 'FUNCAO DE AUTO-CORRELACAO' /"
      " 8X '\xE6' 7X '\xE5' 3X 10(2X '\xE7(' I2 ')') / / 4X F6.1 2X F6.1 2X 10(2X F5.2)");
  FieldValues values = lag_numbers();
  values.emplace_back(s.MEDGER);
  values.emplace_back(std::sqrt(s.VARGER));
  for (int k = 1; k <= NLAG; ++k) values.emplace_back(s.FACANU(k));
  return kAnnual.write(values);
}

std::string weekly_statistics(const SeriesStatistics& s, int NSEM, const WeekGrouping& weeks) {
  static const Layout kHeader(
      "/ 2X '--> ESTATISTICAS SEMANAIS' / / 1X 'SEM' 2X 'MEDIA' 1X 'D.PADRAO' 14X"
      " 'FUNCAO DE AUTO-CORRELACAO  (PERIODICIDADE: ' I2 ')' / 9X '\xE6' 7X '\xE5' 3X"
      " 10(2X '\xE7(' I2 ')') /");
  static const Layout kRow("2X I2 1X F6.1 2X F6.1 2X 10(2X F5.2)");
  FieldValues header{std::int64_t{weeks.NPER}};
  for (const FieldValue& k : lag_numbers()) header.push_back(k);
  std::string text = kHeader.write(header);
  FieldValues row;
  for (int t = 1; t <= NSEM; ++t) {
    row.clear();
    row.emplace_back(std::int64_t{t});
    row.emplace_back(s.MEDSEM(t));
    row.emplace_back(std::sqrt(s.VARSEM(t)));
    append_lags(row, s, t, kWeeksGrouping);
    kRow.append(text, row);
  }
  return text;
}

std::string grouping_autocorrelation(const SeriesStatistics& s, int NSEM, const WeekGrouping& grouping, int g) {
  static const Layout kHeader("/ 34X 'FUNCAO DE AUTO-CORRELACAO  (PERIODICIDADE: ' I2 ')' /");
  static const Layout kRow("2X I2 17X 10(2X F5.2)");
  std::string text = kHeader.write({std::int64_t{grouping.NPER}});
  FieldValues row;
  for (int t = 1; t <= NSEM; ++t) {
    row.clear();
    row.emplace_back(std::int64_t{t});
    append_lags(row, s, t, g);
    kRow.append(text, row);
  }
  return text;
}

std::string statistics_section(const SeriesStatistics& s, int NSEM, const WeekGroupings& GRUPO,
                               const std::string& title) {
  static const Layout kTitle("/ 2X A23");
  std::string text = kTitle.write({title});
  text += annual_statistics(s);
  text += weekly_statistics(s, NSEM, GRUPO(kWeeksGrouping));
  for (int g = kHalfYears; g <= kMonthsGrouping; ++g) {
    if (GRUPO(g).enabled) text += grouping_autocorrelation(s, NSEM, GRUPO(g), g);
  }
  return text;
}

}  // namespace

void ESTAT(const SeriesWindow& in, const std::string& title, SeriesStatistics& s, OutputFile& report) {
  static const Layout kZeroVariance("'*****' ' ENCONTRADO VARIANCIA NULA PARA A SEMANA  ' I2 ' *****' /");
  const SeriesTable& series = in.series;
  const int NSEM = in.NSEM;
  const Window years = in.years;

  const int zero_variance_week = MOMENT(series, NSEM, years, s);
  if (zero_variance_week != 0) {
    report.write(kZeroVariance, {std::int64_t{zero_variance_week}});
    throw RunStop::after_messages(" ENCONTRADO VARIANCIA NULA PARA A SEMANA " + std::to_string(zero_variance_week));
  }
  const StandardisedSeries z(NSEM, years, series, s);
  for (int g = 1; g <= kGroupings; ++g) {
    if (in.groupings(g).enabled) FACORR2(z, NLAG, in.groupings(g), g, s);
  }
  FACOA(z, NLAG, s);
  if (!report.keeps_nothing()) report.write_text(statistics_section(s, NSEM, in.groupings, title));
}

}  // namespace darcalim
