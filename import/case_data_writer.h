// A new case: CASO.DAT and the case data file, in the program's layout
// (driver/case_data_layout.h). Names are written as they are, from the
// first column; numbers right-aligned in their fields.
#pragma once

#include <string>

namespace darcalim::import {

// What a new case holds; the defaults are those of darcalim-import.
struct NewCase {
  std::string case_file_name = "CASO1.DAT";
  std::string report_name = "CASO1.REL";
  std::string print_parameters = "S";
  std::string history_name = "HIST1.DAT";
  int option = 2;       // transformation: 0..5
  int start_month = 1;  // of the hydrological year
  std::string forecast_file_name = "PREVS.DAT";
  std::string ranking_report_name = "RANK1.CSV";
  int level = 95;  // per cent
  int forecast_week = 1;
  int forecast_year = 0;
  int trend_source = 1;  // recent flows from the history
  std::string recent_flow_name = "VAZPASTS.DAT";
  int estimation_year = 0;  // written for trend source 0; the year before the forecast year
  int station_number = 1;   // in the recent-flow file
  int variability_option = 0;
  std::string percentile_name = "PERC1.DAT";
  int weeks_per_year = 52;
};

// The text of CASO.DAT.
std::string case_index_text(const NewCase& c);

// The text of the case data file, its 17 lines. A name longer than its
// field, or a number that does not fit, throws ImportError.
std::string case_data_text(const NewCase& c);

}  // namespace darcalim::import
