#include "common/appended_file.h"

#include <algorithm>
#include <cerrno>
#include <system_error>

#include "common/file_access.h"
#include "common/output_file.h"
#include "common/output_layouts.h"

namespace darcalim {

namespace {

// Columns of the station code that begins a record of either file (I8).
constexpr std::size_t kStationCodeColumns = 8;

// Whether `text` begins as a record does: a station code written through I8
// (blanks, then digits, a sign or asterisks), whole or in part.
bool begins_like_a_record(std::string_view text) {
  const std::string_view code = text.substr(0, kStationCodeColumns);
  return code.find_first_not_of(" -0123456789*") == std::string_view::npos;
}

// Whether a whole line can be line j (from 0) of a record.
bool can_be_line(std::string_view line, std::size_t j, const AppendedRecords& records) {
  if (j == 0) {
    return line.size() >= kStationCodeColumns && begins_like_a_record(line) &&
           line.substr(0, kStationCodeColumns).find_first_not_of(' ') != std::string_view::npos;
  }
  return line.starts_with(records.labels[j - 1]);
}

// Whether the first bytes of a line, cut short, can be those of line j.
bool can_begin_line(std::string_view part, std::size_t j, const AppendedRecords& records) {
  if (j == 0) return begins_like_a_record(part);
  const std::string& label = records.labels[j - 1];
  return label.starts_with(part) || part.starts_with(label);
}

// The tail in lines: where each whole line starts, and the part after the
// last line end.
struct TailLines {
  std::vector<std::size_t> starts;
  std::string_view partial;
  std::size_t partial_start = 0;
};

TailLines lines_of(std::string_view tail) {
  TailLines lines;
  std::size_t at = 0;
  for (std::size_t end = tail.find('\n'); end != std::string_view::npos; end = tail.find('\n', at)) {
    lines.starts.push_back(at);
    at = end + 1;
  }
  lines.partial = tail.substr(at);
  lines.partial_start = at;
  return lines;
}

std::string_view line_at(std::string_view tail, const TailLines& lines, std::size_t i) {
  const std::size_t start = lines.starts[i];
  return tail.substr(start, tail.find('\n', start) - start);
}

// The last whole line after which a record may start: one that ends a
// record, or the header at the start of the file.
std::optional<std::size_t> last_record_end(std::string_view tail, const TailLines& lines, bool at_start,
                                           const AppendedRecords& records) {
  const std::size_t count = lines.starts.size();
  if (records.labels.empty()) return count - 1;  // every line end ends a record
  // The first line of a tail taken from the middle of the file may be cut.
  const std::size_t first = at_start ? 0 : 1;
  for (std::size_t i = count; i-- > first;) {
    if ((at_start && i == 0) || line_at(tail, lines, i).starts_with(records.labels.back())) return i;
  }
  return std::nullopt;
}

}  // namespace

AppendedRecords forecast_file_records() {
  return {forecast_file_header_layout(), {kLowerLimitLabel, kUpperLimitLabel}};
}

AppendedRecords model_file_records() { return {model_file_header_layout(), {}}; }

std::optional<std::uintmax_t> length_without_torn_record(std::string_view tail, std::uintmax_t tail_start,
                                                        const AppendedRecords& records) {
  const bool at_start = tail_start == 0;
  const TailLines lines = lines_of(tail);
  if (lines.starts.empty()) {
    // One line without its end: the header, cut short, of a new file.
    const std::string header = records.header_layout.write({});
    if (at_start && !lines.partial.empty() && header.starts_with(lines.partial)) return 0;
    return std::nullopt;
  }
  const auto end = last_record_end(tail, lines, at_start, records);
  if (!end) return std::nullopt;
  const std::size_t torn = lines.starts.size() - 1 - *end;
  if ((torn == 0 && lines.partial.empty()) || torn >= records.lines_per_record()) return std::nullopt;
  for (std::size_t j = 0; j < torn; ++j) {
    if (!can_be_line(line_at(tail, lines, *end + 1 + j), j, records)) return std::nullopt;
  }
  if (!lines.partial.empty() && !can_begin_line(lines.partial, torn, records)) return std::nullopt;
  const std::size_t cut = torn > 0 ? lines.starts[*end + 1] : lines.partial_start;
  return tail_start + cut;
}

std::uintmax_t cut_back_torn_record(const std::filesystem::path& path, const AppendedRecords& records) {
  std::error_code ec;
  if (!std::filesystem::exists(std::filesystem::symlink_status(path, ec))) return 0;
  errno = 0;
  OpenedFile opened = open_for_writing(path, WriteAccess::kReadWrite);
  if (!opened.fd.valid()) stop_cannot_write(path, opened.refusal);
  const std::uintmax_t size = opened.size;
  const std::size_t tail_bytes = static_cast<std::size_t>(std::min<std::uintmax_t>(size, kTornRecordTailBytes));
  const std::uintmax_t tail_start = size - tail_bytes;
  std::string tail(tail_bytes, '\0');
  if (read_at(opened.fd.get(), tail.data(), tail_bytes, static_cast<off_t>(tail_start)) !=
      static_cast<long>(tail_bytes)) {
    stop_cannot_write(path);
  }
  const auto length = length_without_torn_record(tail, tail_start, records);
  if (!length) return 0;
  if (!set_length(opened.fd.get(), *length) || !opened.fd.close()) stop_cannot_write(path);
  return size - *length;
}

}  // namespace darcalim
