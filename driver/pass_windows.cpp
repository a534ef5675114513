#include "driver/pass_windows.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>

#include "common/layout.h"
#include "common/model_catalogue.h"
#include "driver/run_driver.h"
#include "driver/side_task.h"
#include "estimation/estimation_driver.h"
#include "evaluation/percentile_file.h"
#include "evaluation/simulation.h"
#include "limits/simulation_limits.h"
#include "stats/series_statistics_report.h"

namespace darcalim {

namespace {

const char* const kWindowNames[kWindows] = {"Primeira Metade", "Segunda Metade ", "Serie Total    "};

// Where the phases of a window write what the windows of a pass share.
// `inherited_limits`, when given, is set when the first variability limits
// the window draws are still those it found (the simulation's limits keep
// the last ones drawn where a sample gives none).
struct WindowSink {
  OutputFile& report;
  std::ostream& console;
  NoiseVariances& VARRES;
  PercentileTable& percentiles;
  VariabilityState& variability;
  bool* inherited_limits = nullptr;
};

WindowSink run_sink(Run& run) {
  return {run.run_report, run.console, run.VARRES, run.percentiles, run.variability};
}

void write_window_header(const Run& run, OutputFile& report, int c) {
  static const Layout kHeader("(A,'--- SERIE ',A15,' ---',/,/,5X,'ANO INICIAL: ',I4,5X,'ANO FINAL: ',I4,/)");
  report.write(kHeader, {std::string("\f"), std::string(kWindowNames[c - 1]), std::int64_t{run.JANELA(c).first},
                         std::int64_t{run.JANELA(c).last}});
}

// Series s of the pass over window c: the transformed values (or the only
// series) for s = 1, the history for s = 2.
SeriesWindow series_window(const Run& run, int s, int c) {
  const SeriesTable& values = s == 1 ? run.transformed : run.history.HISTORICO;
  return {values, run.JANELA(c), run.GRUPO, run.CASO.NSEM};
}

void estimate_series(Run& run, const WindowSink& sink, int s, int c) {
  const EstimationInputs in{series_window(run, s, c), run.stats(s, c), s, run.models, run.CASO, run.history.NANOS};
  ESTIMA(in, run.series_title(s), run.params(s, c), sink.VARRES, sink.report);
}

// Limits whose values no window has drawn: what window 3 starts from on its
// own thread, so that drawing none at its first week shows.
void mark_limits_undrawn(RatioLimits& limits) {
  limits.RAZINF = std::numeric_limits<double>::quiet_NaN();
  limits.RAZSUP = std::numeric_limits<double>::quiet_NaN();
}

bool limits_undrawn(const RatioLimits& limits) { return std::isnan(limits.RAZINF) || std::isnan(limits.RAZSUP); }

// SIMPREV of the models of window c over `eval`, with the variability
// check's clamp (option 1, on the display flows `flows`) and the percentile
// file read at its first week, keeping the walk's state at `checkpoint` (if
// any).
void simulate_window(Run& run, const WindowSink& sink, const SeriesTable& flows, int c, const Window& eval,
                     RecordFile& records, WalkCheckpoint* checkpoint) {
  int samples_built = 0;
  WeekBands week_bands;
  bool first_draw = true;
  const SimulationLimitInputs limit_inputs{flows,           run.JANELA(kWindows), run.GRUPO,
                                           sink.percentiles, run.CASO.NSEM,        run.models.NMOD};
  const SimulationLimitOutputs limit_outputs{sink.variability.samples, samples_built, week_bands,
                                             sink.variability.limits};
  const SimulationClamp clamp = [&](int, int Y, int t, ModelValues& D) {
    VARIHIDRO(limit_inputs, eval, Y, t, D, limit_outputs);
    if (first_draw && sink.inherited_limits && limits_undrawn(sink.variability.limits)) *sink.inherited_limits = true;
    first_draw = false;
  };
  const auto read_percentiles = [&run, &sink] {
    read_percentile_file(run.file(run.CASO.percentile_name), run.GRUPO, run.CASO.NSEM, sink.console, sink.percentiles);
  };
  const PassWalkData walk = pass_walk_data(run, c);
  const SimulationInputs in{
      walk, run.history.HISTORICO, run.GRUPO, run.history.FAC, run.CASO.variability_option, joined_offset(run)};
  SIMPREV(in, c, eval, {sink.VARRES, run.simulation, records, checkpoint}, read_percentiles, clamp);
}

void run_window(Run& run, const WindowSink& sink, const SeriesTable& flows, int c, WalkCheckpoint& checkpoint) {
  write_window_header(run, sink.report, c);
  for (int s = 1; s <= run.series_count; ++s) {
    ESTAT(series_window(run, s, c), run.series_title(s), run.stats(s, c), sink.report);
  }
  for (int s = 1; s <= run.series_count; ++s) estimate_series(run, sink, s, c);
  // Models of the first half forecast the second and those of the second the
  // first, both through PREVP.DAT; those of the whole history forecast it
  // through PREVT.DAT.
  const Window& eval = run.JANELA(c == 1 ? 2 : c == 2 ? 1 : 3);
  RecordFile& records = c == kWindows ? run.total_records : run.half_records;
  simulate_window(run, sink, flows, c, eval, records, c == kWindows ? &checkpoint : nullptr);
  ANAPREV(evaluation_inputs(run), c, eval, records, run.errors, sink.report);
}

// The tables that windows 1 and 2 left, back in the run in place of window
// 3's, and window 3's records forgotten: the run as a single thread leaves
// it after window 2.
void take_back_window3(Run& run) {
  WindowSplitTables& side = *run.window_split;
  side.report.close();
  run.total_records.discard();
  run.VARRES = side.VARRES;
  run.percentiles = side.percentiles;
  run.variability = side.variability;
}

// Window 3 once more on the calling thread, after windows 1 and 2: what a
// single thread does.
void run_window3_in_order(Run& run, const SeriesTable& flows, WalkCheckpoint& checkpoint) {
  take_back_window3(run);
  const int year = checkpoint.year;
  checkpoint = WalkCheckpoint{};
  checkpoint.year = year;
  run_window(run, run_sink(run), flows, kWindows, checkpoint);
}

// Windows 1 and 2 here, window 3 on a second thread (see the header).
void run_windows_side_by_side(Run& run, const SeriesTable& flows, WalkCheckpoint& checkpoint) {
  if (!run.window_split) run.window_split = std::make_unique<WindowSplitTables>();
  WindowSplitTables& side = *run.window_split;
  side.VARRES = run.VARRES;
  side.percentiles = run.percentiles;
  side.variability = run.variability;
  side.report.open_in_memory();
  side.console.str("");
  if (run.CASO.variability_option == 1) mark_limits_undrawn(run.variability.limits);
  bool inherited_limits = false;
  const WindowSink first_two{run.run_report, run.console, side.VARRES, side.percentiles, side.variability};
  const WindowSink third{side.report, side.console, run.VARRES, run.percentiles, run.variability, &inherited_limits};
  SideTask window3([&] { run_window(run, third, flows, kWindows, checkpoint); });
  try {
    run_window(run, first_two, flows, 1, checkpoint);
    run_window(run, first_two, flows, 2, checkpoint);
  } catch (...) {
    window3.wait();
    take_back_window3(run);
    throw;
  }
  if (window3.wait() || inherited_limits) {
    run_window3_in_order(run, flows, checkpoint);
    return;
  }
  side.report.move_text_to(run.run_report);
  side.report.close();
  run.console << side.console.str();
}

}  // namespace

EvaluationInputs evaluation_inputs(const Run& run) {
  return {run.models, run.GRUPO, run.history.HISTORICO, run.CASO.NSEM};
}

int joined_offset(const Run& run) { return JoinedList(run.history.NANOS).offset(run.PASSO); }

void run_windows(Run& run, WalkCheckpoint& checkpoint) {
  // The display flows of the simulation's limits (variability option 1),
  // read by every window.
  auto flows = std::make_unique<SeriesTable>();
  if (run.CASO.variability_option == 1) display_flows(run.history.HISTORICO, run.history.FAC, *flows);
  if (run.threads > 1 && !run.total_records.holds_records()) {
    run_windows_side_by_side(run, *flows, checkpoint);
    return;
  }
  for (int c = 1; c <= kWindows; ++c) run_window(run, run_sink(run), *flows, c, checkpoint);
}

}  // namespace darcalim
