// The percentile file of the variability check.
//
// Line 1 (I1): CODPER, the grouping of the percentiles: 1 weeks, 2 months,
// 3 quarters (G2), 4 half-years (G1). Line 2 (I1): CODCLA, the flow classes.
// Then one line per period, (I2,'<tab>',F4.1,'<tab>',F4.1): the period
// number and its lower and upper percentile, which go to every week of that
// period of the grouping. CODPER outside 1..4 reads no period line.
//
// A missing or unreadable file, one shorter than its CODPER needs, or a
// period number outside the grouping stops the run (RunStop) after the
// console line " ERRO NA LEITURA DO ARQUIVO DE PERCENTIS " and the file name;
// the stop's diagnostic names the line and the reason.
#pragma once

#include <filesystem>
#include <ostream>

#include "common/evaluation_tables.h"
#include "common/week_groupings.h"

namespace darcalim {

void read_percentile_file(const std::filesystem::path& path, const WeekGroupings& GRUPO, int NSEM,
                          std::ostream& console, PercentileTable& table);

}  // namespace darcalim
