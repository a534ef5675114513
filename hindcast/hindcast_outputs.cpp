#include "hindcast/hindcast_outputs.h"

#include <algorithm>

#include "hindcast/hindcast_files.h"
#include "tools/whole_file.h"

namespace darcalim::hindcast {

namespace {

namespace fs = std::filesystem;

// Writes one file whole; false, after saying why on `err`, when it could not be.
bool write_file(const fs::path& path, const std::string& text, std::ostream& err) {
  try {
    write_whole_file(path, text);
    return true;
  } catch (const WholeFileError& error) {
    err << "darcalim-hindcast: " << error.what() << "\n";
    return false;
  }
}

}  // namespace

fs::path pairs_path(const std::string& prefix) {
  return prefix + "-pairs.csv";
}
fs::path scores_csv_path(const std::string& prefix) {
  return prefix + "-scores.csv";
}
fs::path scores_json_path(const std::string& prefix) {
  return prefix + "-scores.json";
}
fs::path unfinished_path(const std::string& prefix) {
  return prefix + "-unfinished.csv";
}

bool write_scores_files(const std::string& prefix, const PairsTable& table, std::ostream& err) {
  const std::vector<CaseScores> scores = score_cases(table.cases());
  const bool csv = write_file(scores_csv_path(prefix), scores_csv_text(scores), err);
  const bool json = write_file(scores_json_path(prefix), scores_json_text(scores), err);
  return csv && json;
}

bool write_hindcast_files(const std::string& prefix, const std::vector<HindcastCase>& cases,
                          const std::vector<IssueOutcome>& outcomes, std::ostream& err) {
  const bool finished = std::all_of(outcomes.begin(), outcomes.end(), [](const IssueOutcome& o) { return o.finished; });
  if (!finished) {
    write_file(unfinished_path(prefix), unfinished_csv_text(cases, outcomes), err);
    return false;
  }
  const std::string pairs_text = pairs_csv_text(cases, forecast_pairs(cases, outcomes));
  bool written = write_file(pairs_path(prefix), pairs_text, err);
  PairsTable table;
  try {
    table.add_file(pairs_path(prefix).string(), pairs_text);
  } catch (const PairsError& error) {  // a folder name that the file cannot hold, such as one with a line end
    err << "darcalim-hindcast: no scores: " << error.what() << "\n";
    return false;
  }
  written = write_scores_files(prefix, table, err) && written;
  if (written) {
    std::error_code ec;
    fs::remove(unfinished_path(prefix), ec);
  }
  return written;
}

}  // namespace darcalim::hindcast
