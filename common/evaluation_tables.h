// Tables of the evaluation of the models over the history: the error
// statistics of every window, the weekly errors of the simulation, the
// percentile table, and the weekly choice of the best model.
#pragma once

#include <string>

#include "common/fixed_array.h"
#include "common/table_sizes.h"

namespace darcalim {

// Window slots of the error tables: the three windows and their combination.
inline constexpr int kErrorSlots = kWindows + 1;
inline constexpr int kCombinedSlot = kWindows + 1;

struct ErrorTables {
  // ERRGER(m, i, c): i = 1 bias, 2 root mean square error, over the window.
  Array<double, kMaxPassModels, 2, kErrorSlots> ERRGER;
  // ERRMES(m, i, c): i = M the bias of month M, 12 + M its root mean square error.
  Array<double, kMaxPassModels, 2 * kMonths, kErrorSlots> ERRMES;
  // ERRSEM(m, s, c): s = t the bias of week t, NSEM + t its RQEMQ.
  Array<double, kMaxPassModels, 2 * kMaxWeeks, kErrorSlots> ERRSEM;
};

// The combined statistics of every pass at the positions of the joined list
// of a combined run (1..NMOD in the first pass, m + JoinedList::offset in the
// second).
struct JoinedErrorTables {
  Array<double, kMaxModels, 2> ERRGER;
  Array<double, kMaxModels, 2 * kMonths> ERRMES;
  Array<double, kMaxModels, 2 * kMaxWeeks> ERRSEM;
};

struct SimulationErrors {
  // RQMSEM(c, t, m): RQEMQ of the display forecasts of model m in week t, window c.
  Array<double, kWindows, kMaxWeeks, kMaxPassModels> RQMSEM;
  // RQMMED(t, position): mean of the two half windows, 4-byte, joined positions.
  Array<float, kMaxWeeks, kMaxModels> RQMMED;
};

// The percentile file: period and class codes and the percentile pair of
// every week, in per cent.
struct PercentileTable {
  int CODPER = 0;
  int CODCLA = 0;
  Array<double, kMaxWeeks> PERCINF;
  Array<double, kMaxWeeks> PERCSUP;
};

// The model chosen for each week of the year and the week's ranking.
struct WeeklyChoice {
  Array<int, kMaxWeeks> MODBRUTO;           // first-ranked model
  Array<int, kMaxWeeks> MODESCOLHIDO;       // chosen model
  Array<std::string, kMaxWeeks> NOMEBRUTO;  // 14 characters
  Array<std::string, kMaxWeeks> NOMEESCOLHIDO;
  Array<int, kMaxModels, kMaxWeeks> RANKMOD;  // RANKMOD(position, t)
};

}  // namespace darcalim
