#include "limits/ranking_revision.h"

#include <algorithm>
#include <array>
#include <span>

namespace darcalim {

namespace {

// The relative excess up to which an ordinary model moves ahead (4-byte 0.05).
constexpr double kMargin = static_cast<double>(0.05f);

constexpr std::array<int, 5> kBenchmarks = {46, 92, 93, 139, 140};
constexpr std::array<int, 5> kShortBenchmarks = {8, 16, 17, 25, 26};
constexpr std::array<int, 21> kMonthStart = {24, 25, 26, 27, 43, 44, 45, 70, 71, 72, 73,
                                             89, 90, 91, 117, 118, 119, 120, 136, 137, 138};

bool contains(std::span<const int> list, int m) { return std::find(list.begin(), list.end(), m) != list.end(); }

struct Revision {
  JoinedRanking& R2;
  const std::function<double(int, int)>& E;
  const bool long_history;
  const int NP;

  bool is_benchmark(int m) const { return contains(long_history ? kBenchmarks : kShortBenchmarks, m); }
  bool is_special(int m) const { return is_benchmark(m) || (long_history && contains(kMonthStart, m)); }

  void demote(int g, int w) const {
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
  const bool long_history = NANOS >= 20;
  const int NP = long_history ? kMaxModels : 26;
  for (int w = 1; w <= NSEM; ++w) {
    for (int p = 1; p <= NP; ++p) R2(p, w) = RANKMOD(p, w);
  }
  const Revision revision{R2, E, long_history, NP};
  for (int w = 1; w <= NSEM; ++w) {
    for (const int g : long_history ? std::span<const int>(kBenchmarks) : std::span<const int>(kShortBenchmarks)) {
      revision.demote(g, w);
    }
    if (!long_history) continue;
    for (const int g : kMonthStart) revision.demote(g, w);
  }
}

}  // namespace darcalim
