// The scores file of a hindcast (PREFIX-scores.csv), read for its panels.
//
// CSV with the header
//   location_id,metric,reference,lead_weeks,n,level,value
// (columns found by name, in any order; more columns are passed over).
// lead_weeks is 1..6 or "all"; value a number or empty (undefined); level the
// nominal confidence level in per cent. Fields may be quoted ("a,b", "" for
// a quote).
//
// Refused (ViewInputError naming the file and line): a file that cannot be
// read, a missing column, a row with fewer fields than the header, a lead
// that is neither 1..6 nor "all", a level or value that is not a number.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace darcalim::view {

inline constexpr int kScoreLeads = 6;

struct ScoreRow {
  std::string location_id;
  std::string metric;
  std::string reference;        // "none", or e.g. "persistence" for SS
  std::optional<int> lead;      // nothing for "all"
  std::optional<double> level;  // nominal level, per cent
  std::optional<double> value;  // nothing when undefined
};

struct ScoresFile {
  std::string name;  // file name, for titles
  std::vector<ScoreRow> rows;
};

ScoresFile read_scores_file(const std::filesystem::path& file);

}  // namespace darcalim::view
