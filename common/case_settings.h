// CASO: the settings of a run, read from the case data file.
#pragma once

#include <string>

namespace darcalim {

// The transformation option of a combined run: a first pass under option 2,
// a second under option 3.
inline constexpr int kCombinedOption = 5;

struct CaseSettings {
  std::string case_file_name;         // the case data file, as named in CASO.DAT
  // File names as read (A12: blank-padded to 12 characters).
  std::string report_name;            // run report
  std::string history_name;           // flow history
  std::string forecast_file_name;     // appended forecast file
  std::string ranking_report_name;    // error-ranking report
  std::string vazpasts_name;          // recent-flow file (trend source 0)
  std::string percentile_name;        // percentile file (variability option 1 or 2)

  char print_parameters = 'N';        // "Imprime parametros"
  int TIPOTRANS = 0;                  // transformation option: as read 0..5, in a pass 0..4
  int start_month = 1;                // month of start of the hydrological year
  int confidence_level = 0;           // per cent
  int SEMPREV = 0;                    // forecast week
  int ANOPREV = 0;                    // year of the forecast week
  int trend_source = 0;               // 0: recent flows from VAZPASTS
  int ANOFEST = 0;                    // last year used for estimation
  int station_number = 0;             // key of the station's line in VAZPASTS
  int variability_option = 0;         // 0 none; 1, 2 variability check
  int NSEM = 52;                      // weeks per year

  // Family, total-series and grouping switches: always "S".
  char ar = 'S';
  char arma = 'S';
  char par = 'S';
  char parma = 'S';
  char total_series = 'S';
  char grouping[4] = {'S', 'S', 'S', 'S'};
  int months = 12;

  double ZCONF = 0.0;                 // normal quantile of the confidence level
};

// Labels of the transformation options 1 to 4, 12 characters.
inline const char* transformation_label(int option) {
  switch (option) {
    case 1: return "LOG/S.TRANSF";
    case 2: return "BC/S.TRANSF.";
    case 3: return "LOGARITIMICA";
    case 4: return "BOX & COX   ";
    default: return "            ";
  }
}

// Name of the Box-Cox report: the report name up to its last "." followed by
// "BCX" (CASO1.REL gives CASO1.BCX).
inline std::string boxcox_report_name(const std::string& report_name) {
  return report_name.substr(0, report_name.find_last_of('.') + 1) + "BCX";
}

// Name of the model file: the report name before its first "." followed by
// "_MOD.DAT".
inline std::string model_file_name(const std::string& report_name) {
  std::string stem = report_name.substr(0, report_name.find('.'));
  while (!stem.empty() && stem.front() == ' ') stem.erase(stem.begin());
  return stem + "_MOD.DAT";
}

}  // namespace darcalim
