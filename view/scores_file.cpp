#include "view/scores_file.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

#include "tools/csv_text.h"
#include "view/view_error.h"
#include "view/view_input.h"

namespace darcalim::view {

namespace {

enum Column { kLocation, kMetric, kReference, kLead, kLevel, kValue, kColumns };
constexpr std::array<const char*, kColumns> kColumnNames = {"location_id", "metric", "reference",
                                                            "lead_weeks",  "level",  "value"};

std::optional<double> number(const std::string& text) {
  double value = 0.0;
  const char* begin = text.data();
  const char* end = begin + text.size();
  if (begin != end && *begin == '+') ++begin;
  const auto [ptr, ec] = std::from_chars(begin, end, value);
  if (begin == end || ec != std::errc() || ptr != end) return std::nullopt;
  return value;
}

std::string place(const std::filesystem::path& file, int line) {
  return file.filename().string() + ", line " + std::to_string(line);
}

std::array<std::size_t, kColumns> column_places(const std::vector<std::string>& header,
                                                const std::filesystem::path& file) {
  std::array<std::size_t, kColumns> at{};
  for (std::size_t c = 0; c < kColumns; ++c) {
    const auto found = std::find(header.begin(), header.end(), kColumnNames[c]);
    if (found == header.end()) {
      throw ViewInputError(place(file, 1) + ": no column \"" + kColumnNames[c] + "\" in the header");
    }
    at[c] = static_cast<std::size_t>(found - header.begin());
  }
  return at;
}

std::optional<double> optional_number(const std::string& text, const char* item, const std::filesystem::path& file,
                                      int line) {
  if (text.empty()) return std::nullopt;
  const auto v = number(text);
  if (!v) throw ViewInputError(place(file, line) + ": the " + item + " \"" + text + "\" is not a number");
  if (!std::isfinite(*v)) return std::nullopt;  // "nan", "inf": undefined like an empty field
  return v;
}

std::optional<int> lead_of(const std::string& text, const std::filesystem::path& file, int line) {
  if (text == "all") return std::nullopt;
  int lead = 0;
  const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), lead);
  if (text.empty() || ec != std::errc() || ptr != text.data() + text.size() || lead < 1 || lead > kScoreLeads) {
    throw ViewInputError(place(file, line) + ": lead_weeks \"" + text + "\" is neither 1..6 nor \"all\"");
  }
  return lead;
}

}  // namespace

ScoresFile read_scores_file(const std::filesystem::path& file) {
  const std::vector<std::string> lines = read_view_input(file, file.string(), "the scores file");
  ScoresFile scores;
  scores.name = file.filename().string();
  if (lines.empty()) throw ViewInputError(place(file, 1) + ": no header");
  const auto at = column_places(csv_fields(lines.front()), file);
  const std::size_t needed = *std::max_element(at.begin(), at.end()) + 1;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    const int n = static_cast<int>(i) + 1;
    if (line.empty()) continue;
    const auto f = csv_fields(line);
    if (f.size() < needed) {
      throw ViewInputError(place(file, n) + ": " + std::to_string(f.size()) + " fields, the header has " +
                           std::to_string(needed) + " or more");
    }
    ScoreRow r;
    r.location_id = f[at[kLocation]];
    r.metric = f[at[kMetric]];
    r.reference = f[at[kReference]];
    r.lead = lead_of(f[at[kLead]], file, n);
    r.level = optional_number(f[at[kLevel]], "level", file, n);
    r.value = optional_number(f[at[kValue]], "value", file, n);
    scores.rows.push_back(std::move(r));
  }
  return scores;
}

}  // namespace darcalim::view
