#include "view/ranking_report.h"

#include <fstream>
#include <sstream>

#include "tools/blank_trim.h"
#include "view/view_error.h"

namespace darcalim::view {

namespace {

constexpr const char* kWeekLabel = "SEMANA";
constexpr const char* kErrorLabel = "REMQ    ";
constexpr const char* kBestLabel = " MELHOR MODELO, ";
constexpr const char* kBestAfterLabel = " MELHOR MODELO APOS ANALISE, ";
constexpr std::size_t kErrorWidth = 8;  // F7.3 and a comma
constexpr std::size_t kNameWidth = 15;  // A14 and a comma

bool starts_with(const std::string& text, const char* prefix) {
  return text.rfind(prefix, 0) == 0;
}

// The week number of a "  SEMANA  t" line, 0 for any other line.
int week_of_line(const std::string& line) {
  std::istringstream in(line);
  std::string label;
  int week = 0;
  std::string rest;
  if (!(in >> label >> week) || label != kWeekLabel || (in >> rest)) return 0;
  return week;
}

// The comma-ended fields of `width` columns of a line.
std::vector<std::string> fields(const std::string& line, std::size_t width) {
  std::vector<std::string> out;
  const std::string text = without_blanks(line).empty() ? "" : line.substr(0, line.find_last_not_of(" \r") + 1);
  for (std::size_t at = 0; at + width <= text.size(); at += width) {
    out.push_back(without_blanks(text.substr(at, width - 1)));
  }
  return out;
}

// A continuation line of errors: fields of F7.3 and a comma, each a number
// or asterisks (a line of model names has its commas 15 columns apart).
bool is_error_line(const std::string& line) {
  const std::string text = line.substr(0, line.find_last_not_of(" \r") + 1);
  if (text.empty() || text.size() % kErrorWidth != 0) return false;
  for (std::size_t at = 0; at < text.size(); at += kErrorWidth) {
    if (text[at + kErrorWidth - 1] != ',') return false;
    const std::string field = text.substr(at, kErrorWidth - 1);
    if (field.find_first_not_of(" 0123456789.-*") != std::string::npos) return false;
  }
  return true;
}

}  // namespace

RankingReport::RankingReport(const std::filesystem::path& file) : name_(file.filename().string()) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw ViewInputError(name_ + ": the error-ranking report cannot be read");
  for (std::string line; std::getline(in, line);) lines_.push_back(line);
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
  while (best < lines_.size() && !starts_with(lines_[best], kBestLabel) && week_of_line(lines_[best]) == 0) ++best;
  const std::size_t body = best - at - 1;
  if (best + 1 >= lines_.size() || !starts_with(lines_[best], kBestLabel) ||
      !starts_with(lines_[best + 1], kBestAfterLabel)) {
    throw ViewInputError(place(at) + ": the section of week " + std::to_string(week) +
                         " lacks its MELHOR MODELO lines");
  }
  if (body == 0 || !starts_with(lines_[at + 1], kErrorLabel)) {
    throw ViewInputError(place(at + 1) + ": the section of week " + std::to_string(week) + " has no REMQ line");
  }
  std::vector<std::string> errors;
  std::vector<std::string> names;
  for (std::size_t i = at + 1; i < best; ++i) {
    const std::string& line = lines_[i];
    const bool first = i == at + 1;
    if (first || is_error_line(line)) {
      for (auto& e : fields(first ? line.substr(std::string(kErrorLabel).size()) : line, kErrorWidth)) {
        errors.push_back(std::move(e));
      }
    } else {
      for (auto& n : fields(line, kNameWidth)) names.push_back(std::move(n));
    }
  }
  if (errors.size() != names.size()) {
    throw ViewInputError(place(at + 1) + ": week " + std::to_string(week) + " has " + std::to_string(errors.size()) +
                         " errors and " + std::to_string(names.size()) + " model names");
  }
  for (std::size_t i = 0; i < errors.size(); ++i) w.models.push_back({names[i], errors[i]});
  w.best = without_blanks(lines_[best].substr(std::string(kBestLabel).size()));
  w.best_after_analysis = without_blanks(lines_[best + 1].substr(std::string(kBestAfterLabel).size()));
  return w;
}

}  // namespace darcalim::view
