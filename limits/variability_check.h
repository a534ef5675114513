// VARIAPREV: the variability check of one lead of the final forecast.
//
// The lead's forecast divided by QANT, the flow of the week before it (the
// last observed flow for lead 1, the kept forecast of the lead before
// otherwise; 4-byte), must lie within the ratio limits [RAZINF, RAZSUP] drawn
// from the history (DETLIMITE; the target week's own ratios when the codes of
// the percentile file name no sample). Outside them, the next model of the
// week's ranking is tried, and so on down the ranking. When no model passes,
// the candidate nearest the band is kept on the side where most models fell
// (CODESC 0 from below, 200 from above); otherwise CODESC is the ranking
// position of the kept model. The history of the checks is V, the display
// flows of the rows before the forecast year (check_history), built once by
// the caller for its series of six checks. The first check of each series
// builds the ratio samples (VAZSEMPER); every check orders the models by the limits
// for the error-ranking report (ORDENLIMOD), which the check of lead 6
// rewrites.
//
// In a pass the candidates are the pass's models (run.final_forecast); in the
// combined step of a combined run, the joined list (run.joined_forecast).
// Nothing is reported; a QANT of zero accepts the forecast in hand.
#pragma once

#include <memory>

#include "common/run.h"

namespace darcalim {

// once_flag: 0 until the ratio samples have been built for this series of
// checks; the caller owns it.
void VARIAPREV(Run& run, bool combined_step, int LEAD, int WEEK, const SeriesTable& V, int& once_flag);

// YF: the row of ANOPREV in a history that starts in first_year, at most
// 101; the flows of rows 1..YF - 1 are the history of the check.
int forecast_row(int ANOPREV, int first_year);

// V = HISTORICO * FAC / 604.8 for rows 1..YF - 1 and weeks 1..NSEM, zero
// elsewhere.
void display_history(const FlowHistory& history, int NSEM, int YF, SeriesTable& V);

// V of the forecast row of ANOPREV: the history of a series of checks.
std::unique_ptr<SeriesTable> check_history(const FlowHistory& history, int ANOPREV, int NSEM);

}  // namespace darcalim
