#include "hindcast/cut_case.h"

#include <cstdio>
#include <fstream>

#include "driver/case_data_layout.h"
#include "driver/history_layout.h"

namespace darcalim::hindcast {

namespace {

namespace fs = std::filesystem;

// The flows' layout: nine fields (1X,F7.0) a line.
constexpr int kFlowsPerLine = kHistoryFlowsPerLine;
constexpr std::size_t kFieldWidth = 1 + kHistoryFlowWidth;
// A week cut from the history: 0 in its field.
constexpr const char* kZeroField = "      0.";
// Line 2 of the history: (2I5,F9.0); the last year is its second field.
constexpr std::size_t kLastYearColumn = kHistoryYearWidth;
constexpr std::size_t kYearWidth = kHistoryYearWidth;
constexpr int kHeaderLines = kHistoryHeaderLines;

// Lines of the case data file that the cut rewrites (1-based).
constexpr std::size_t kHistoryNameLine = case_data_line::kHistoryName.number;
constexpr std::size_t kForecastWeekLine = case_data_line::kForecastWeek.number;
constexpr std::size_t kForecastYearLine = case_data_line::kForecastYear.number;
constexpr std::size_t kTrendSourceLine = case_data_line::kTrendSource.number;
constexpr std::size_t kRecentFlowNameLine = case_data_line::kRecentFlowName.number;
constexpr std::size_t kEstimationYearLine = case_data_line::kEstimationYear.number;
constexpr std::size_t kPercentileNameLine = case_data_line::kPercentileName.number;

std::string line_or_blank(const std::vector<std::string>& lines, std::size_t index) {
  return index < lines.size() ? lines[index] : std::string();
}

std::string fixed_integer(int value, int width) {
  char text[16];
  std::snprintf(text, sizeof text, "%*d", width, value);
  return text;
}

// Field k (from 0) of a flow line, padded with blanks as the layout reads it.
std::string flow_field(const std::string& line, std::size_t k) {
  const std::size_t start = k * kFieldWidth;
  std::string field = start < line.size() ? line.substr(start, kFieldWidth) : std::string();
  field.resize(kFieldWidth, ' ');
  return field;
}

std::string with_last_year(std::string line, int year) {
  if (line.size() < kLastYearColumn + kYearWidth) line.resize(kLastYearColumn + kYearWidth, ' ');
  line.replace(kLastYearColumn, kYearWidth, fixed_integer(year, static_cast<int>(kYearWidth)));
  return line;
}

void write_file(const fs::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  if (!out.flush()) throw CaseError(path.string() + ": cannot be written");
}

}  // namespace

std::string cut_history_text(const std::vector<std::string>& lines, int weeks_per_year, int first_year,
                             IssueWeek issue) {
  const std::size_t lines_per_year = static_cast<std::size_t>((weeks_per_year + kFlowsPerLine - 1) / kFlowsPerLine);
  std::string text = line_or_blank(lines, 0) + "\n" + with_last_year(line_or_blank(lines, 1), issue.year) + "\n";
  for (int year = first_year; year <= issue.year; ++year) {
    const std::size_t first_line = kHeaderLines + static_cast<std::size_t>(year - first_year) * lines_per_year;
    for (std::size_t l = 0; l < lines_per_year; ++l) {
      const std::string line = line_or_blank(lines, first_line + l);
      for (std::size_t k = 0; k < kFlowsPerLine; ++k) {
        const int week = static_cast<int>(l * kFlowsPerLine + k) + 1;
        if (week > weeks_per_year) break;
        const bool kept = year < issue.year || week < issue.week;
        text += kept ? flow_field(line, k) : kZeroField;
      }
      text += "\n";
    }
  }
  return text;
}

std::string cut_case_text(const std::vector<std::string>& lines, IssueWeek issue, const std::string& history_name,
                          const std::string& percentile_name) {
  std::vector<std::string> cut = lines;
  auto set = [&cut](std::size_t line, const std::string& text) {
    if (cut.size() < line) cut.resize(line);
    cut[line - 1] = text;
  };
  set(kForecastWeekLine, fixed_integer(issue.week, 2));
  set(kForecastYearLine, fixed_integer(issue.year, 4));
  set(kTrendSourceLine, "1");
  set(kRecentFlowNameLine, "");
  set(kEstimationYearLine, "");
  if (history_name != lines.at(kHistoryNameLine - 1)) set(kHistoryNameLine, history_name);
  if (!percentile_name.empty() && percentile_name != line_or_blank(lines, kPercentileNameLine - 1)) {
    set(kPercentileNameLine, percentile_name);
  }
  std::string text;
  for (const std::string& line : cut) text += line + "\n";
  return text;
}

std::string plain_file_name(const std::string& name) {
  const auto slash = name.find_last_of("/\\");
  return slash == std::string::npos ? name : name.substr(slash + 1);
}

void write_cut_case(const HindcastCase& c, IssueWeek issue, const std::filesystem::path& target) {
  const std::string case_name = plain_file_name(c.case_file_name);
  const std::string history_name = plain_file_name(c.history_name);
  const std::string percentile_name = plain_file_name(c.percentile_name);
  // A plain name keeps its line as written (blanks and all).
  const std::string history_line =
      history_name == c.history_name ? c.case_lines.at(kHistoryNameLine - 1) : history_name;
  const std::string percentile_line = percentile_name == c.percentile_name ? "" : percentile_name;
  write_file(target / "CASO.DAT", case_name + "\n");
  write_file(target / case_name, cut_case_text(c.case_lines, issue, history_line, percentile_line));
  write_file(target / history_name, cut_history_text(c.history_lines, c.weeks_per_year, c.first_year, issue));
  if (!percentile_name.empty()) write_file(target / percentile_name, c.percentile_text);
}

}  // namespace darcalim::hindcast
