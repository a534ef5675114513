// The parameter tables of the run report, written by ESTIMA when the
// print-parameters switch is "S": coefficients of every model of a section
// with the noise variances of its weeks.
#pragma once

#include "common/fixed_array.h"
#include "common/output_file.h"
#include "common/parameter_store.h"
#include "common/week_groupings.h"

namespace darcalim {

// Model numbers handed out by one call of ESTIMA (0: not estimated).
struct ModelNumbers {
  Array<int, 4> ar;                    // AR(p)
  Array<int, 3> arma;                  // ARMA(p,1)
  Array<int, 4, kGroupings> par;       // PAR(p)-Gg
  Array<int, 4> par_ro;                // PAR(p)-RO
  Array<int, 3, kGroupings> parma;     // PARMA(p,1)-Gg
  Array<int, 3> parma_rr;              // PARMA(p,1)-RR
  Array<int, 3> parma_ro;              // PARMA(p,1)-RO
};

// What the tables show, for one series and window.
struct ParameterTableSource {
  const SeriesParameters& params;
  const NoiseVariances& VARRES;
  const ModelNumbers& numbers;
  const WeekGroupings& groupings;
  int NSEM;
};

// AR(1..4): coefficients with a "*" for a model flagged not stationary, and
// each model's variance table.
void write_ar_table(OutputFile& report, const ParameterTableSource& source, const Array<int, 4>& flags);

// ARMA(1..3;1): theta and the coefficients, each model's variance table.
void write_arma_table(OutputFile& report, const ParameterTableSource& source, const Array<int, 3>& flags);

// PAR models, week by week: every grouping, then the -RO models.
void write_par_table(OutputFile& report, const ParameterTableSource& source);

// PARMA models, week by week, in three blocks: moments, -RR, -RO.
void write_parma_tables(OutputFile& report, const ParameterTableSource& source);

}  // namespace darcalim
