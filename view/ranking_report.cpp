#include "view/ranking_report.h"

#include <cstdint>
#include <optional>

#include "common/input_file.h"
#include "common/output_layouts.h"
#include "view/view_error.h"
#include "view/view_input.h"

namespace darcalim::view {

namespace {

// The week number of a "  SEMANA  t" line, 0 for any other line.
int week_of_line(const std::string& line) {
  const auto fields = line_fields(ranking_layouts::week_title_line(), line);
  if (!fields || fields->size() != 1) return 0;
  std::int64_t week = 0;
  return parse_integer_field(fields->front(), week) ? static_cast<int>(week) : 0;
}

bool is_line(const Layout& layout, const std::string& line) { return line_fields(layout, line).has_value(); }

// The errors of a line read through `layout`: nothing when the line is not
// one of errors (a literal out of place, or a field that is no number).
std::optional<std::vector<std::string>> errors_of(const Layout& layout, const std::string& line) {
  auto errors = line_fields(layout, line);
  if (!errors || errors->empty()) return std::nullopt;
  for (const std::string& e : *errors) {
    if (!read_written_number(e).readable()) return std::nullopt;
  }
  return errors;
}

// The name a " MELHOR MODELO..." line gives.
std::string name_of(const Layout& layout, const std::string& line) {
  const auto fields = line_fields(layout, line);
  return fields && !fields->empty() ? fields->front() : "";
}

}  // namespace

RankingReport::RankingReport(const std::filesystem::path& file) : name_(file.filename().string()) {
  lines_ = read_view_input(file, name_, "the error-ranking report");
}

WeekRanking RankingReport::week(int week) const {
  std::size_t at = 0;
  while (at < lines_.size() && week_of_line(lines_[at]) != week) ++at;
  if (at == lines_.size()) throw ViewInputError(name_ + ": no section for week " + std::to_string(week));
  WeekRanking w;
  w.week = week;
  w.line = static_cast<int>(at) + 1;
  const auto place = [&](std::size_t index) { return name_ + ", line " + std::to_string(index + 1); };
  std::size_t best = at + 1;
  while (best < lines_.size() && !is_line(ranking_layouts::best(), lines_[best]) && week_of_line(lines_[best]) == 0) {
    ++best;
  }
  if (best + 1 >= lines_.size() || !is_line(ranking_layouts::best(), lines_[best]) ||
      !is_line(ranking_layouts::chosen(), lines_[best + 1])) {
    throw ViewInputError(place(at) + ": the section of week " + std::to_string(week) +
                         " lacks its MELHOR MODELO lines");
  }
  const auto first_errors = best > at + 1 ? errors_of(ranking_layouts::first_errors_line(), lines_[at + 1])
                                          : std::nullopt;
  if (!first_errors) {
    throw ViewInputError(place(at + 1) + ": the section of week " + std::to_string(week) + " has no REMQ line");
  }
  std::vector<std::string> errors = *first_errors;
  std::vector<std::string> names;
  for (std::size_t i = at + 2; i < best; ++i) {
    const std::string& line = lines_[i];
    if (const auto more = errors_of(ranking_layouts::errors_line(), line)) {
      errors.insert(errors.end(), more->begin(), more->end());
    } else if (const auto listed = line_fields(ranking_layouts::names(kMaxModels), line)) {
      names.insert(names.end(), listed->begin(), listed->end());
    }
  }
  if (errors.size() != names.size()) {
    throw ViewInputError(place(at + 1) + ": week " + std::to_string(week) + " has " + std::to_string(errors.size()) +
                         " errors and " + std::to_string(names.size()) + " model names");
  }
  for (std::size_t i = 0; i < errors.size(); ++i) w.models.push_back({names[i], errors[i]});
  w.best = name_of(ranking_layouts::best(), lines_[best]);
  w.best_after_analysis = name_of(ranking_layouts::chosen(), lines_[best + 1]);
  return w;
}

}  // namespace darcalim::view
