#include "evaluation/best_model.h"

#include <algorithm>
#include <array>

namespace darcalim {

namespace {

// The benchmark margin: a real model may be up to 5 % worse than a benchmark
// and still be preferred to it (the 4-byte 0.05, compared in 8 bytes).
constexpr double kBenchmarkMargin = static_cast<double>(0.05f);

std::string padded14(const std::string& name) {
  std::string s = name.substr(0, 14);
  s.resize(14, ' ');
  return s;
}

int model_at(const WeekRanking& r, int rank) { return r.ORDER[static_cast<std::size_t>(rank - 1)]; }
double error_at(const WeekRanking& r, int rank) { return r.E[static_cast<std::size_t>(rank - 1)]; }
bool benchmark_at(const WeekRanking& r, int rank) {
  return rank <= r.NMOD && r.models.model(model_at(r, rank)).is_benchmark;
}
bool month_start_at(const WeekRanking& r, int rank) {
  return rank <= r.NMOD && r.models.model(model_at(r, rank)).is_month_start;
}

}  // namespace

bool E_UMA_DAS_QUATRO(const std::string& name) {
  static const std::array<std::string, 4> kNames = {"CONSTANTE", "SAZONAL", "TCONSTANTE", "TSAZONAL"};
  const std::string n = padded14(name);
  return std::any_of(kNames.begin(), kNames.end(), [&](const std::string& k) { return padded14(k) == n; });
}

bool E_RO(const std::string& name) {
  static const std::array<std::string, 14> kNames = {
      "PAR(1)-RO",     "PAR(2)-RO",     "PAR(3)-RO",     "PAR(4)-RO",      "PARMA(1;1)-RO",
      "PARMA(2;1)-RO", "PARMA(3;1)-RO", "TPAR(1)-RO",    "TPAR(2)-RO",     "TPAR(3)-RO",
      "TPAR(4)-RO",    "TPARMA(1;1)-RO", "TPARMA(2;1)-RO", "TPARMA(3;1)-RO"};
  const std::string n = padded14(name);
  return std::any_of(kNames.begin(), kNames.end(), [&](const std::string& k) { return padded14(k) == n; });
}

int BESTMOD(int& IPOS, const WeekRanking& r, bool FIRST) {
  for (;;) {
    if (!benchmark_at(r, IPOS)) return model_at(r, IPOS);
    int n = 1;
    while (n < 4 && benchmark_at(r, IPOS + n)) ++n;
    const int j = IPOS + n;
    if (j > r.NMOD) return model_at(r, IPOS);  // nothing but benchmarks to the end
    const double rel = (error_at(r, j) - error_at(r, j - 1)) / error_at(r, j - 1);
    if (rel > kBenchmarkMargin) return model_at(r, IPOS);
    if (FIRST) return model_at(r, j);
    while (month_start_at(r, IPOS + n)) ++IPOS;
    if (IPOS + n > r.NMOD) return model_at(r, r.NMOD);
    if (n < 4 && benchmark_at(r, IPOS + n)) {
      ++IPOS;
      continue;
    }
    return model_at(r, IPOS + n);
  }
}

void choose_week_model(const WeekRanking& r, int t, bool FIRST, WeeklyChoice& choice) {
  int IPOS = 1;
  const int first_ranked = model_at(r, 1);
  int chosen = first_ranked;
  if (FIRST) {
    if (benchmark_at(r, IPOS)) chosen = BESTMOD(IPOS, r, FIRST);
  } else if (month_start_at(r, IPOS)) {
    for (;;) {
      if (IPOS + 1 > r.NMOD) break;
      chosen = model_at(r, IPOS + 1);
      ++IPOS;
      if (benchmark_at(r, IPOS)) {
        chosen = BESTMOD(IPOS, r, FIRST);
        break;
      }
      if (!month_start_at(r, IPOS)) break;
    }
  } else if (benchmark_at(r, IPOS)) {
    chosen = BESTMOD(IPOS, r, FIRST);
  }
  choice.MODBRUTO(t) = first_ranked;
  choice.MODESCOLHIDO(t) = chosen;
  choice.NOMEBRUTO(t) = r.models.model(first_ranked).long_name.substr(0, 14);
  choice.NOMEESCOLHIDO(t) = r.models.model(chosen).long_name.substr(0, 14);
  int p = 1;
  while (model_at(r, p) != chosen) ++p;
  choice.RANKMOD(1, t) = chosen;
  for (int i = 1; i < p; ++i) choice.RANKMOD(i + 1, t) = model_at(r, i);
  for (int i = p + 1; i <= r.NMOD; ++i) choice.RANKMOD(i, t) = model_at(r, i);
}

}  // namespace darcalim
