#include "limits/variability_check.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/model_catalogue.h"
#include "common/flow_history.h"
#include "evaluation/sorting.h"
#include "limits/limit_ordering.h"
#include "limits/ratio_limits.h"

namespace darcalim {

namespace {

constexpr int kMaxRows = kMaxYears + 1;  // YF may point one row past the table

// The candidates of a check and how their limits are found.
struct Candidates {
  const VariabilityCheckInputs& in;
  const VariabilityCheckOutputs& out;
  const bool combined;
  const int WEEK;
  const JoinedList joined;
  int N = 0;
  int M = 0;  // models 1..M take their limits from the limit lists (options 1 and 2)

  double forecast(int m) const { return combined ? in.joined_forecast.F140(WEEK, m) : in.pass_forecast.FC(WEEK, m); }
  LeadResults& lead() const { return out.lead; }
  std::string name(int m) const { return combined ? joined.long_name(m) : in.models.model(m).long_name; }

  // The limit rule: LINF and LSUP of model m in display units, term by term.
  std::pair<double, double> limits(int m) const {
    const double FAC = in.history.FAC;
    const double ZCONF = in.CASO.ZCONF;
    const double F = forecast(m);
    if (combined) {
      const JoinedForecast& j = in.joined_forecast;
      if (!joined.transformed(m)) {
        const double sd = ZCONF * j.SD140(m, WEEK);
        return {display_value(F, FAC) - display_value(sd, FAC), display_value(F, FAC) + display_value(sd, FAC)};
      }
      return {display_value(j.LOW140(WEEK, m), FAC), display_value(j.UP140(WEEK, m), FAC)};
    }
    const PassForecast& f = in.pass_forecast;
    const int option = in.CASO.TIPOTRANS;
    if ((option == 1 || option == 2) && m > M) {
      const double sd = ZCONF * f.S(WEEK, m);
      return {display_value(F, FAC) - display_value(sd, FAC), display_value(F, FAC) + display_value(sd, FAC)};
    }
    return {display_value(f.LOWT(WEEK, m), FAC), display_value(f.UPPT(WEEK, m), FAC)};
  }

  void keep(int LEAD, int m) const {
    LeadResults& l = lead();
    l.PREV(LEAD) = display_value(forecast(m), in.history.FAC);
    const auto [low, up] = limits(m);
    l.LINF(LEAD) = low;
    l.LSUP(LEAD) = up;
    l.LINF0(LEAD) = low < 0.0 ? 0.0 : low;
  }
};

// The ratio limits from the target week's own history (used when the codes
// of the percentile file name no sample).
void fallback_limits(const SeriesTable& V, int YF, int WEEK, int NSEM, const PercentileTable& perc,
                     RatioLimits& limits) {
  std::vector<float> ratios;
  for (int y = 1; y <= YF - 1; ++y) {
    if (WEEK == 1 && y == 1) continue;
    const double denominator = WEEK == 1 ? V(y - 1, NSEM) : V(y, WEEK - 1);
    if (denominator == 0.0) continue;
    ratios.push_back(static_cast<float>(V(y, WEEK) / denominator));
  }
  const int n = static_cast<int>(ratios.size());
  if (n == 0) return;
  const std::vector<float> sorted = ascending_values(ratios);
  auto position = [&](double percentile) {
    int i = 1;
    while (i < n && !(static_cast<double>(i) / n * 100.0 > percentile)) ++i;
    return i;
  };
  limits.RAZINF = sorted[static_cast<std::size_t>(position(perc.PERCINF(WEEK)) - 1)];
  limits.RAZSUP = sorted[static_cast<std::size_t>(position(perc.PERCSUP(WEEK)) - 1)];
}

// No model passed: the candidate nearest the band.
void keep_nearest(const Candidates& c, int LEAD, float QANT, bool from_below, const RatioLimits& limits) {
  std::vector<float> keys(static_cast<std::size_t>(c.N));
  for (int m = 1; m <= c.N; ++m) keys[static_cast<std::size_t>(m - 1)] = static_cast<float>(c.forecast(m));
  std::vector<std::int16_t> s(keys.size());
  ESCO7(c.N, keys, s, 1.0f, c.N);
  const double FAC = c.in.history.FAC;
  auto prev_of = [&](int i) { return display_value(c.forecast(s[static_cast<std::size_t>(i - 1)]), FAC); };
  const double q = QANT;
  int i = 0;
  if (from_below) {
    i = 1;
    while (i < c.N && prev_of(i) / q < limits.RAZINF) ++i;
    c.lead().CODESC(LEAD) = 0;
  } else {
    i = c.N;
    while (i > 1 && prev_of(i) / q > limits.RAZSUP) --i;
    c.lead().CODESC(LEAD) = 200;
  }
  const int m = s[static_cast<std::size_t>(i - 1)];
  c.keep(LEAD, m);
  c.lead().ESCOLHA(LEAD) = c.name(m);
}

// ORDENLIMOD over the candidates' list: the joined list in the combined step,
// otherwise the pass's models.
void order_by_limits(int LEAD, int WEEK, float QANT, const Candidates& c) {
  const VariabilityCheckInputs& in = c.in;
  const VariabilityCheckOutputs& out = c.out;
  const LimitOrderingInputs ordering{
      in.combined,        in.errors,    in.joined_errors,      in.models,         in.choice,
      in.joined_forecast, in.groupings, in.CASO.NSEM,          in.CASO.TIPOTRANS, in.history.NANOS,
      in.history.FAC,     out.limits,   in.ranking_report_path};
  ORDENLIMOD(ordering, LEAD, WEEK, QANT, c.N, [&c](int m) { return c.forecast(m); },
             {out.TARGET, out.reordered, out.ranking_report});
}

}  // namespace

int forecast_row(int ANOPREV, int first_year) {
  const int YF = ANOPREV - first_year + 1;
  return YF > kMaxRows ? kMaxRows : YF;
}

void display_history(const FlowHistory& history, int NSEM, int YF, SeriesTable& V) {
  V.fill(0.0);
  for (int y = 1; y <= YF - 1 && y <= kMaxYears; ++y) {
    for (int w = 1; w <= NSEM; ++w) V(y, w) = display_value(history.HISTORICO(y, w), history.FAC);
  }
}

std::unique_ptr<SeriesTable> check_history(const FlowHistory& history, int ANOPREV, int NSEM) {
  auto V = std::make_unique<SeriesTable>();
  display_history(history, NSEM, forecast_row(ANOPREV, history.first_year), *V);
  return V;
}

void VARIAPREV(const VariabilityCheckInputs& in, int LEAD, int WEEK, const SeriesTable& V, int& once_flag,
               const VariabilityCheckOutputs& out) {
  Candidates c{in, out, in.combined, WEEK, JoinedList(in.history.NANOS)};
  if (in.combined) {
    c.N = c.joined.total();
  } else {
    c.N = in.models.NMOD;
    if (in.CASO.TIPOTRANS == 1 || in.CASO.TIPOTRANS == 2) c.M = in.models.NMOD / 2;
  }
  const int NSEM = in.CASO.NSEM;
  const int YF = forecast_row(in.CASO.ANOPREV, in.history.first_year);
  RatioLimits& limits = out.limits;
  const PercentileTable& perc = in.percentiles;
  fallback_limits(V, YF, WEEK, NSEM, perc, limits);
  if (once_flag == 0) VAZSEMPER(V, 1, YF - 1, in.groupings, NSEM, out.samples, once_flag);

  LeadResults& lead = c.lead();
  int below = 0;
  int above = 0;
  bool ordered = false;
  float QANT = 0.0f;
  for (int r = 1;; ++r) {
    QANT = static_cast<float>(LEAD == 1 ? display_value(in.last_flow, in.history.FAC) : lead.PREV(LEAD - 1));
    const float ratio = static_cast<float>(lead.PREV(LEAD) / static_cast<double>(QANT));
    DETLIMITE(out.samples, in.groupings, perc.PERCINF(WEEK), perc.PERCSUP(WEEK), WEEK, perc.CODPER, perc.CODCLA, QANT,
              NSEM, limits);
    if (!ordered) {
      order_by_limits(LEAD, WEEK, QANT, c);
      ordered = true;
    }
    const double q = ratio;
    if (QANT == 0.0f || (limits.RAZINF <= q && q <= limits.RAZSUP)) {
      lead.ESCOLHA(LEAD) = c.name(in.choice.RANKMOD(r, WEEK));
      lead.CODESC(LEAD) = r;
      return;
    }
    if (q <= limits.RAZSUP) {
      ++below;
    } else {
      ++above;
    }
    if (r >= c.N) break;
    c.keep(LEAD, in.choice.RANKMOD(r + 1, WEEK));
  }
  keep_nearest(c, LEAD, QANT, below < above, limits);
}

}  // namespace darcalim
