// The case that a hindcast replays: the case folder's files as text, its
// settings, and the full flow history as numbers, to know what was observed.
//
// read_hindcast_case reads CASO.DAT, the case data file and the history
// file named on line 3 with the program's own readers (so it refuses what a
// run would refuse, with the same message) and, with the variability option
// 1 or 2, the percentile file named on line 16. Refused with a CaseError
// whose message names the file and, where one is, the line: a missing or
// unreadable file, a history header that cannot be read, a last year before
// the first or more than 100 years, a factor that is not positive, an
// unreadable flow. A history that ends early reads as zero flows, as in a
// run.
#pragma once

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace darcalim::hindcast {

class CaseError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct HindcastCase {
  std::filesystem::path folder;
  std::string case_file_name;              // as CASO.DAT names it, without surrounding blanks
  std::vector<std::string> case_lines;     // the case data file, without line ends
  std::string history_name;                // line 3, without surrounding blanks
  std::vector<std::string> history_lines;  // the history file, without line ends
  std::string percentile_name;             // line 16 with the variability option 1 or 2, else empty
  std::string percentile_text;             // that file, byte for byte
  int weeks_per_year = 52;                 // NSEM
  int confidence_level = 0;                // per cent (line 8)

  int station_code = 0;
  std::string station_name;
  int first_year = 0;
  int last_year = 0;
  int last_observed_week = 0;  // of the last year (NSEMULT): weeks after it are not yet observed
  std::vector<double> flows;   // the flows as read, year by year, NSEM weeks each

  // The flow of week `week` (1..NSEM) of `year` (within the history).
  double flow(int year, int week) const;
  // Whether (year, week) lies within the history and before its unobserved tail.
  bool observed(int year, int week) const;
  // The flow of the week before week `week` of `year`, when it lies in the history.
  std::optional<double> flow_before(int year, int week) const;
  // The mean flow of week `week` over the years of the history before
  // `year`; none when there is none.
  std::optional<double> mean_before(int year, int week) const;
};

HindcastCase read_hindcast_case(const std::filesystem::path& folder);

// The bytes of the regular file `path`; none when it is not one or cannot be read.
std::optional<std::string> file_bytes(const std::filesystem::path& path);

// The lines of a text, without their line ends (LF or CR-LF); a last line
// without a line end counts, an empty text has none.
std::vector<std::string> text_lines(const std::string& text);

}  // namespace darcalim::hindcast
