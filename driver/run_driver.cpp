#include "driver/run_driver.h"

#include <array>
#include <filesystem>
#include <memory>

#include "common/file_access.h"
#include "common/layout.h"
#include "common/run_stop.h"
#include "driver/calendar.h"
#include "driver/case_input.h"
#include "final_forecast/combined_step.h"
#include "driver/input_errors.h"
#include "common/model_catalogue.h"
#include "driver/pass_windows.h"
#include "driver/run_files.h"
#include "driver/run_trace.h"
#include "evaluation/error_analysis.h"
#include "evaluation/error_reports.h"
#include "final_forecast/final_forecast.h"
#include "final_forecast/forecast_table.h"
#include "limits/variability_check.h"

namespace darcalim {

namespace {

// Each half window needs at least one year.
constexpr int kMinimumEstimationYears = 2;
const char* const kTitleWithTransformation = "SERIE COM TRANSFORMACAO";
const char* const kTitleWithoutTransformation = "SERIE SEM TRANSFORMACAO";

void set_pass_tables(Run& run) {
  for (int g = 1; g <= kGroupings; ++g) run.GRUPO(g).enabled = run.CASO.grouping[g - 1] == 'S';
  run.series_count = pass_models(run.CASO.TIPOTRANS, run.history.NANOS).series_count;
  for (int m = 1; m <= kMonths; ++m) run.NSEMMES(m) = WEEK(m, run.CASO.ANOPREV);
  run.series_title(1) = run.CASO.TIPOTRANS == 0 ? kTitleWithoutTransformation : kTitleWithTransformation;
  run.series_title(2) = kTitleWithoutTransformation;
}

// VARIAPREV of one lead over the pass's models or, in the combined step, the
// joined list; V is the history of the series of checks.
void check_lead(Run& run, bool combined, int lead, int week, const SeriesTable& V, int& once) {
  const std::filesystem::path report_path = run.file(run.CASO.ranking_report_name);
  const VariabilityCheckInputs in{combined,          run.final_forecast, run.joined_forecast, run.errors,
                                  run.joined_errors, run.models,         run.choice,          run.GRUPO,
                                  run.percentiles,   run.CASO,           run.history,         run.QPASS(1),
                                  report_path};
  LeadResults& results = combined ? run.joined_forecast.lead : run.final_forecast.lead;
  VariabilityState& v = run.variability;
  VARIAPREV(in, lead, week, V, once, {results, v.samples, v.limits, v.TARGET, v.reordered, run.ranking_report});
}

// FPREV with the parameters of the whole history, from the simulation's
// checkpoint; the joined tables are filled in either pass of a combined run.
void final_forecast(Run& run, const LeadCheck& check, const WalkCheckpoint& checkpoint) {
  const PassWalkData walk = pass_walk_data(run, kWindows);
  const FinalForecastInputs in{walk,       run.JANELA(kWindows), run.CASO,  run.history,
                               run.GRUPO,  run.choice,           run.PASSO, run.combined_marker || run.PASSO == 2,
                               &checkpoint};
  FPREV(in, {run.VARRES, run.final_forecast, run.joined_forecast, run.forecast_table}, check);
}

void run_pass(Run& run) {
  NOMEMODELOS(run.names);
  run.forecast_table.open(run.file(kForecastTableFileName), OutputFile::Mode::kRewrite);
  post_event(run, kTraceStart);
  run.history.HISTORICO.fill(0.0);
  run.LIMBC.fill(0.0);
  PARAM(run);
  set_pass_tables(run);
  run.models = build_model_list(run.CASO.TIPOTRANS, run.history.NANOS);
  if (run.PASSO != 2) write_forecast_table_header(run.forecast_table, run.models);
  build_week_groupings(run);
  build_windows(run);
  WalkCheckpoint checkpoint;
  checkpoint.year = replay_checkpoint_year(run.CASO, run.history, run.JANELA(kWindows));
  run_windows(run, checkpoint);
  combine_half_windows(run.errors, run.models.NMOD, run.CASO.NSEM);
  write_averaged_statistics(run.run_report, run.models, run.errors, run.CASO.NSEM);
  rank_and_choose(evaluation_inputs(run), run.errors, run.ranking_report, run.choice);
  copy_to_joined_tables(run.errors, run.models.NMOD, run.CASO.NSEM, joined_offset(run), run.joined_errors);
  LeadCheck check;
  std::unique_ptr<SeriesTable> check_flows;
  if (run.CASO.variability_option != 0 && run.PASSO == 1) {
    check_flows = check_history(run.history, run.CASO.ANOPREV, run.CASO.NSEM);
    check = [&run, &check_flows](int lead, int week) {
      check_lead(run, false, lead, week, *check_flows, run.variability.final_forecast_once);
    };
  }
  final_forecast(run, check, checkpoint);
}

std::array<OutputFile*, 6> output_files(Run& run) {
  return {&run.forecast_table, &run.run_report, &run.boxcox_report,
          &run.forecast_file,  &run.model_file, &run.ranking_report};
}

// Every output file is closed before the end code is written, so that a
// failed last write stops the run instead of passing unseen; the appended
// files stay open for the run's records.
void close_run_files(Run& run) {
  for (OutputFile* file : {&run.forecast_table, &run.run_report, &run.boxcox_report, &run.ranking_report}) {
    file->close();
  }
  run.half_records.close();
  run.total_records.close();
}

// The forecast record and, with the variability option, the model-file
// line: the last writes of a run, once every other output is complete and
// closed, so that a run that stops leaves no record. The two go together: a
// model-file line that cannot be written takes the record back.
void append_final_records(Run& run) {
  const FirstWeek first = first_forecast_week(run.CASO, run.GRUPO);
  const LeadResults& leads = final_leads(run);
  write_forecast_record(run.forecast_file, run.history.station_code, first, leads);
  if (run.CASO.variability_option != 0) {
    try {
      write_model_file_line(run.model_file, run.history.station_code, first, leads);
    } catch (const RunStop&) {
      run.forecast_file.withdraw_last_append();
      throw;
    }
  }
  run.forecast_file.close();
  run.model_file.close();
}

[[noreturn]] void refuse_busy_folder(const std::filesystem::path& folder) {
  const std::string name = printable(folder.string(), 200);
  throw RunStop(" ERRO: OUTRA EXECUCAO EM ANDAMENTO NA PASTA " + name,
                name + ": another run is under way in this folder; this one stops without writing anything");
}

void run_all(Run& run) {
  run.trace_text = std::string(80, ' ');
  run.LAMBDA.fill(1.0);
  for (;;) {
    run_pass(run);
    if (!run.combined_marker) break;
    run.PASSO = 2;
  }
  if (run.PASSO == 2) {
    int once = 0;
    LeadCheck check;
    std::unique_ptr<SeriesTable> check_flows;
    if (run.CASO.variability_option != 0) {
      check_flows = check_history(run.history, run.CASO.ANOPREV, run.CASO.NSEM);
      check = [&run, &once, &check_flows](int lead, int week) {
        check_lead(run, true, lead, week, *check_flows, once);
      };
    }
    const CombinedStepInputs in{run.CASO,          run.history,       run.GRUPO,
                                run.simulation,    run.joined_errors, run.file(kForecastTableFileName),
                                run.file(run.CASO.ranking_report_name)};
    combined_step(in, {run.joined_forecast, run.choice, run.forecast_table, run.ranking_report}, check);
  }
  close_run_files(run);
  append_final_records(run);
  post_event(run, kTraceEnd);
}

}  // namespace

void build_week_groupings(Run& run) {
  Array<bool, kGroupings> enabled;
  for (int g = 1; g <= kGroupings; ++g) enabled(g) = run.GRUPO(g).enabled;
  run.GRUPO = make_week_groupings(run.CASO.NSEM, run.NSEMMES, run.CASO.start_month);
  for (int g = 1; g <= kGroupings; ++g) run.GRUPO(g).enabled = enabled(g);
}

void build_windows(Run& run) {
  const FlowHistory& h = run.history;
  const int estimation_rows = run.CASO.ANOFEST - h.first_year + 1;
  const int n = estimation_rows < h.NANOS ? estimation_rows : h.NANOS;
  if (n < kMinimumEstimationYears) {
    throw RunStop(" ERRO NO ARQUIVO " + trimmed(run.CASO.history_name) +
                      ": MENOS DE 2 ANOS COMPLETOS DE HISTORICO PARA ESTIMACAO",
                  printable(trimmed(run.CASO.history_name)) + ": fewer than 2 complete years for estimation");
  }
  run.JANELA(1) = Window{1, n / 2};
  run.JANELA(2) = Window{n / 2 + 1, n};
  run.JANELA(3) = Window{1, n};
}

namespace {

SeriesWalkData series_data(const Run& run, int s, int c) {
  const SeriesTable& values = s == 1 ? run.transformed : run.history.HISTORICO;
  return {values, run.stats(s, c), run.params(s, c)};
}

}  // namespace

PassWalkData pass_walk_data(const Run& run, int c) {
  return {run.models, {series_data(run, 1, c), series_data(run, 2, c)}, run.CASO.NSEM, run.LAMBDA, run.LIMBC};
}

int run_darcalim(const std::filesystem::path& folder, std::ostream& console, std::ostream& errors) {
  auto run = std::make_unique<Run>(folder, console, errors);
  return run_darcalim(*run);
}

int run_darcalim(Run& run) { return run_to_end(run).status; }

const LeadResults& final_leads(const Run& run) {
  return run.PASSO == 2 ? run.joined_forecast.lead : run.final_forecast.lead;
}

namespace {

// What the output files received before a stop reaches them before the stop
// is reported; a file that cannot take it leaves the stop as it is.
void flush_run_files(Run& run) noexcept {
  for (OutputFile* file : output_files(run)) {
    try {
      file->flush();
    } catch (const std::exception&) {
      // The stop being reported stands.
    }
  }
}

}  // namespace

RunEnd run_to_end(Run& run) {
  try {
    // Held to the end of the run: a second run in the folder meanwhile
    // stops at once, before it writes anything.
    const FolderLock lock(run.folder);
    if (lock.outcome() == FolderLock::Outcome::kBusy) refuse_busy_folder(run.folder);
    check_fixed_outputs(run.folder);
    if (!run.writes_files) {
      for (OutputFile* file : output_files(run)) file->keep_nothing();
    }
    run_all(run);
    return {};
  } catch (const RunStop& stop) {
    flush_run_files(run);
    if (*stop.what() != '\0') run.console << stop.what() << "\n";
    run.diagnostics << "darcalim: " << stop_diagnostic(run, stop) << "\n";
    return {1, stop.reason()};
  } catch (const std::exception& fault) {
    flush_run_files(run);
    run.console << " ERRO INTERNO: " << fault.what() << "\n";
    run.diagnostics << "darcalim: internal error: " << printable(fault.what(), 200) << "\n";
    return {2, std::string(" ERRO INTERNO: ") + fault.what()};
  }
}

}  // namespace darcalim
