#include "hindcast/hindcast_case.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>

#include "common/run_stop.h"
#include "driver/case_file.h"
#include "driver/history_file.h"

namespace darcalim::hindcast {

namespace {

namespace fs = std::filesystem;

std::string required_bytes(const fs::path& folder, const std::string& name, const std::string& what) {
  const auto bytes = file_bytes(folder / name);
  if (!bytes) throw CaseError(printable(name) + ": " + what + " not found or not readable");
  return *bytes;
}

CaseError case_error(const RunStop& stop) {
  return CaseError(stop.diagnostic().empty() ? stop.reason() : stop.diagnostic());
}

// The case settings as a run reads them; its refusals become CaseErrors.
void read_settings(HindcastCase& c) {
  try {
    CaseDataFile file = open_case_data_file(c.folder);
    const CaseSettings s = read_case_settings(c.folder, file);
    c.case_file_name = s.case_file_name;
    c.history_name = trimmed(s.history_name);
    if (s.variability_option == 1 || s.variability_option == 2) c.percentile_name = trimmed(s.percentile_name);
    c.weeks_per_year = s.NSEM;
    c.confidence_level = s.confidence_level;
  } catch (const RunStop& stop) {
    throw case_error(stop);
  }
}

// The full history as a run reads it (a history that ends early reads as
// zero flows); its refusals become CaseErrors.
void read_full_history(HindcastCase& c) {
  std::ostringstream console;
  std::ostringstream warnings;
  FlowHistory h;
  try {
    h = read_history(c.folder, c.history_name, c.weeks_per_year, console, warnings);
  } catch (const RunStop& stop) {
    throw case_error(stop);
  }
  find_incomplete_last_year(h, c.weeks_per_year);
  c.station_code = h.station_code;
  c.station_name = trimmed(h.station_name);
  c.first_year = h.first_year;
  c.last_year = h.last_year;
  c.last_observed_week = h.NSEMULT;
  const int nsem = c.weeks_per_year;
  c.flows.assign(static_cast<std::size_t>(h.NANOSARQ * nsem), 0.0);
  for (int row = 1; row <= h.NANOSARQ; ++row) {
    for (int t = 1; t <= nsem; ++t) c.flows[static_cast<std::size_t>((row - 1) * nsem + t - 1)] = h.HISTORICO(row, t);
  }
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

std::optional<std::string> file_bytes(const fs::path& path) {
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes(std::istreambuf_iterator<char>(in), {});
  if (in.bad()) return std::nullopt;
  return bytes;
}

HindcastCase read_hindcast_case(const std::filesystem::path& folder) {
  HindcastCase c;
  c.folder = folder;
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) throw CaseError("not a folder");
  read_settings(c);
  c.case_lines = text_lines(required_bytes(folder, c.case_file_name, "the case data file"));
  c.history_lines = text_lines(required_bytes(folder, c.history_name, "the history file"));
  read_full_history(c);
  if (!c.percentile_name.empty()) {
    c.percentile_text = required_bytes(folder, c.percentile_name, "the percentile file");
  }
  return c;
}

}  // namespace darcalim::hindcast
