#include "common/model_catalogue.h"

#include <stdexcept>

#include "common/layout.h"
#include "common/table_sizes.h"

namespace darcalim {

namespace {

constexpr int kShortPositions[kShortBaseModels] = {1, 2, 3, 4, 5, 6, 7, kSazonalPosition, kConstantePosition};
constexpr const char* kGroupSuffix[4] = {"-G1", "-G2", "-G3", "-G4"};

std::string padded(const std::string& name, int width) {
  std::string s = name.substr(0, static_cast<std::size_t>(width));
  s.append(static_cast<std::size_t>(width) - s.size(), ' ');
  return s;
}

std::string ar_name(int p) { return "AR(" + std::to_string(p) + ")"; }
std::string arma_name(int p) { return "ARMA(" + std::to_string(p) + ";1)"; }
std::string par_name(int p, const char* suffix) { return "PAR(" + std::to_string(p) + ")" + suffix; }
std::string parma_name(int p, const char* suffix) { return "PARMA(" + std::to_string(p) + ";1)" + suffix; }

const char* prefix(NameKind kind) {
  switch (kind) {
    case NameKind::kTransformed: return "T";
    case NameKind::kLogarithmic: return "L";
    case NameKind::kPlain: return "";
  }
  return "";
}

}  // namespace

std::string base_model_name(int position) {
  if (position >= 1 && position <= 4) return ar_name(position);
  if (position <= 7) return arma_name(position - 4);
  if (position <= 23) return par_name((position - 8) % 4 + 1, kGroupSuffix[(position - 8) / 4]);
  if (position <= 27) return par_name(position - 23, "-RO");
  if (position <= 39) return parma_name((position - 28) % 3 + 1, kGroupSuffix[(position - 28) / 3]);
  if (position <= 42) return parma_name(position - 39, "-RR");
  if (position <= 45) return parma_name(position - 42, "-RO");
  if (position == kSazonalPosition) return "SAZONAL";
  if (position == kConstantePosition) return "CONSTANTE";
  throw std::out_of_range("base model position " + std::to_string(position));
}

int short_position(int k) {
  if (k < 1 || k > kShortBaseModels) throw std::out_of_range("short model position " + std::to_string(k));
  return kShortPositions[k - 1];
}

std::string model_name(NameKind kind, int position, int width) {
  std::string name = prefix(kind);
  name += base_model_name(position);
  return padded(name, width);
}

std::string NOMEABR(int position, bool transformed) {
  std::string base = base_model_name(position);
  if (position >= 40 && position <= 42) base = parma_name(position - 39, "-R");
  return padded((transformed ? "T" : "") + base, kShortNameWidth);
}

void NOMEMODELOS(ModelNameLists& lists) {
  using K = NameKind;
  const JoinedList joined(kShortHistoryYears);
  for (int p = 1; p <= joined.total(); ++p) lists.NOMEMOD(p) = joined.long_name(p);

  for (int pos = 1; pos <= kBaseModels; ++pos) {
    lists.by_series_kind(pos, 1) = model_name(K::kTransformed, pos);
    lists.by_series_kind(pos, 2) = model_name(K::kLogarithmic, pos);
    lists.by_series_kind(pos, 3) = model_name(K::kPlain, pos);
  }
  for (int k = 1; k <= kShortBaseModels; ++k) {
    lists.short_plain_and_log(k, 1) = model_name(K::kPlain, short_position(k));
    lists.short_plain_and_log(k, 2) = model_name(K::kLogarithmic, short_position(k));
  }
  for (int pos = 1; pos <= kBaseModels; ++pos) {
    lists.log_and_plain(pos, 1) = model_name(K::kLogarithmic, pos);
    lists.log_and_plain(pos, 2) = model_name(K::kPlain, pos);
  }
  const JoinedList short_joined(kShortHistoryYears - 1);
  for (int p = 1; p <= short_joined.total(); ++p) lists.short_combined(p) = short_joined.long_name(p);
  // The short joined list with the "L" and "T" series swapped.
  auto& log_first = lists.short_log_first;
  int i = 0;
  for (int k = 1; k < kShortBaseModels; ++k) log_first(++i) = model_name(K::kLogarithmic, short_position(k));
  for (int k = 1; k <= kShortBaseModels; ++k) log_first(++i) = model_name(K::kPlain, short_position(k));
  for (int k = 1; k <= kShortBaseModels; ++k) log_first(++i) = model_name(K::kTransformed, short_position(k));
  for (int k = 1; k <= kShortBaseModels; ++k) lists.short_boxcox(k) = model_name(K::kTransformed, short_position(k));
}

bool is_short_history(int NANOS) { return NANOS < kShortHistoryYears; }

PassModels pass_models(int TIPOTRANS, int NANOS) {
  const int per_series = is_short_history(NANOS) ? kShortBaseModels : kBaseModels;
  PassModels m;
  m.series_count = (TIPOTRANS == 1 || TIPOTRANS == 2) ? 2 : 1;
  m.first_series_has_constante = !(TIPOTRANS == 2 || TIPOTRANS == 4);
  m.last_of_first_series = per_series - (m.first_series_has_constante ? 0 : 1);
  m.first_of_second_series = m.last_of_first_series + 1;
  m.NMOD = m.last_of_first_series + (m.series_count == 2 ? per_series : 0);
  return m;
}

namespace {

// Highest autoregressive order of the catalogue (NP).
constexpr int kNP = 4;

ModelInfo base_model_info(int position) {
  ModelInfo info;
  info.base_position = position;
  auto set = [&](ModelFamily family, int order, int grouping) {
    info.family = family;
    info.order = order;
    info.grouping = grouping;
  };
  if (position <= 4) set(ModelFamily::kAr, position, 0);
  else if (position <= 7) set(ModelFamily::kArma, position - 4, 0);
  else if (position <= 23) set(ModelFamily::kPar, (position - 8) % 4 + 1, (position - 8) / 4 + 1);
  else if (position <= 27) set(ModelFamily::kParRo, position - 23, 0);
  else if (position <= 39) set(ModelFamily::kParma, (position - 28) % 3 + 1, (position - 28) / 3 + 1);
  else if (position <= 42) set(ModelFamily::kParmaRr, position - 39, 0);
  else if (position <= 45) set(ModelFamily::kParmaRo, position - 42, 0);
  else if (position == kSazonalPosition) set(ModelFamily::kSazonal, 0, 0);
  else set(ModelFamily::kConstante, 0, 0);
  const ModelFamily f = info.family;
  info.has_moving_average =
      f == ModelFamily::kArma || f == ModelFamily::kParma || f == ModelFamily::kParmaRr || f == ModelFamily::kParmaRo;
  info.is_benchmark = f == ModelFamily::kSazonal || f == ModelFamily::kConstante;
  info.is_month_start = f == ModelFamily::kParRo || f == ModelFamily::kParmaRo;
  info.is_periodic = position >= 8 && position <= 45;
  return info;
}

// Prefix of the 20-character names of series s under an option.
NameKind long_name_kind(int TIPOTRANS, int s) {
  if (s == 2 || TIPOTRANS == 0) return NameKind::kPlain;
  return (TIPOTRANS == 1 || TIPOTRANS == 3) ? NameKind::kLogarithmic : NameKind::kTransformed;
}

}  // namespace

ModelList build_model_list(int TIPOTRANS, int NANOS) {
  const PassModels pass = pass_models(TIPOTRANS, NANOS);
  const bool short_history = is_short_history(NANOS);
  // PAR(1)-G4 follows AR, ARMA and the PAR models of G1..G3.
  const int periodic_reference = 1 + kNP + (kNP - 1) + 3 * kNP;
  const int ntot = short_history ? 7 : 45;
  ModelList list;
  list.NMOD = pass.NMOD;
  list.series_count = pass.series_count;
  int m = 0;
  for (int s = 1; s <= pass.series_count; ++s) {
    SeriesModels& series = list.series(s);
    series.transformed = s == 1 && TIPOTRANS != 0;
    series.has_constante = s == 2 || pass.first_series_has_constante;
    series.NTOT = ntot;
    series.first = m + 1;
    series.F1 = series.first;
    const int count = (short_history ? kShortBaseModels : kBaseModels) - (series.has_constante ? 0 : 1);
    for (int k = 1; k <= count; ++k) {
      const int position = short_history ? short_position(k) : k;
      ModelInfo info = base_model_info(position);
      info.series = s;
      info.transformed = series.transformed;
      info.abbreviated = NOMEABR(position, series.transformed);
      info.long_name = model_name(long_name_kind(TIPOTRANS, s), position);
      info.heading = short_history ? info.long_name.substr(0, kShortNameWidth) : info.abbreviated;
      list.model(++m) = info;
    }
    series.last = m;
  }
  list.series(1).F2 = periodic_reference;
  if (pass.series_count == 2) {
    list.series(2).F2 = ntot + periodic_reference + (pass.first_series_has_constante ? 2 : 1);
  }
  return list;
}

namespace {

// A combined run joins a pass of option 2 and a pass of option 3.
constexpr int kFirstPassOption = 2;
constexpr int kSecondPassOption = 3;

}  // namespace

JoinedList::JoinedList(int NANOS)
    : short_history_(is_short_history(NANOS)),
      first_(pass_models(kFirstPassOption, NANOS)),
      second_(pass_models(kSecondPassOption, NANOS)) {}

NameKind JoinedList::kind(int position) const {
  if (position < 1 || position > total()) throw std::out_of_range("joined model position " + std::to_string(position));
  if (position <= last_boxcox()) return NameKind::kTransformed;
  if (position < first_logarithmic()) return NameKind::kPlain;
  return NameKind::kLogarithmic;
}

int JoinedList::base_position(int position) const {
  int k = position;  // the position within its series
  switch (kind(position)) {
    case NameKind::kTransformed:
      break;
    case NameKind::kPlain:
      k -= last_boxcox();
      break;
    case NameKind::kLogarithmic:
      k -= first_.NMOD;
      break;
  }
  return short_history_ ? short_position(k) : k;
}

bool JoinedList::is_benchmark(int position) const {
  return base_model_info(base_position(position)).is_benchmark;
}

bool JoinedList::is_month_start(int position) const {
  return base_model_info(base_position(position)).is_month_start;
}

std::vector<int> JoinedList::benchmarks() const {
  std::vector<int> out;
  for (int p = 1; p <= total(); ++p) {
    if (is_benchmark(p)) out.push_back(p);
  }
  return out;
}

std::vector<int> JoinedList::month_start_models() const {
  std::vector<int> out;
  for (int p = 1; p <= total(); ++p) {
    if (is_month_start(p)) out.push_back(p);
  }
  return out;
}

std::string JoinedList::long_name(int position) const {
  return model_name(kind(position), base_position(position));
}

std::string JoinedList::name(int position) const {
  return long_name(position).substr(0, kShortNameWidth);
}

}  // namespace darcalim
