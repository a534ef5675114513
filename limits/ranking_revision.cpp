#include "limits/ranking_revision.h"

#include <vector>

#include "common/model_catalogue.h"

namespace darcalim {

namespace {

// The relative excess up to which an ordinary model moves ahead (4-byte 0.05).
constexpr double kMargin = static_cast<double>(0.05f);

struct Revision {
  JoinedRanking& R2;
  const std::function<double(int, int)>& E;
  const bool long_history;
  const int NP;
  std::vector<bool> benchmark;  // by joined position
  std::vector<bool> special;    // benchmarks and, with a long history, -RO models

  Revision(JoinedRanking& ranking, const std::function<double(int, int)>& errors, const JoinedList& joined)
      : R2(ranking),
        E(errors),
        long_history(!joined.short_history()),
        NP(joined.total()),
        benchmark(static_cast<std::size_t>(NP + 1), false),
        special(static_cast<std::size_t>(NP + 1), false) {
    for (int m = 1; m <= NP; ++m) {
      benchmark[static_cast<std::size_t>(m)] = joined.is_benchmark(m);
      special[static_cast<std::size_t>(m)] = joined.is_benchmark(m) || (long_history && joined.is_month_start(m));
    }
  }

  bool is_benchmark(int m) const { return benchmark[static_cast<std::size_t>(m)]; }
  bool is_special(int m) const { return special[static_cast<std::size_t>(m)]; }

  void demote(int g, int w) {
    int p = 1;
    while (p <= NP && R2(p, w) != g) ++p;
    if (p > NP) return;
    const double eg = E(g, w);
    if (eg == 0.0) return;
    int p0 = p;
    while (p + 1 < NP) {
      const int n = R2(p + 1, w);
      const double d = (E(n, w) - eg) / eg;
      if (long_history) {
        if (is_special(n)) {
          ++p;
          continue;
        }
        if (d > kMargin) return;
      } else {
        if (d > kMargin) return;
        if (is_benchmark(n)) {
          ++p;
          continue;
        }
      }
      // n moves up to p0; the entries p0..p shift one place down.
      for (int i = p + 1; i > p0; --i) R2(i, w) = R2(i - 1, w);
      R2(p0, w) = n;
      ++p0;
      p = p0;
    }
  }
};

}  // namespace

void VERCONSZONAL(const JoinedRanking& RANKMOD, const std::function<double(int m, int w)>& E, int NANOS, int NSEM,
                  JoinedRanking& R2) {
  const JoinedList joined(NANOS);
  const int NP = joined.total();
  for (int w = 1; w <= NSEM; ++w) {
    for (int p = 1; p <= NP; ++p) R2(p, w) = RANKMOD(p, w);
  }
  Revision revision(R2, E, joined);
  // Benchmarks first, then (a long history's) -RO models, each in list order.
  std::vector<int> demoted = joined.benchmarks();
  if (!joined.short_history()) {
    const std::vector<int> month_start = joined.month_start_models();
    demoted.insert(demoted.end(), month_start.begin(), month_start.end());
  }
  for (int w = 1; w <= NSEM; ++w) {
    for (const int g : demoted) revision.demote(g, w);
  }
}

}  // namespace darcalim
