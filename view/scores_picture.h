// The score panels of a hindcast's scores file, as one SVG element.
//
// One small panel per metric (in the order ME, PBIAS, MAE, RMSE, NSE,
// KGEprime, r, beta, gamma, SS, coverage, below, above, width,
// interval_score, then any other metric in the order of the file), each with
// the score against lead time 1..6: one line per reference (and location,
// when the file holds several), undefined scores leaving gaps. The coverage
// panel draws the nominal level as a dashed line: level / 100 when the
// coverage values are fractions (none above 1), the level itself when they
// are per cent. Rows for "all" leads are not drawn. A file without a row
// for leads 1..6 gives a picture that says so.
#pragma once

#include <string>

#include "view/scores_file.h"

namespace darcalim::view {

std::string scores_svg(const ScoresFile& scores);

}  // namespace darcalim::view
