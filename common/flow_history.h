// HISTORICO, the weekly flow history of the station, with its companions.
//
// Row y holds the year first_year + y - 1, column w its week w. After the
// case input every flow is held scaled (stored) as flow x 604.8 / FAC; what a
// report shows, or a limit is compared with, is the display value
// v x FAC / 604.8, in the units of the history file.
#pragma once

#include <string>

#include "common/series_table.h"

namespace darcalim {

// The factor of the stored units: FAC = 604.8 leaves the flows as read.
inline constexpr double kStoredUnitsFactor = 604.8;

// Display value of a stored value: v * FAC / 604.8, from left to right.
inline double display_value(double stored, double FAC) { return stored * FAC / kStoredUnitsFactor; }
// Stored value of a display value: v * 604.8 / FAC, from left to right. (The
// case input scales the flows it reads as v * (604.8 / FAC), the factor
// formed first.)
inline double stored_value(double display, double FAC) { return display * kStoredUnitsFactor / FAC; }

struct FlowHistory {
  SeriesTable HISTORICO;
  int station_code = 0;
  std::string station_name;   // 60 characters (15 groups of 4)
  int first_year = 0;
  int last_year = 0;
  double FAC = kStoredUnitsFactor;
  int NANOSARQ = 0;           // rows of the file
  int NANOS = 0;              // complete years
  int NSEMULT = 0;            // weeks of the last row
  int lines_read = 0;         // lines of the file read (for messages)

  // Row of a calendar year.
  int row_of(int year) const { return year - first_year + 1; }
};

}  // namespace darcalim
