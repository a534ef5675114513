#include "hindcast/hindcast_files.h"

#include <charconv>

#include <nlohmann/json.hpp>

#include "tools/blank_trim.h"
#include "tools/csv_text.h"

namespace darcalim::hindcast {

namespace {

std::string optional_text(const std::optional<double>& value) {
  return value ? number_text(*value) : "";
}

// The record's text of a number, without blanks; empty for asterisks.
std::string record_text(const std::string& field, const std::optional<double>& value) {
  return value ? without_blanks(field) : "";
}

std::string lead_text(int lead) {
  return lead == 0 ? "all" : std::to_string(lead);
}

}  // namespace

std::string number_text(double value) {
  char text[64];
  const auto result = std::to_chars(text, text + sizeof text, value);
  return std::string(text, result.ptr);
}

void write_pairs_csv(std::ostream& out, int location_id, int level, const std::vector<ForecastPair>& pairs) {
  out << "location_id,issue_year,issue_week,lead_weeks,target_year,target_week,value,lower,upper,level,model,"
         "observed\n";
  for (const ForecastPair& p : pairs) {
    const LeadForecast& f = p.forecast;
    out << location_id << ',' << p.issue.year << ',' << p.issue.week << ',' << f.lead << ',' << p.target_year << ','
        << f.target_week << ',' << record_text(f.value_text, f.value) << ',' << record_text(f.lower_text, f.lower)
        << ',' << record_text(f.upper_text, f.upper) << ',' << level << ',' << csv_field(f.model) << ','
        << number_text(p.pair.observed) << '\n';
  }
}

void write_scores_csv(std::ostream& out, int location_id, int level, const std::vector<ScoreRow>& rows) {
  out << "location_id,metric,reference,lead_weeks,n,level,value\n";
  for (const ScoreRow& r : rows) {
    out << location_id << ',' << r.metric << ',' << r.reference << ',' << lead_text(r.lead) << ',' << r.n << ','
        << level << ',' << optional_text(r.value) << '\n';
  }
}

void write_scores_json(std::ostream& out, int location_id, int level, const std::vector<ScoreRow>& rows) {
  nlohmann::ordered_json scores = nlohmann::ordered_json::array();
  for (const ScoreRow& r : rows) {
    nlohmann::ordered_json row;
    row["metric"] = r.metric;
    row["reference"] = r.reference;
    row["lead_weeks"] = r.lead == 0 ? nlohmann::ordered_json("all") : nlohmann::ordered_json(r.lead);
    row["n"] = r.n;
    row["level"] = level;
    row["value"] = r.value ? nlohmann::ordered_json(*r.value) : nlohmann::ordered_json(nullptr);
    scores.push_back(std::move(row));
  }
  nlohmann::ordered_json document;
  document["location_id"] = std::to_string(location_id);
  document["level"] = level;
  document["scores"] = std::move(scores);
  out << document.dump(2) << '\n';
}

}  // namespace darcalim::hindcast
