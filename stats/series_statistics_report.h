// ESTAT: the weekly and annual statistics of one series over one estimation
// window, and their section of the run report.
//
// Computes, for the window's years of the NSEM weeks of the case, the weekly
// and overall moments (MOMENT), the periodic autocorrelation under every
// grouping whose switch is on (FACORR2) and the autocorrelation of the whole
// standardised series (FACOA), with the run's number of lags (10), into
// `stats`. Then writes the section to the run report: the title (23 columns), the annual statistics,
// the weekly table (mean, standard deviation, autocorrelation under the
// grouping by weeks) and the autocorrelation under the half-years, quarters
// and months that are switched on. The letters mu, sigma and tau of the
// captions are the single bytes 0xE6, 0xE5 and 0xE7.
//
// Failure: a week of zero variance writes
//   "***** ENCONTRADO VARIANCIA NULA PARA A SEMANA  tt *****" and an empty line
// to the run report, nothing of the section, and stops the run (RunStop).
#pragma once

#include <string>

#include "common/output_file.h"
#include "common/series_statistics.h"
#include "common/series_table.h"
#include "common/week_groupings.h"

namespace darcalim {

// One series over one window of years, with the week groupings of the pass
// and the weeks a year: what the statistics and the estimation read.
struct SeriesWindow {
  const SeriesTable& series;
  Window years;
  const WeekGroupings& groupings;
  int NSEM;
};

void ESTAT(const SeriesWindow& in, const std::string& title, SeriesStatistics& stats, OutputFile& report);

}  // namespace darcalim
