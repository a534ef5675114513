// MOMENT: the moments of every week of the year and of the whole series over
// one window of years.
//
// For each week t = 1..NSEM in order: MEDSEM(t) is the mean of the week over
// the NY years of the window and VARSEM(t) the variance about it, divisor NY
// (squares summed in year order, divided once). MEDGER is the mean of all
// NSEM x NY values (the weekly sums added up, divided once by NSEM x NY) and
// VARGER their variance about MEDGER, years outer and weeks inner, divisor
// NSEM x NY.
//
// A week whose variance is exactly zero ends the computation at once: the
// function returns that week, the weeks after it are not computed and MEDGER
// and VARGER are left as they were. The caller reports it and stops the run.
// Otherwise the function returns 0.
#pragma once

#include "common/series_statistics.h"
#include "common/series_table.h"

namespace darcalim {

int MOMENT(const SeriesTable& X, int NSEM, Window window, SeriesStatistics& stats);

}  // namespace darcalim
