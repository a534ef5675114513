#include "hindcast/hindcast_files.h"

#include <charconv>
#include <sstream>

#include <nlohmann/json.hpp>

#include "tools/csv_text.h"

namespace darcalim::hindcast {

namespace {

using nlohmann::ordered_json;

std::string lead_text(int lead) {
  return lead == 0 ? "all" : std::to_string(lead);
}

// Whether the files take the layout of a one-station hindcast.
bool one_case(const std::vector<CaseScores>& cases) {
  return cases.size() == 1;
}

ordered_json scores_json(const CaseScores& c) {
  ordered_json scores = ordered_json::array();
  for (const ScoreRow& r : c.rows) {
    ordered_json row;
    row["metric"] = r.metric;
    row["reference"] = r.reference;
    row["lead_weeks"] = r.lead == 0 ? ordered_json("all") : ordered_json(r.lead);
    row["n"] = r.n;
    row["level"] = c.level;
    row["value"] = r.value ? ordered_json(*r.value) : ordered_json(nullptr);
    scores.push_back(std::move(row));
  }
  return scores;
}

}  // namespace

std::string number_text(double value) {
  char text[64];
  const auto result = std::to_chars(text, text + sizeof text, value);
  return std::string(text, result.ptr);
}

std::string number_text(const std::optional<double>& value) {
  return value ? number_text(*value) : "";
}

std::string scores_csv_text(const std::vector<CaseScores>& cases) {
  const bool with_folder = !one_case(cases);
  std::ostringstream out;
  out << "location_id,metric,reference,lead_weeks,n,level,value" << (with_folder ? ",folder" : "") << '\n';
  for (const CaseScores& c : cases) {
    for (const ScoreRow& r : c.rows) {
      out << c.location_id << ',' << r.metric << ',' << r.reference << ',' << lead_text(r.lead) << ',' << r.n << ','
          << c.level << ',' << number_text(r.value);
      if (with_folder) out << ',' << csv_field(c.folder);
      out << '\n';
    }
  }
  return out.str();
}

std::string scores_json_text(const std::vector<CaseScores>& cases) {
  ordered_json document;
  if (one_case(cases)) {
    document["location_id"] = std::to_string(cases[0].location_id);
    document["level"] = cases[0].level;
    document["scores"] = scores_json(cases[0]);
  } else {
    document["cases"] = ordered_json::array();
    for (const CaseScores& c : cases) {
      ordered_json one;
      one["folder"] = c.folder;
      one["location_id"] = std::to_string(c.location_id);
      one["level"] = c.level;
      one["scores"] = scores_json(c);
      document["cases"].push_back(std::move(one));
    }
  }
  // A folder name that is not UTF-8 shows its bytes as U+FFFD rather than stopping the dump.
  return document.dump(2, ' ', false, ordered_json::error_handler_t::replace) + "\n";
}

std::string unfinished_csv_text(const std::vector<HindcastCase>& cases, const std::vector<IssueOutcome>& outcomes) {
  std::ostringstream out;
  write_csv_row(out, {"folder", "issue_year", "issue_week", "message"});
  for (const IssueOutcome& o : outcomes) {
    if (o.finished) continue;
    write_csv_row(out, {cases[o.unit.case_index].folder.string(), std::to_string(o.unit.issue.year),
                        std::to_string(o.unit.issue.week), o.result.message});
  }
  return out.str();
}

}  // namespace darcalim::hindcast
