// The run's record of the appended forecast file: its last record.
//
// The file holds a header line and then, per run, the three lines of the
// forecast record (common/output_layouts.h), read back through its layout:
// the numbers are kept as the text written in their fields (e.g. "73.2", or
// asterisks for a number too wide), with their value where they read as one.
//
// Refused (ViewInputError naming the file and line): a file that cannot be
// read, one without a complete record after its header, one whose lines
// after the header are not whole records of three, a last record whose
// lines are not a forecast line and the two limit lines, whose integer
// fields do not read, or whose numbers are not finite ("nan", "inf"). The
// file must be a regular file of at most view/view_input.h's length.
#pragma once

#include <array>
#include <filesystem>

#include "common/field_codecs.h"
#include "common/table_sizes.h"

namespace darcalim::view {

struct ForecastRecord {
  int first_line = 0;  // line of the file where the record starts
  int station_code = 0;
  int year = 0;
  int month = 0;
  int week = 0;
  std::array<WrittenNumber, kLeads> forecast;
  std::array<WrittenNumber, kLeads> lower;
  std::array<WrittenNumber, kLeads> upper;
};

ForecastRecord read_last_forecast_record(const std::filesystem::path& file);

}  // namespace darcalim::view
