// Coefficients of every model family for one series and one window.
//
// Coefficients are those of a model of the standardised series; the noise
// variances (VARRES) bring them back to the scale of the series.
#pragma once

#include "common/fixed_array.h"
#include "common/table_sizes.h"

namespace darcalim {

struct SeriesParameters {
  Array<double, 4, 4> FIAR;                                   // FIAR(i, p)
  Array<double, 5, 4> FIARMA;                                 // FIARMA(i, p): phi 1..p, theta at p + 1
  Array<double, 4, kMaxWeeks, 4, kGroupings> FIPAR;           // FIPAR(i, t, p, g)
  Array<double, 5, kMaxWeeks, 4> FIPARRO;                     // FIPARRO(i, t, p)
  Array<double, 5, kMaxWeeks, 4, kGroupings> FIPARMA;         // FIPARMA(i, t, p, g)
  Array<double, 5, kMaxWeeks, 4> FIPARMAR;                    // FIPARMAR(i, t, p)
  Array<double, 5, kMaxWeeks, 4> FIPARMARO;                   // FIPARMARO(i, t, p)
};

// VARRES(t, m): noise variance of model m in week t, in the scale of its series.
using NoiseVariances = Array<double, kMaxWeeks, kMaxPassModels>;

// One value per model of the pass, 1..NMOD (forecasts of a week, ...).
using ModelValues = Array<double, kMaxPassModels>;

}  // namespace darcalim
