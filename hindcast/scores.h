// The scores of a hindcast: forecast/observation pairs in, one row per
// metric, reference and lead group out. Pure: no files, no runs.
//
// Each metric is computed for every lead 1..6 and for all leads pooled, over
// the pairs that it can use: a pair without a forecast value is left out of
// every metric; one without a limit is left out of the interval metrics
// (coverage, below, above, width, interval_score); one without a reference
// flow is left out of that skill score. With f the forecast, o the
// observation, n the pairs used:
//   ME        mean(f - o)
//   PBIAS     100 * sum(f - o) / sum(o) (positive: over-forecast)
//   MAE       mean|f - o|             RMSE  sqrt(mean (f - o)^2)
//   NSE       1 - sum(f - o)^2 / sum(o - mean o)^2
//   r         Pearson correlation of f and o
//   beta      mean f / mean o
//   gamma     (sd f / mean f) / (sd o / mean o), population sd
//   KGEprime  1 - sqrt((r - 1)^2 + (gamma - 1)^2 + (beta - 1)^2)
//   SS        1 - sum(f - o)^2 / sum(ref - o)^2, against persistence (the flow
//             of the week before the forecast week) and climatology (the mean
//             flow of the target week over the years before the issue year)
//   coverage  share of pairs with lower <= o <= upper; below: o < lower;
//             above: o > upper
//   width     mean(upper - lower)
//   interval_score  mean of (U - L) + (2/a)(L - o)[o < L] + (2/a)(o - U)[o > U],
//             a = 1 - level/100
// A value that is undefined (no pairs, a zero sum or variance in a
// denominator, a level of 100 or more for the interval score) has none.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace darcalim::hindcast {

inline constexpr int kLeads = 6;

struct Pair {
  int lead = 0;                 // 1..kLeads
  std::optional<double> value;  // the forecast; none when it was written as asterisks
  std::optional<double> lower;
  std::optional<double> upper;
  double observed = 0.0;
  std::optional<double> persistence;  // the reference flows of the skill scores
  std::optional<double> climatology;
};

struct ScoreRow {
  std::string metric;
  std::string reference;  // "persistence", "climatology" or "none"
  int lead = 0;           // 1..kLeads, or 0 for all leads pooled
  std::size_t n = 0;      // pairs used
  std::optional<double> value;
};

// The rows, metric by metric (in the order of the header comment, SS against
// persistence before SS against climatology), each for leads 1..6 then all.
// `level` is the nominal confidence level of the limits, in per cent.
std::vector<ScoreRow> score_pairs(const std::vector<Pair>& pairs, int level);

// The pairs of one case folder: its station, its confidence level and its
// pairs, in the order of issue year, issue week and lead (the sums of the
// scores are taken in that order, so the same pairs give the same bits).
struct CasePairs {
  std::string folder;
  int location_id = 0;
  int level = 0;  // per cent
  std::vector<Pair> pairs;
};

// The scores of one case folder.
struct CaseScores {
  std::string folder;
  int location_id = 0;
  int level = 0;
  std::vector<ScoreRow> rows;
};

// The scores of each case folder, in the same order: a hindcast scores each
// case folder apart, as a station of its own.
std::vector<CaseScores> score_cases(const std::vector<CasePairs>& cases);

}  // namespace darcalim::hindcast
