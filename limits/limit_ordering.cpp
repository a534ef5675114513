#include "limits/limit_ordering.h"

#include <cstdint>
#include <string>
#include <vector>

#include "common/layout.h"
#include "evaluation/error_reports.h"
#include "evaluation/simulation.h"
#include "evaluation/sorting.h"

namespace darcalim {

namespace {

// What the report is written from: the models, their errors and names.
struct ReportSource {
  const Run& run;
  const bool combined;
  const int NM;

  double general(int m) const {
    return combined ? run.joined_errors.ERRGER(m, 2) : run.errors.ERRGER(m, 2, kCombinedSlot);
  }
  double monthly(int m, int M) const {
    return combined ? run.joined_errors.ERRMES(m, kMonths + M) : run.errors.ERRMES(m, kMonths + M, kCombinedSlot);
  }
  double weekly(int m, int w) const {
    const int s = run.CASO.NSEM + w;
    return combined ? run.joined_errors.ERRSEM(m, s) : run.errors.ERRSEM(m, s, kCombinedSlot);
  }
  std::string name(int m) const {
    if (combined) return joined_name(run.names, run.history.NANOS, m);
    return run.models.model(m).long_name.substr(0, kShortNameWidth);
  }
  std::string first_ranked(int w) const {
    return combined ? run.joined_forecast.first_ranked(w) : run.choice.NOMEBRUTO(w);
  }
  std::string chosen(int w) const {
    return combined ? run.joined_forecast.revised_first(w) : run.choice.NOMEESCOLHIDO(w);
  }
  bool short_history() const { return run.history.NANOS < kShortHistoryYears; }

  // Repeat counts of the names lines: overall and monthly sections, weeks.
  int names_per_line(bool week_section) const {
    const int option = run.CASO.TIPOTRANS;
    if (short_history()) {
      if (!week_section) return 47;
      if (combined) return 26;
      return (option == 1 || option == 2) ? 17 : 9;
    }
    if (combined) return kMaxModels;
    switch (option) {
      case 1: return week_section ? 93 : 94;
      case 2: return 93;
      case 4: return week_section ? 47 : 46;
      default: return 47;
    }
  }
};

// Models 1..n ranked by a measure: (model, value) in ascending order.
std::vector<OrderedModel> ranked(int n, const std::function<double(int)>& measure) {
  std::vector<double> x(static_cast<std::size_t>(n));
  for (int m = 1; m <= n; ++m) x[static_cast<std::size_t>(m - 1)] = measure(m);
  std::vector<int> rank(x.size(), 1), order(x.size(), 1);
  ORDENA(n, x, rank, order);
  std::vector<OrderedModel> out;
  for (const int m : order) out.push_back({m, x[static_cast<std::size_t>(m - 1)]});
  return out;
}

void write_section(OutputFile& report, const Layout& values_layout, int number, const std::vector<OrderedModel>& list,
                   const ReportSource& src, bool week_section) {
  FieldValues values;
  if (number > 0) values.emplace_back(std::int64_t{number});
  for (const OrderedModel& o : list) values.emplace_back(o.error);
  report.write(values_layout, values);
  const Layout names_layout(std::to_string(src.names_per_line(week_section)) + "(A14 ',')");
  FieldValues names;
  for (const OrderedModel& o : list) names.emplace_back(src.name(o.model));
  report.write(names_layout, names);
}

void write_report(Run& run, const ReportSource& src) {
  static const Layout kLimits("' MELHOR MODELO APOS LIMITES, ' A14");
  OutputFile& report = run.ranking_report;
  report.write(ranking_layouts::title());
  write_section(report, ranking_layouts::general(), 0, ranked(src.NM, [&](int m) { return src.general(m); }), src,
                false);
  const WeekGrouping& months = run.GRUPO(kMonthsGrouping);
  const VariabilityState& v = run.variability;
  int j = 1;
  for (int M = 1; M <= kMonths; ++M) {
    const std::vector<OrderedModel> month = ranked(src.NM, [&](int m) { return src.monthly(m, M); });
    write_section(report, ranking_layouts::month(), M, month, src, false);
    for (int w = months.INIPER(M); w <= months.INIPER(M + 1) - 1; ++w) {
      const bool target = j <= kLeads && w == v.TARGET(j);
      const std::vector<OrderedModel> list =
          target ? v.reordered(j) : ranked(src.NM, [&](int m) { return src.weekly(m, w); });
      write_section(report, ranking_layouts::week(), w, list, src, true);
      report.write(ranking_layouts::best(), {src.first_ranked(w)});
      report.write(ranking_layouts::chosen(), {src.chosen(w)});
      if (target) {
        report.write(kLimits, {src.name(list.front().model)});
        ++j;
      }
    }
  }
}

}  // namespace

void ORDENLIMOD(Run& run, bool combined_step, int LEAD, int WEEK, float QANT, int NM,
                const std::function<double(int)>& forecast) {
  VariabilityState& v = run.variability;
  const ReportSource src{run, combined_step, NM};
  if (LEAD == 1) {
    for (int k = 1; k <= kLeads; ++k) v.TARGET(k) = WEEK + k - 1;
  }
  const double D = stored_value(static_cast<double>(QANT), run.history.FAC);
  std::vector<OrderedModel> inside, outside;
  for (int i = 1; i <= NM; ++i) {
    const int m = run.choice.RANKMOD(i, WEEK);
    const double ratio = static_cast<float>(forecast(m) / D);
    const OrderedModel entry{m, src.weekly(m, WEEK)};
    if (ratio > v.limits.RAZSUP || ratio < v.limits.RAZINF) {
      outside.push_back(entry);
    } else {
      inside.push_back(entry);
    }
  }
  inside.insert(inside.end(), outside.begin(), outside.end());
  v.reordered(LEAD) = std::move(inside);
  run.ranking_report.close();
  run.ranking_report.open(run.file(run.CASO.ranking_report_name), OutputFile::Mode::kRewrite);
  if (LEAD == kLeads) write_report(run, src);
  run.ranking_report.close();
}

}  // namespace darcalim
