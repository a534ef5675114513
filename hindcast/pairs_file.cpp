#include "hindcast/pairs_file.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <sstream>

#include "hindcast/hindcast_files.h"
#include "tools/blank_trim.h"
#include "tools/command_line.h"
#include "tools/csv_text.h"

namespace darcalim::hindcast {

namespace {

// The columns of the pairs file, in their order.
enum Column : std::size_t {
  kLocationId,
  kIssueYear,
  kIssueWeek,
  kLead,
  kTargetYear,
  kTargetWeek,
  kValue,
  kLower,
  kUpper,
  kLevel,
  kModel,
  kObserved,
  kPersistence,
  kClimatology,
  kFolder,
  kColumns
};

constexpr const char* kColumnNames[kColumns] = {
    "location_id", "issue_year", "issue_week", "lead_weeks", "target_year", "target_week", "value",  "lower",
    "upper",       "level",      "model",      "observed",   "persistence", "climatology", "folder",
};

// Years as the history file writes them (I5); weeks of a year: 52, or 53.
constexpr int kMaxYear = 99999;
constexpr int kMaxWeek = 53;
constexpr int kAnyInteger = std::numeric_limits<int>::max();

// The record's text of a number, without blanks; empty for asterisks.
std::string record_text(const std::string& field, const std::optional<double>& value) {
  return value ? without_blanks(field) : "";
}

// The fields of one row, read with each refusal naming the row's place.
class RowReader {
 public:
  RowReader(const std::vector<std::string>& fields, std::string place) : fields_(fields), place_(std::move(place)) {}

  const std::string& text(Column c) const { return fields_[c]; }

  int whole(Column c, int low, int high) const {
    const auto value = whole_number_value(fields_[c], std::numeric_limits<int>::min(), kAnyInteger);
    if (!value) refuse(c, "is not a whole number");
    if (*value < low || *value > high) refuse(c, "is not within " + std::to_string(low) + ".." + std::to_string(high));
    return *value;
  }

  std::optional<double> optional_number(Column c) const {
    if (fields_[c].empty()) return std::nullopt;
    return number(c);
  }

  double number(Column c) const {
    const std::string& t = fields_[c];
    double value = 0.0;
    const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
    if (t.empty() || ec != std::errc() || end != t.data() + t.size() || !std::isfinite(value)) {
      refuse(c, "is not a number");
    }
    return value;
  }

 private:
  [[noreturn]] void refuse(Column c, const std::string& what) const {
    throw PairsError(place_ + ": " + kColumnNames[c] + " '" + fields_[c] + "' " + what);
  }

  const std::vector<std::string>& fields_;
  std::string place_;
};

}  // namespace

std::string pairs_header() {
  std::string header;
  for (std::size_t c = 0; c < kColumns; ++c) header.append(c == 0 ? "" : ",").append(kColumnNames[c]);
  return header;
}

std::string pairs_csv_text(const std::vector<HindcastCase>& cases, const std::vector<ForecastPair>& pairs) {
  std::ostringstream out;
  out << pairs_header() << '\n';
  for (const ForecastPair& p : pairs) {
    const HindcastCase& c = cases[p.case_index];
    const LeadForecast& f = p.forecast;
    write_csv_row(out, {std::to_string(c.station_code), std::to_string(p.issue.year), std::to_string(p.issue.week),
                        std::to_string(f.lead), std::to_string(p.target_year), std::to_string(f.target_week),
                        record_text(f.value_text, f.value), record_text(f.lower_text, f.lower),
                        record_text(f.upper_text, f.upper), std::to_string(c.confidence_level), f.model,
                        number_text(p.pair.observed), number_text(p.pair.persistence), number_text(p.pair.climatology),
                        c.folder.string()});
  }
  return out.str();
}

std::string PairsTable::where(Origin origin) const {
  return files_[origin.file] + ", line " + std::to_string(origin.line);
}

void PairsTable::add_file(const std::string& file, const std::string& text) {
  files_.push_back(file);
  const std::size_t index = files_.size() - 1;
  const std::vector<std::string> lines = text_lines(text);
  if (lines.empty()) throw PairsError(file + ", line 1: empty, not a pairs file");
  if (lines[0] != pairs_header()) {
    throw PairsError(file + ", line 1: not the header of a pairs file (" + pairs_header() + ")");
  }
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const Origin origin{index, i + 1};
    const std::vector<std::string> fields = csv_fields(lines[i]);
    if (fields.size() != kColumns) {
      throw PairsError(where(origin) + ": " + std::to_string(fields.size()) + " fields, a row of pairs has " +
                       std::to_string(kColumns));
    }
    add_row(fields, origin);
  }
}

void PairsTable::add_row(const std::vector<std::string>& fields, Origin origin) {
  const RowReader row(fields, where(origin));
  const std::string& name = row.text(kFolder);
  if (name.empty()) throw PairsError(where(origin) + ": no case folder");
  const int location_id = row.whole(kLocationId, std::numeric_limits<int>::min(), kAnyInteger);
  const int level = row.whole(kLevel, 0, kAnyInteger);
  const Key key{row.whole(kIssueYear, 1, kMaxYear), row.whole(kIssueWeek, 1, kMaxWeek), row.whole(kLead, 1, kLeads)};
  row.whole(kTargetYear, 1, kMaxYear);
  row.whole(kTargetWeek, 1, kMaxWeek);
  Pair pair;
  pair.lead = std::get<2>(key);
  pair.value = row.optional_number(kValue);
  pair.lower = row.optional_number(kLower);
  pair.upper = row.optional_number(kUpper);
  pair.observed = row.number(kObserved);
  pair.persistence = row.optional_number(kPersistence);
  pair.climatology = row.optional_number(kClimatology);

  Folder& folder = folders_.try_emplace(name, Folder{location_id, level, origin, {}}).first->second;
  const std::string in_folder = " in case folder '" + name + "', whose rows hold ";
  if (folder.location_id != location_id) {
    throw PairsError(where(origin) + ": station " + std::to_string(location_id) + in_folder + "station " +
                     std::to_string(folder.location_id) + " (" + where(folder.first) + ")");
  }
  if (folder.level != level) {
    throw PairsError(where(origin) + ": level " + std::to_string(level) + in_folder + "level " +
                     std::to_string(folder.level) + " (" + where(folder.first) + ")");
  }
  const auto [kept, added] = folder.pairs.try_emplace(key, pair, origin);
  if (!added) {
    throw PairsError(where(origin) + ": a second row of case folder '" + name + "', issue " +
                     std::to_string(std::get<0>(key)) + " week " + std::to_string(std::get<1>(key)) + ", lead " +
                     std::to_string(std::get<2>(key)) + " (the first at " + where(kept->second.second) + ")");
  }
  ++rows_;
}

std::vector<CasePairs> PairsTable::cases() const {
  std::vector<CasePairs> cases;
  for (const auto& [name, folder] : folders_) {
    CasePairs c{name, folder.location_id, folder.level, {}};
    for (const auto& [key, pair] : folder.pairs) c.pairs.push_back(pair.first);
    cases.push_back(std::move(c));
  }
  return cases;
}

}  // namespace darcalim::hindcast
