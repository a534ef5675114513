// The texts of a hindcast's scores files and of its list of unfinished
// units. (The pairs file has its own home: pairs_file.h.) Numbers are
// written in their shortest round-trip form (std::to_chars), whatever the
// locale; a missing value is an empty field (null in JSON).
//
// The scores come case folder by case folder. Of one case folder, the files
// are those of a one-station hindcast:
//   CSV   location_id,metric,reference,lead_weeks,n,level,value
//   JSON  {"location_id": "<code>", "level": .., "scores": [{"metric",
//         "reference", "lead_weeks" (1..6 or "all"), "n", "level", "value"
//         (number or null)}, ..]}
// Of several case folders (or none), the CSV gains a last column `folder`
// and the JSON is {"cases": [{"folder": .., "location_id": .., "level": ..,
// "scores": [..]}, ..]}, so that two folders of one station stay apart.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "hindcast/hindcast_case.h"
#include "hindcast/hindcast_runner.h"
#include "hindcast/scores.h"

namespace darcalim::hindcast {

// The shortest text that reads back as `value`; empty for none.
std::string number_text(double value);
std::string number_text(const std::optional<double>& value);

std::string scores_csv_text(const std::vector<CaseScores>& cases);
std::string scores_json_text(const std::vector<CaseScores>& cases);

// The list of the units that the hindcast did not finish: header
// folder,issue_year,issue_week,message and one row per outcome of
// `outcomes` that is not finished, in their order.
std::string unfinished_csv_text(const std::vector<HindcastCase>& cases, const std::vector<IssueOutcome>& outcomes);

}  // namespace darcalim::hindcast
