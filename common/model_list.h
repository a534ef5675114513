// The models of one pass, by model number: what each model is.
//
// The catalogue builds the list once per pass from the transformation option
// and the number of complete years; estimation, the walks over the history,
// the final forecast and the reports all number and name models through it.
// Model numbers run 1..NMOD: the models of series 1 in base order, then those
// of series 2.
#pragma once

#include <stdexcept>
#include <string>

#include "common/fixed_array.h"
#include "common/table_sizes.h"

namespace darcalim {

enum class ModelFamily { kAr, kArma, kPar, kParRo, kParma, kParmaRr, kParmaRo, kSazonal, kConstante };

struct ModelInfo {
  int series = 1;              // 1 with transformation (or the only series), 2 without
  ModelFamily family = ModelFamily::kAr;
  int order = 0;               // autoregressive order p (0 for the benchmarks)
  int grouping = 0;            // G1..G4 of the PAR and PARMA models estimated by moments
  int base_position = 0;       // 1..47 in the base list of the catalogue
  bool transformed = false;    // belongs to a transformed series
  bool has_moving_average = false;
  bool is_benchmark = false;   // SAZONAL or CONSTANTE
  bool is_month_start = false; // a -RO model, built for the first week of a month
  bool is_periodic = false;    // PAR and PARMA families (reference: the periodic model F2)
  std::string abbreviated;     // 14 characters: "TPARMA(1;1)-R ", "SAZONAL       "
  std::string long_name;       // 20 characters, from the pass's name list
  // 14 characters: the head of the model's column in PREVISAO.DAT and its
  // name on the choice lines of the error-ranking report; `abbreviated`, or
  // with a short history `long_name` cut to 14 ("LAR(1)", not "TAR(1)").
  std::string heading;
};

// Models of one series within the pass.
struct SeriesModels {
  int first = 0;     // first model number
  int last = 0;      // last model number (SAZONAL or CONSTANTE)
  int NTOT = 0;      // models without SAZONAL and CONSTANTE
  int F1 = 0;        // first reference: the series' first model
  int F2 = 0;        // periodic reference: PAR(1)-G4 of the series (may lie beyond the list)
  bool transformed = false;
  bool has_constante = true;
};

struct ModelList {
  int NMOD = 0;
  int series_count = 1;
  Array<SeriesModels, kSeries> series;
  Array<ModelInfo, kMaxPassModels> model;

  // True when model m belongs to a transformed series.
  bool transformed(int m) const { return model(m).transformed; }

  // Number of the model of series s with this family, order and grouping
  // (0 for the families without one). Throws std::out_of_range when the pass
  // holds no such model (a short history has no periodic models).
  int number_of(int s, ModelFamily family, int order, int grouping = 0) const {
    for (int m = series(s).first; m <= series(s).last; ++m) {
      const ModelInfo& info = model(m);
      if (info.family == family && info.order == order && info.grouping == grouping) return m;
    }
    throw std::out_of_range("no model of order " + std::to_string(order) + " and grouping " +
                            std::to_string(grouping) + " in series " + std::to_string(s) + " of the pass");
  }
};

}  // namespace darcalim
