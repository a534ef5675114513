// The model catalogue: the 47 base models of one series, the series
// prefixes, the models each kind of pass holds, and the name lists.
//
// Base order: AR(1..4), ARMA(1..3;1), PAR(1..4) on G1..G4, PAR(1..4)-RO,
// PARMA(1..3;1) on G1..G4, PARMA(1..3;1)-RR, PARMA(1..3;1)-RO, SAZONAL,
// CONSTANTE. A short history (fewer than 20 complete years) keeps only base
// positions 1..7, 46 and 47.
#pragma once

#include <string>
#include <vector>

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

// The joined list of a combined run: the models of its first pass (option 2:
// the Box-Cox series without TCONSTANTE, then the untransformed series) and
// after them those of its second (option 3: the logarithmic series), in one
// numbering of 140 positions, 26 with a short history:
//
//   1..46   (1..8)    "T" models    TAR(1) .. TSAZONAL
//   47..93  (9..17)   plain models  AR(1) .. CONSTANTE
//   94..140 (18..26)  "L" models    LAR(1) .. LCONSTANTE
//
// The joined tables of forecasts, limits, errors and rankings are indexed by
// these positions; model m of a pass sits at position m + offset(PASSO). The
// benchmarks are the SAZONAL and CONSTANTE models (46, 92, 93, 139, 140; or 8,
// 16, 17, 25, 26), the month-start models the -RO ones (none in a short
// list). The questions about one position throw std::out_of_range for a
// position outside 1..total().
class JoinedList {
 public:
  // The joined list of a history of NANOS complete years.
  explicit JoinedList(int NANOS);

  bool short_history() const { return short_history_; }
  int last_boxcox() const { return first_.last_of_first_series; }  // 46 (8)
  int first_logarithmic() const { return first_.NMOD + 1; }        // 94 (18)
  int total() const { return first_.NMOD + second_.NMOD; }         // 140 (26)

  // Offset of the model numbers of pass PASSO: 0 in the first pass (and in a
  // run that is not combined), 93 (17) in the second.
  int offset(int PASSO) const { return PASSO == 2 ? first_.NMOD : 0; }

  // The series kind of a position: "T" (Box-Cox), plain or "L".
  NameKind kind(int position) const;
  // True for the models of a transformed series ("T" and "L").
  bool transformed(int position) const { return kind(position) != NameKind::kPlain; }
  // Position in the base list of the catalogue (1..47).
  int base_position(int position) const;
  bool is_benchmark(int position) const;
  bool is_month_start(int position) const;
  // The benchmarks and the month-start models, in ascending order.
  std::vector<int> benchmarks() const;
  std::vector<int> month_start_models() const;

  // The name of a position: 20 characters (NOMEMOD, or the short combined
  // list), and the same cut to 14.
  std::string long_name(int position) const;
  std::string name(int position) const;

 private:
  bool short_history_;
  PassModels first_;
  PassModels second_;
};

// The model list of a pass: for every model number its series, family,
// order, grouping, names and references (F1, F2), following pass_models.
// The 20-character names come from the pass's own list (plain names for
// option 0, "L" and plain for 1, "T" and plain for 2, "L" for 3, "T" for 4).
ModelList build_model_list(int TIPOTRANS, int NANOS);

}  // namespace darcalim
