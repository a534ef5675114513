// VERCONSZONAL: the consistency check of the joined weekly ranking of a
// combined run.
//
// A benchmark (TSAZONAL, SAZONAL, CONSTANTE, LSAZONAL, LCONSTANTE) or, with
// 20 complete years or more, a -RO model loses its place to every ordinary
// model ranked below it whose weekly RQEMQ is at most 5 % larger than its own
// (the 4-byte 0.05, compared in 8 bytes). With 20 years or more the scan
// passes over special models whatever their error and stops at the first
// ordinary model more than 5 % worse; with fewer it stops at the first model
// more than 5 % worse and passes over benchmarks. The model at the last
// position is never examined. A special model with a zero error leaves the
// week's ranking as it is.
#pragma once

#include <functional>

#include "common/fixed_array.h"
#include "common/table_sizes.h"

namespace darcalim {

using JoinedRanking = Array<int, kMaxModels, kMaxWeeks>;

// Fills R2 from RANKMOD; E(m, w) is the weekly RQEMQ of joined model m.
void VERCONSZONAL(const JoinedRanking& RANKMOD, const std::function<double(int m, int w)>& E, int NANOS, int NSEM,
                  JoinedRanking& R2);

}  // namespace darcalim
