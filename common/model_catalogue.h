// The model catalogue: the 47 base models of one series, the series
// prefixes, the models each kind of pass holds, and the name lists.
//
// Base order: AR(1..4), ARMA(1..3;1), PAR(1..4) on G1..G4, PAR(1..4)-RO,
// PARMA(1..3;1) on G1..G4, PARMA(1..3;1)-RR, PARMA(1..3;1)-RO, SAZONAL,
// CONSTANTE. A short history (fewer than 20 complete years) keeps only base
// positions 1..7, 46 and 47.
#pragma once

#include <string>

#include "common/model_list.h"
#include "common/model_names.h"

namespace darcalim {

inline constexpr int kSazonalPosition = 46;
inline constexpr int kConstantePosition = 47;

// Base name of a base position 1..47 ("AR(1)", "PARMA(2;1)-G3", ...).
std::string base_model_name(int position);

// Base position of short-history position k = 1..9.
int short_position(int k);

// Full name: the prefix of the kind ("T", "L" or none) and the base name,
// blank-padded to `width`.
std::string model_name(NameKind kind, int position, int width = kLongNameWidth);

// NOMEABR: the 14-character names of the reports' column heads; the -RR
// models are shortened to "-R" and every transformed series takes the "T"
// names.
std::string NOMEABR(int position, bool transformed);

// Fills every 20-character name list; the same result on every call.
void NOMEMODELOS(ModelNameLists& lists);

// True for fewer than 20 complete years.
bool is_short_history(int NANOS);

// Models of a pass: their count NMOD and where the second series begins.
// Short histories under option 1 hold 18 models (the nine logarithmic ones,
// LCONSTANTE included, then the nine untransformed ones) and under option 4
// eight (no TCONSTANTE).
struct PassModels {
  int NMOD = 0;
  int last_of_first_series = 0;
  int first_of_second_series = 0;  // NMOD + 1 when the pass has one series
  bool first_series_has_constante = true;
  int series_count = 1;
};
PassModels pass_models(int TIPOTRANS, int NANOS);

// Bounds of the joined list of a combined run: last Box-Cox model, first
// logarithmic model, total (46, 94, 140; or 8, 18, 26 for a short history).
struct CombinedBounds {
  int last_boxcox = 0;
  int first_logarithmic = 0;
  int total = 0;
};
CombinedBounds combined_bounds(int NANOS);

// The model list of a pass: for every model number its series, family,
// order, grouping, names and references (F1, F2), following pass_models.
// The 20-character names come from the pass's own list (plain names for
// option 0, "L" and plain for 1, "T" and plain for 2, "L" for 3, "T" for 4).
ModelList build_model_list(int TIPOTRANS, int NANOS);

}  // namespace darcalim
