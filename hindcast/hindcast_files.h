// The files of a hindcast: the pairs as CSV, the scores as CSV and JSON.
// Numbers are written in their shortest round-trip form (std::to_chars),
// whatever the locale; a missing value is an empty field (null in JSON).
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "hindcast/hindcast_runner.h"
#include "hindcast/scores.h"

namespace darcalim::hindcast {

// The shortest text that reads back as `value`.
std::string number_text(double value);

// Header location_id,issue_year,issue_week,lead_weeks,target_year,
// target_week,value,lower,upper,level,model,observed and one row per pair;
// value, lower and upper as the forecast record writes them, without blanks
// (empty for asterisks).
void write_pairs_csv(std::ostream& out, int location_id, int level, const std::vector<ForecastPair>& pairs);

// Header location_id,metric,reference,lead_weeks,n,level,value and one row
// per score row; lead_weeks 1..6 or "all".
void write_scores_csv(std::ostream& out, int location_id, int level, const std::vector<ScoreRow>& rows);

// {"location_id": "<code>", "level": .., "scores": [{"metric", "reference",
// "lead_weeks" (1..6 or "all"), "n", "level", "value" (number or null)}, ..]}
void write_scores_json(std::ostream& out, int location_id, int level, const std::vector<ScoreRow>& rows);

}  // namespace darcalim::hindcast
