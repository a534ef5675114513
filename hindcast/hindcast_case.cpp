#include "hindcast/hindcast_case.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>

#include "common/input_file.h"
#include "common/layout.h"
#include "common/run.h"
#include "common/run_stop.h"
#include "driver/case_file.h"
#include "driver/history_layout.h"
#include "driver/input_errors.h"

namespace darcalim::hindcast {

namespace {

namespace fs = std::filesystem;

// The history can hold at most this many years (the rows of its table).
constexpr int kMaxHistoryYears = 100;
constexpr int kHeaderLines = kHistoryHeaderLines;

std::optional<std::string> file_bytes(const fs::path& path) {
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string required_bytes(const fs::path& folder, const std::string& name, const std::string& what) {
  const auto bytes = file_bytes(folder / name);
  if (!bytes) throw CaseError(printable(name) + ": " + what + " not found or not readable");
  return *bytes;
}

// The case settings as a run reads them; its refusals become CaseErrors.
void read_settings(HindcastCase& c) {
  std::ostringstream console;
  std::ostringstream errors;
  const auto run = std::make_unique<Run>(c.folder, console, errors);
  try {
    InputFile file = open_case_data_file(*run);
    read_case_settings(*run, file);
  } catch (const RunStop& stop) {
    throw CaseError(stop.diagnostic().empty() ? stop.reason() : stop.diagnostic());
  }
  const CaseSettings& s = run->CASO;
  c.case_file_name = s.case_file_name;
  c.history_name = trimmed(s.history_name);
  if (s.variability_option == 1 || s.variability_option == 2) c.percentile_name = trimmed(s.percentile_name);
  c.weeks_per_year = s.NSEM;
  c.confidence_level = s.confidence_level;
}

FieldValues read_header_line(TextLines& lines, const char* layout, const std::string& name, int line,
                             const char* what) {
  FieldValues values;
  const ReadOutcome outcome = Layout(layout).read_record(lines, values);
  if (outcome.status == ReadOutcome::Status::kEndOfFile) {
    throw CaseError(located(printable(name), line) + ": the " + what + " is missing");
  }
  if (!outcome.ok()) {
    throw CaseError(located(printable(name), line) + " (" + what + "): " + not_a_number(outcome.field_text));
  }
  return values;
}

void read_history(HindcastCase& c, const std::string& text) {
  const std::string& name = c.history_name;
  TextLines lines(text);
  const FieldValues first = read_header_line(lines, kHistoryStationLine, name, 1, "station code and name");
  c.station_code = as_int(first[0]);
  for (std::size_t i = 1; i < first.size(); ++i) c.station_name += as_text(first[i]);
  c.station_name = trimmed(c.station_name);
  const FieldValues second = read_header_line(lines, kHistoryYearsLine, name, kHeaderLines, "first and last year");
  c.first_year = as_int(second[0]);
  c.last_year = as_int(second[1]);
  const int years = c.last_year - c.first_year + 1;
  if (years < 1 || years > kMaxHistoryYears) {
    throw CaseError(located(printable(name), kHeaderLines) + ": the years " + std::to_string(c.first_year) + "-" +
                    std::to_string(c.last_year) + " are not 1 to 100 years");
  }
  const int nsem = c.weeks_per_year;
  c.flows.assign(static_cast<std::size_t>(years * nsem), 0.0);
  static const Layout kFlows(kHistoryFlows);
  for (int row = 0; row < years; ++row) {
    FieldValues values;
    const ReadOutcome outcome = kFlows.read(lines, nsem, values);
    for (int t = 0; t < outcome.values_read; ++t) {
      c.flows[static_cast<std::size_t>(row * nsem + t)] = as_real(values[static_cast<std::size_t>(t)]);
    }
    if (outcome.status == ReadOutcome::Status::kEndOfFile) break;
    if (outcome.status == ReadOutcome::Status::kBadField) {
      throw CaseError(located(printable(name), outcome.line_number) + " (year " + std::to_string(c.first_year + row) +
                      ", week " + std::to_string(outcome.values_read + 1) + "): " + not_a_number(outcome.field_text));
    }
  }
  c.last_observed_week = nsem;
  while (c.last_observed_week > 0 && c.flow(c.last_year, c.last_observed_week) == 0.0) --c.last_observed_week;
}

}  // namespace

std::vector<std::string> text_lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

double HindcastCase::flow(int year, int week) const {
  return flows[static_cast<std::size_t>((year - first_year) * weeks_per_year + week - 1)];
}

bool HindcastCase::observed(int year, int week) const {
  if (year < first_year || year > last_year || week < 1 || week > weeks_per_year) return false;
  return year < last_year || week <= last_observed_week;
}

std::optional<double> HindcastCase::flow_before(int year, int week) const {
  const int y = week > 1 ? year : year - 1;
  const int w = week > 1 ? week - 1 : weeks_per_year;
  if (!observed(y, w)) return std::nullopt;
  return flow(y, w);
}

std::optional<double> HindcastCase::mean_before(int year, int week) const {
  if (year <= first_year || week < 1 || week > weeks_per_year) return std::nullopt;
  const int end = std::min(year, last_year + 1);
  double sum = 0.0;
  for (int y = first_year; y < end; ++y) sum += flow(y, week);
  return sum / (end - first_year);
}

HindcastCase read_hindcast_case(const std::filesystem::path& folder) {
  HindcastCase c;
  c.folder = folder;
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) throw CaseError("not a folder");
  read_settings(c);
  c.case_lines = text_lines(required_bytes(folder, c.case_file_name, "the case data file"));
  const std::string history = required_bytes(folder, c.history_name, "the history file");
  c.history_lines = text_lines(history);
  read_history(c, history);
  if (!c.percentile_name.empty()) {
    c.percentile_text = required_bytes(folder, c.percentile_name, "the percentile file");
  }
  return c;
}

}  // namespace darcalim::hindcast
