#include "limits/ratio_samples.h"

#include <cstddef>
#include <stdexcept>
#include <string>

#include "evaluation/sorting.h"

namespace darcalim {

namespace {

// The quantiles of the thresholds, held as 4-byte reals: the 4-byte 0.33 and
// 0.66 lie slightly above the decimals, so n * 0.33 that should be whole
// stays whole when truncated.
constexpr float kQuantiles[kThresholds] = {0.25f, 0.33f, 0.5f, 0.66f, 0.75f};
constexpr float kThresholdFactor = 1.00001f;

int first_week(const WeekGrouping& g, int k) { return g.INIPER(k); }

int last_week(const WeekGrouping& g, int k) { return g.INIPER(k + 1) - 1; }

void fill_thresholds(const SeriesTable& V, int FIRST, int LAST, const WeekGrouping& g, int CODPER, int k,
                     std::vector<float>& pooled, RatioSamples& out) {
  pooled.clear();
  for (int y = FIRST; y <= LAST; ++y) {
    for (int w = first_week(g, k); w <= last_week(g, k); ++w) pooled.push_back(static_cast<float>(V(y, w)));
  }
  const int n = static_cast<int>(pooled.size());
  if (n == 0) {
    for (int q = 1; q <= kThresholds; ++q) out.LIMCLASSE(CODPER, k, q) = 0.0;
    return;
  }
  const std::vector<float> sorted = ascending_values(pooled);
  for (int q = 1; q <= kThresholds; ++q) {
    int position = static_cast<int>(static_cast<float>(n) * kQuantiles[q - 1]);
    if (position < 1) position = 1;
    const float value = sorted[static_cast<std::size_t>(position - 1)];
    out.LIMCLASSE(CODPER, k, q) = static_cast<double>(value * kThresholdFactor);
  }
}

// The flows of period k in year y, preceded by the flow before the period.
void flow_sequence(const SeriesTable& V, const WeekGrouping& g, int k, int y, int NSEM, std::vector<double>& flows) {
  flows.clear();
  if (k > 1) {
    flows.push_back(V(y, first_week(g, k) - 1));
  } else if (y > 1) {
    flows.push_back(V(y - 1, NSEM));
  } else {
    flows.push_back(V(1, 1));
  }
  for (int w = first_week(g, k); w <= last_week(g, k); ++w) flows.push_back(V(y, w));
}

void fill_ratios(const SeriesTable& V, int FIRST, int LAST, const WeekGrouping& g, int CODPER, int k, int NSEM,
                 std::vector<double>& flows, RatioSamples& out) {
  for (int y = FIRST; y <= LAST; ++y) {
    flow_sequence(V, g, k, y, NSEM, flows);
    for (std::size_t j = 1; j < flows.size(); ++j) {
      const double start = flows[j - 1];
      if (start == 0.0) continue;
      const double ratio = flows[j] / start;
      const int P = j > 1 ? k : (k == 1 ? g.NPER : k - 1);
      const FlowClasses c = classes_of_flow(out, CODPER, P, start);
      out.RAZOES(CODPER, k, c.quartile).push_back(ratio);
      out.RAZOES(CODPER, k, c.tercile).push_back(ratio);
      out.RAZOES(CODPER, k, c.median).push_back(ratio);
      out.RAZOES(CODPER, k, kTotal).push_back(ratio);
    }
  }
}

// Factor of the second key of a sample of one ratio, 1 % above the first.
constexpr float kSingleRatioFactor = 1.01f;

std::vector<float> sorted_keys_of(const std::vector<double>& sample, int CODPER) {
  std::vector<float> keys;
  keys.reserve(sample.size() + 1);
  for (double r : sample) keys.push_back(static_cast<float>(r));
  if ((CODPER == 1 || CODPER == 2) && keys.size() == 1) keys.push_back(keys[0] * kSingleRatioFactor);
  return ascending_values(keys);
}

}  // namespace

int grouping_of_period_code(int CODPER) {
  switch (CODPER) {
    case 1:
      return kWeeksGrouping;
    case 2:
      return kMonthsGrouping;
    case 3:
      return kQuarters;
    case 4:
      return kHalfYears;
    default:
      throw std::invalid_argument("period code " + std::to_string(CODPER) + " outside 1..4");
  }
}

FlowClasses classes_of_flow(const RatioSamples& samples, int CODPER, int P, double flow) {
  auto at_most = [&](int q) { return flow <= samples.LIMCLASSE(CODPER, P, q); };
  FlowClasses c;
  c.median = at_most(kLim50) ? kMedianLower : kMedianUpper;
  c.tercile = at_most(kLim33) ? kTercile1 : at_most(kLim66) ? kTercile2 : kTercile3;
  c.quartile = at_most(kLim25)   ? kQuartile1
               : at_most(kLim50) ? kQuartile2
               : at_most(kLim75) ? kQuartile3
                                 : kQuartile4;
  return c;
}

void VAZSEMPER(const SeriesTable& V, int FIRST, int LAST, const WeekGroupings& GRUPO, int NSEM,
               RatioSamples& out, int& once_flag) {
  out.LIMCLASSE.fill(0.0);
  for (std::size_t i = 0; i < out.RAZOES.kSize; ++i) out.RAZOES.data()[i].clear();
  for (std::size_t i = 0; i < out.sorted_keys.kSize; ++i) out.sorted_keys.data()[i].clear();
  std::vector<float> pooled;  // a period's flows, their storage kept from period to period
  std::vector<double> flows;  // a period's flows of one year
  for (int CODPER = 1; CODPER <= kPeriodCodes; ++CODPER) {
    const WeekGrouping& g = GRUPO(grouping_of_period_code(CODPER));
    // Every threshold of the grouping first: the first ratio of a period is
    // classed by the thresholds of the period before it.
    for (int k = 1; k <= g.NPER; ++k) fill_thresholds(V, FIRST, LAST, g, CODPER, k, pooled, out);
    for (int k = 1; k <= g.NPER; ++k) fill_ratios(V, FIRST, LAST, g, CODPER, k, NSEM, flows, out);
  }
  once_flag = 1;
}

const std::vector<float>& sorted_ratio_keys(const RatioSamples& samples, int CODPER, int k, RatioClass c) {
  const std::vector<double>& sample = samples.RAZOES(CODPER, k, c);
  std::vector<float>& keys = samples.sorted_keys(CODPER, k, c);
  if (keys.empty() && !sample.empty() && sample.size() <= kMaxRatioKeys) keys = sorted_keys_of(sample, CODPER);
  return keys;
}

}  // namespace darcalim
