// ESTIMA: every model family fitted to one series over one window.
//
// The models are estimated in the order AR(1..4), ARMA(1..3;1), then, with
// 20 complete years or more, PAR(1..4) on every grouping, PAR(1..4)-RO,
// PARMA(1..3;1) on every grouping, PARMA(1..3;1)-RR and -RO. SAZONAL and
// CONSTANTE have no parameters. Each model's number is the one the pass's
// model list gives for its series, family, order and grouping; a model the
// list lacks is an internal fault (std::out_of_range).
//
// Coefficients go to `params` and noise variances to the VARRES columns of
// the models. A failed estimation never stops the run: its
// failure line goes to the run report and the model keeps fallback
// coefficients (AR(p) those of AR(p - 1) with phi(p) = 0, AR(1) white noise;
// ARMA(p,1) those of ARMA(p - 1,1), ARMA(1,1) those of AR(1) with theta = 0;
// a failed week of PAR(p) those of PAR(p - 1) with phi(p) = 0). With the
// print-parameters switch "S" each section also writes its parameter tables
// after its last model.
#pragma once

#include <string>

#include "common/case_settings.h"
#include "common/model_list.h"
#include "common/output_file.h"
#include "common/parameter_store.h"
#include "stats/series_statistics_report.h"

namespace darcalim {

// What the estimation of one series reads: the series over its window, its
// statistics there, its place in the pass (series_index, 1 or 2), the pass's
// model list, the case's family and print switches and the number of
// complete years.
struct EstimationInputs {
  SeriesWindow data;
  const SeriesStatistics& stats;
  int series_index;
  const ModelList& models;
  const CaseSettings& settings;
  int NANOS;
};

void ESTIMA(const EstimationInputs& in, const std::string& title, SeriesParameters& params, NoiseVariances& VARRES,
            OutputFile& report);

}  // namespace darcalim
