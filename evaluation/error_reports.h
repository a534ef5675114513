// The error reports of a pass: the averaged statistics of the run report and
// the driver's error-ranking report, written while every week's model is
// chosen.
//
// The ranking report ranks the models by the combined slot: overall by the
// root mean square error, for each month by its error, and for each week by
// its RQEMQ, each section a line of sorted values and a line of abbreviated
// names (47 to a line); a week's section ends with its first-ranked and its
// chosen model, named by their headings (with a short history the pass's own
// names: "LAR(1)" where the names lines say "TAR(1)").
#pragma once

#include <filesystem>
#include <string>

#include "common/evaluation_tables.h"
#include "common/fixed_array.h"
#include "common/layout.h"
#include "common/output_layouts.h"
#include "common/output_file.h"
#include "common/table_sizes.h"
#include "evaluation/error_analysis.h"

namespace darcalim {

// The averaged statistics of the combined slot of the pass's models, to the
// run report.
void write_averaged_statistics(OutputFile& report, const ModelList& models, const ErrorTables& errors, int NSEM);

// Ranks the pass's models by the combined slot of `errors`, chooses the model
// of every week (`choice`) and writes the error-ranking report.
void rank_and_choose(const EvaluationInputs& in, const ErrorTables& errors, OutputFile& report, WeeklyChoice& choice);

// What RELATXLS reads: the joined tables, the history's years (a short
// history has the short joined list), the weeks a year, the joined ranking
// before (RANKMOD) and after (R2) the consistency check, and where the
// error-ranking report goes.
struct JoinedRankingInputs {
  const JoinedErrorTables& errors;
  int NANOS;
  int NSEM;
  const Array<int, kMaxModels, kMaxWeeks>& RANKMOD;
  const Array<int, kMaxModels, kMaxWeeks>& R2;
  const std::filesystem::path& report_path;
};

// What it writes: the report and, by week, the names of the first model of
// each ranking.
struct JoinedRankingOutputs {
  OutputFile& report;
  Array<std::string, kMaxWeeks>& first_ranked;
  Array<std::string, kMaxWeeks>& revised_first;
};

// RELATXLS: the error-ranking report opened for rewriting and written anew
// over the joined list of a combined run (140 positions, 26 with a short
// history), from the joined tables, then closed; the models are named by
// the joined list (JoinedList::name). Each week names the first model of the
// joined ranking (RANKMOD) and the first after the consistency check (R2),
// and keeps both names.
void RELATXLS(const JoinedRankingInputs& in, const JoinedRankingOutputs& out);

// Copies the combined statistics of the pass's NMOD models to their joined
// positions m + joined_offset (JoinedList::offset).
void copy_to_joined_tables(const ErrorTables& errors, int NMOD, int NSEM, int joined_offset, JoinedErrorTables& joined);

}  // namespace darcalim
