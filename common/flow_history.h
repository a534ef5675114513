// HISTORICO, the weekly flow history of the station, with its companions.
//
// Row y holds the year first_year + y - 1, column w its week w. After the
// case input every flow is held scaled as flow x 604.8 / FAC.
#pragma once

#include <string>

#include "common/series_table.h"

namespace darcalim {

struct FlowHistory {
  SeriesTable HISTORICO;
  int station_code = 0;
  std::string station_name;   // 60 characters (15 groups of 4)
  int first_year = 0;
  int last_year = 0;
  double FAC = 604.8;
  int NANOSARQ = 0;           // rows of the file
  int NANOS = 0;              // complete years
  int NSEMULT = 0;            // weeks of the last row
  int lines_read = 0;         // lines of the file read (for messages)

  // Row of a calendar year.
  int row_of(int year) const { return year - first_year + 1; }
};

}  // namespace darcalim
