#include "view/forecast_record.h"

#include <charconv>
#include <fstream>
#include <vector>

#include "tools/blank_trim.h"
#include "view/view_error.h"

namespace darcalim::view {

namespace {

// The record's columns: (I8,2X,I4,3X,I2,3X,I2,6F9.1) for the forecast line
// and 24 columns of label before the six F9.1 fields of each limit line.
constexpr int kRecordLines = 3;
constexpr std::size_t kValuesColumn = 24;
constexpr std::size_t kValueWidth = 9;
constexpr const char* kLowerLabel = "LIM. INFERIOR";
constexpr const char* kUpperLabel = "LIM. SUPERIOR";

std::string field(const std::string& line, std::size_t column, std::size_t width) {
  if (column >= line.size()) return "";
  return line.substr(column, width);
}

std::optional<double> number_of(const std::string& text) {
  double value = 0.0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end) return std::nullopt;
  return value;
}

std::string place(const std::filesystem::path& file, int line) {
  return file.filename().string() + ", line " + std::to_string(line);
}

std::array<WrittenNumber, kLeads> values_of(const std::string& line, const std::filesystem::path& file,
                                            int line_number) {
  std::array<WrittenNumber, kLeads> values;
  for (std::size_t k = 0; k < values.size(); ++k) {
    WrittenNumber& v = values[k];
    v.text = without_blanks(field(line, kValuesColumn + k * kValueWidth, kValueWidth));
    v.value = number_of(v.text);
    const bool asterisks = !v.text.empty() && v.text.find_first_not_of('*') == std::string::npos;
    if (!v.value && !asterisks) {
      throw ViewInputError(place(file, line_number) + ": forecast " + std::to_string(k + 1) + " \"" + v.text +
                           "\" is not a number");
    }
  }
  return values;
}

int integer_field(const std::string& line, std::size_t column, std::size_t width, const std::filesystem::path& file,
                  int line_number, const char* item) {
  const std::string text = without_blanks(field(line, column, width));
  int value = 0;
  const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc() || ptr != text.data() + text.size()) {
    throw ViewInputError(place(file, line_number) + ": the " + item + " \"" + text + "\" is not a whole number");
  }
  return value;
}

void require_label(const std::string& line, const char* label, const std::filesystem::path& file, int line_number) {
  if (line.rfind(label, 0) != 0) {
    throw ViewInputError(place(file, line_number) + ": expected the \"" + label +
                         "\" line of the last forecast record");
  }
}

}  // namespace

ForecastRecord read_last_forecast_record(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw ViewInputError(file.filename().string() + ": the appended forecast file cannot be read");
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  while (!lines.empty() && without_blanks(lines.back()).empty()) lines.pop_back();
  const int n = static_cast<int>(lines.size());
  // A header line and one record of three lines at least.
  if (n <= 1) throw ViewInputError(file.filename().string() + ": no forecast record after the header");
  if ((n - 1) % kRecordLines != 0) {
    throw ViewInputError(file.filename().string() + ": " + std::to_string(n - 1) +
                         " lines after the header are not whole records of three lines (the last record is cut "
                         "short)");
  }
  ForecastRecord r;
  r.first_line = n - 2;
  const std::string& forecast_line = lines[lines.size() - 3];
  require_label(lines[lines.size() - 2], kLowerLabel, file, n - 1);
  require_label(lines[lines.size() - 1], kUpperLabel, file, n);
  r.station_code = integer_field(forecast_line, 0, 8, file, n - 2, "station code");
  r.year = integer_field(forecast_line, 10, 4, file, n - 2, "year");
  r.month = integer_field(forecast_line, 17, 2, file, n - 2, "month");
  r.week = integer_field(forecast_line, 22, 2, file, n - 2, "week");
  r.forecast = values_of(forecast_line, file, n - 2);
  r.lower = values_of(lines[lines.size() - 2], file, n - 1);
  r.upper = values_of(lines[lines.size() - 1], file, n);
  return r;
}

}  // namespace darcalim::view
