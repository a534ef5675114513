// ORDENLIMOD: the error-ranking report rewritten with the effect of the
// ratio limits.
//
// At each lead, the models of the target week's ranking are split into those
// whose forecast divided by QANT (4-byte) lies within [RAZINF, RAZSUP] and the
// others; the lead's re-ordered list holds the first group, then the second,
// each in ranking order. The call of lead 6 writes the whole report in the
// layout of the error-ranking report: the overall and monthly rankings, and
// for each week of each month either its ordinary section or, for the target
// weeks of the six leads (not wrapped past the end of the year), the
// re-ordered list with the line " MELHOR MODELO APOS LIMITES, ". Every call
// closes the report's connection; only lead 6 writes.
#pragma once

#include <functional>

#include "common/run.h"

namespace darcalim {

void ORDENLIMOD(Run& run, bool combined_step, int LEAD, int WEEK, float QANT, int NM,
                const std::function<double(int)>& forecast);

}  // namespace darcalim
