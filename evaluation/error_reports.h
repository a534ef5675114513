// The error reports of a pass: the averaged statistics of the run report and
// the driver's error-ranking report, written while every week's model is
// chosen.
//
// The ranking report ranks the models by the combined slot: overall by the
// root mean square error, for each month by its error, and for each week by
// its RQEMQ, each section a line of sorted values and a line of names (47 to
// a line); a week's section ends with its first-ranked and its chosen model.
#pragma once

#include "common/layout.h"
#include "common/run.h"
#include "evaluation/error_analysis.h"

namespace darcalim {

// The record layouts of the error-ranking report, shared by every version of
// it: the title, the overall, monthly and weekly sections (sorted values 47
// to a line) and the week's model lines.
namespace ranking_layouts {
const Layout& title();
const Layout& general();
const Layout& month();
const Layout& week();
const Layout& best();
const Layout& chosen();
}  // namespace ranking_layouts

// The averaged statistics of the combined slot of the pass's models, to the
// run report.
void write_averaged_statistics(OutputFile& report, const ModelList& models, const ErrorTables& errors, int NSEM);

// Ranks the pass's models by the combined slot of `errors`, chooses the model
// of every week (`choice`) and writes the error-ranking report.
void rank_and_choose(const EvaluationInputs& in, const ErrorTables& errors, OutputFile& report, WeeklyChoice& choice);

// RELATXLS: the error-ranking report written anew over the joined list of a
// combined run (140 positions, 26 with a short history), from the joined
// tables; each week names the first model of the joined ranking
// (run.choice.RANKMOD) and the first after the consistency check
// (run.joined_forecast.R2), and keeps both names.
void RELATXLS(Run& run);

// First 14 characters of the 20-character name of a joined position.
std::string joined_name(const Run& run, int position);

// Copies the combined statistics of the pass's NMOD models to their joined
// positions m + joined_offset (see joined_offset).
void copy_to_joined_tables(const ErrorTables& errors, int NMOD, int NSEM, int joined_offset, JoinedErrorTables& joined);

}  // namespace darcalim
