// The run: every table, setting and open file of one run of the program.
//
// One Run object is created per run and handed to every phase; nothing of a
// run lives anywhere else, so several runs can go on side by side in one
// process. Every file name resolves against the run's working folder, and
// the console is the stream the run was given. Diagnostics (the one-line
// reasons of stops and the warnings about input) go to the error stream,
// standard error unless the caller gives another.
//
// Tables have the fixed sizes of the data model and live as long as the run;
// they persist from the first pass of a combined run to the second.
//
// `threads` is how many threads the run may use (1 unless the caller says
// otherwise; see run_threads.h); the tables that work on a second thread
// needs are made at its first use and kept for the rest of the run.
#pragma once

#include <filesystem>
#include <iostream>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>

#include "common/case_settings.h"
#include "common/evaluation_tables.h"
#include "common/fixed_array.h"
#include "common/flow_history.h"
#include "common/forecast_tables.h"
#include "common/input_file.h"
#include "common/large_block.h"
#include "common/table_sizes.h"
#include "common/model_list.h"
#include "common/model_names.h"
#include "common/output_file.h"
#include "common/parameter_store.h"
#include "common/record_file.h"
#include "common/series_statistics.h"
#include "common/series_table.h"
#include "common/variability_tables.h"
#include "common/week_groupings.h"

namespace darcalim {

// What lets windows 1 and 2 of a pass go on beside window 3: the noise
// variances, percentile table and variability state of windows 1 and 2
// (window 3, the last in the order of a single thread, leaves its own in the
// run), and window 3's part of the run report and of the console, which
// joins the run's after window 2.
struct WindowSplitTables {
  NoiseVariances VARRES;
  PercentileTable percentiles;
  VariabilityState variability;
  OutputFile report;  // in memory
  std::ostringstream console;
};

struct Run {
  Run(std::filesystem::path working_folder, std::ostream& console_stream, std::ostream& error_stream = std::cerr)
      : folder(std::move(working_folder)), console(console_stream), diagnostics(error_stream) {}
  Run(const Run&) = delete;
  Run& operator=(const Run&) = delete;

  // The run's tables, over 2 MB, live in a large block of their own, which
  // a run touches at far fewer faults (common/large_block.h).
  static void* operator new(std::size_t bytes) { return allocate_large_block(bytes); }
  static void operator delete(void* block, std::size_t bytes) noexcept { free_large_block(block, bytes); }

  // A file of the working folder; blanks around the name are ignored.
  std::filesystem::path file(const std::string& name) const { return file_in(folder, name); }

  std::filesystem::path folder;
  std::ostream& console;
  std::ostream& diagnostics;

  // --- driver state
  int threads = 1;                // threads the run may use
  // false: the run writes no file at all (reports, forecast table, records,
  // appended files, trace and state), for a caller that reads only its
  // tables. The records a run reads back are then kept in memory, so the
  // folder must hold none of an earlier run; a stop's diagnostic line cannot
  // then quote the report.
  bool writes_files = true;
  std::string trace_text = std::string(80, ' ');
  bool combined_marker = false;   // set in the first pass of a combined run
  int PASSO = 1;                  // 2 in the second pass of a combined run
  int series_count = 1;           // series modelled in the pass
  Array<int, kMonths> NSEMMES;    // operating weeks of each month of ANOPREV
  WeekGroupings GRUPO;
  Array<Window, kWindows> JANELA;
  Array<std::string, kSeries> series_title;

  // --- case and history
  ModelNameLists names;
  ModelList models;               // the models of the pass
  CaseSettings CASO;
  FlowHistory history;
  Array<double, 4> QPASS;         // flows 1..4 weeks before SEMPREV
  int QPASS_line = 0;             // line of VAZPASTS they came from (0: none)
  bool zero_flow = false;         // the history holds a zero flow (transformation options)

  // --- transformation
  Array<double, kMaxWeeks> LAMBDA;  // exponent of each week: 1 none, 0 logarithm
  Array<double, kMaxWeeks> LIMBC;   // bound of transformed values before the inverse
  SeriesTable transformed;          // the series with transformation

  // --- statistics and parameters, by series (1 with, 2 without transformation) and window
  Array<SeriesStatistics, kSeries, kWindows> stats;
  Array<SeriesParameters, kSeries, kWindows> params;
  NoiseVariances VARRES;

  // --- evaluation
  ErrorTables errors;
  JoinedErrorTables joined_errors;
  SimulationErrors simulation;
  PercentileTable percentiles;
  WeeklyChoice choice;

  // --- final forecast
  PassForecast final_forecast;
  JoinedForecast joined_forecast;
  VariabilityState variability;

  // --- files
  OutputFile forecast_table;      // PREVISAO.DAT
  OutputFile run_report;
  OutputFile boxcox_report;
  OutputFile forecast_file;       // appended forecast file
  OutputFile model_file;          // appended model file (variability option 1 or 2)
  OutputFile ranking_report;      // error-ranking report
  RecordFile half_records;        // PREVP.DAT
  RecordFile total_records;       // PREVT.DAT

  // --- work side by side (threads above 1)
  std::unique_ptr<WindowSplitTables> window_split;
};

}  // namespace darcalim
