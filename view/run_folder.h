// A finished run folder, read back: what darcalim-plot and darcalim-view show.
//
// read_run_folder reads the case (through the program's own readers of the
// case data file, the history and the recent flows), the last record of the
// appended forecast file, the week sections of the error-ranking report and,
// with the variability check, the model file. It writes nothing.
//
// The model kept by lead k (for target week t): with variability option 1 or
// 2 the one the model file's last line names; otherwise, in a combined run
// (transformation option 5), the " MELHOR MODELO" of week t's section of the
// ranking report; otherwise its " MELHOR MODELO APOS ANALISE".
//
// Refused (ViewInputError, naming the folder or the file and line): a path
// that is no folder; a folder without RUNSTATE.DAT (no run was made there)
// or whose RUNSTATE.DAT does not hold the code of a normal end (0); a case
// or history the program would refuse; a missing or incomplete appended
// forecast file, ranking report or model file; a last forecast record for
// another station or another week than the case's.
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "common/case_settings.h"
#include "view/forecast_record.h"
#include "view/ranking_report.h"

namespace darcalim::view {

// Weeks of observed flow before the forecast week that the tools show: half
// a year, enough to see the season the forecast continues.
inline constexpr int kObservedWeeks = 26;
// Weeks before the forecast week whose flows a run with trend source 0 takes
// from the recent-flow file.
inline constexpr int kRecentWeeks = 4;

struct ObservedWeek {
  int year = 0;
  int week = 0;
  std::optional<double> flow;  // m3/s as in the history file; nothing outside the years of the file
  bool recent = false;         // one of the recent flows of the recent-flow file
};

struct LeadView {
  int lead = 0;  // 1..6
  int target_year = 0;
  int target_week = 0;
  WrittenNumber forecast;
  WrittenNumber lower;
  WrittenNumber upper;
  std::string model;    // the model kept
  WeekRanking ranking;  // the target week's section of the ranking report
};

struct RunFolder {
  std::filesystem::path folder;
  CaseSettings settings;          // file names without trailing blanks
  int transformation_option = 0;  // as written on line 4 (5: combined run)
  int station_code = 0;
  std::string station_name;  // without surrounding blanks
  int first_year = 0;        // of the history file
  int last_year = 0;
  double FAC = 0.0;
  std::string model_file_name;         // empty without the variability check
  ForecastRecord record;               // the run's record of the appended forecast file
  std::vector<ObservedWeek> observed;  // kObservedWeeks weeks, oldest first
  std::array<LeadView, kLeads> leads;
  std::vector<std::string> files;  // names of the folder's files, sorted
};

RunFolder read_run_folder(const std::filesystem::path& folder);

}  // namespace darcalim::view
