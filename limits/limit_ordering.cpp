#include "limits/limit_ordering.h"

#include <cstdint>
#include <string>
#include <vector>

#include "common/layout.h"
#include "common/model_catalogue.h"
#include "common/output_layouts.h"
#include "evaluation/error_reports.h"
#include "common/flow_history.h"
#include "evaluation/sorting.h"

namespace darcalim {

namespace {

// What the report is written from: the models, their errors and names.
struct ReportSource {
  const LimitOrderingInputs& in;
  const int NM;
  const JoinedList joined;

  double general(int m) const {
    return in.combined ? in.joined_errors.ERRGER(m, 2) : in.errors.ERRGER(m, 2, kCombinedSlot);
  }
  double monthly(int m, int M) const {
    return in.combined ? in.joined_errors.ERRMES(m, kMonths + M) : in.errors.ERRMES(m, kMonths + M, kCombinedSlot);
  }
  double weekly(int m, int w) const {
    const int s = in.NSEM + w;
    return in.combined ? in.joined_errors.ERRSEM(m, s) : in.errors.ERRSEM(m, s, kCombinedSlot);
  }
  std::string name(int m) const {
    if (in.combined) return joined.name(m);
    return in.models.model(m).long_name.substr(0, kShortNameWidth);
  }
  std::string first_ranked(int w) const {
    return in.combined ? in.joined_forecast.first_ranked(w) : in.choice.NOMEBRUTO(w);
  }
  std::string chosen(int w) const {
    return in.combined ? in.joined_forecast.revised_first(w) : in.choice.NOMEESCOLHIDO(w);
  }

  // Repeat counts of the names lines: overall and monthly sections, weeks.
  int names_per_line(bool week_section) const {
    const int option = in.TIPOTRANS;
    if (joined.short_history()) {
      if (!week_section) return 47;
      if (in.combined) return joined.total();
      return (option == 1 || option == 2) ? 17 : 9;
    }
    if (in.combined) return joined.total();
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

// The names of the models and the layouts of the names lines (overall and
// monthly sections, weeks), made once per report.
struct ReportNames {
  explicit ReportNames(const ReportSource& src)
      : other_lines(ranking_layouts::names(src.names_per_line(false))),
        week_lines(ranking_layouts::names(src.names_per_line(true))) {
    of.push_back("");
    for (int m = 1; m <= src.NM; ++m) of.push_back(src.name(m));
  }
  const std::string& name(int m) const { return of.at(static_cast<std::size_t>(m)); }

  std::vector<std::string> of;  // by model number
  Layout other_lines;
  Layout week_lines;
};

void write_section(OutputFile& report, const Layout& values_layout, int number, const std::vector<OrderedModel>& list,
                   const ReportNames& names, bool week_section) {
  FieldValues values;
  if (number > 0) values.emplace_back(std::int64_t{number});
  for (const OrderedModel& o : list) values.emplace_back(o.error);
  report.write(values_layout, values);
  values.clear();
  for (const OrderedModel& o : list) values.emplace_back(names.name(o.model));
  report.write(week_section ? names.week_lines : names.other_lines, values);
}

void write_report(const ReportSource& src, const LimitOrderingOutputs& out) {
  const ReportNames names(src);
  OutputFile& report = out.report;
  report.write(ranking_layouts::title());
  write_section(report, ranking_layouts::general(), 0, ranked(src.NM, [&](int m) { return src.general(m); }), names,
                false);
  const WeekGrouping& months = src.in.groupings(kMonthsGrouping);
  int j = 1;
  for (int M = 1; M <= kMonths; ++M) {
    const std::vector<OrderedModel> month = ranked(src.NM, [&](int m) { return src.monthly(m, M); });
    write_section(report, ranking_layouts::month(), M, month, names, false);
    for (int w = months.INIPER(M); w <= months.INIPER(M + 1) - 1; ++w) {
      const bool target = j <= kLeads && w == out.TARGET(j);
      const std::vector<OrderedModel> list =
          target ? out.reordered(j) : ranked(src.NM, [&](int m) { return src.weekly(m, w); });
      write_section(report, ranking_layouts::week(), w, list, names, true);
      report.write(ranking_layouts::best(), {src.first_ranked(w)});
      report.write(ranking_layouts::chosen(), {src.chosen(w)});
      if (target) {
        report.write(ranking_layouts::after_limits(), {names.name(list.front().model)});
        ++j;
      }
    }
  }
}

}  // namespace

void ORDENLIMOD(const LimitOrderingInputs& in, int LEAD, int WEEK, float QANT, int NM,
                const std::function<double(int)>& forecast, const LimitOrderingOutputs& out) {
  const ReportSource src{in, NM, JoinedList(in.NANOS)};
  if (LEAD == 1) {
    for (int k = 1; k <= kLeads; ++k) out.TARGET(k) = WEEK + k - 1;
  }
  const double D = stored_value(static_cast<double>(QANT), in.FAC);
  std::vector<OrderedModel> inside, outside;
  for (int i = 1; i <= NM; ++i) {
    const int m = in.choice.RANKMOD(i, WEEK);
    const double ratio = static_cast<float>(forecast(m) / D);
    const OrderedModel entry{m, src.weekly(m, WEEK)};
    if (ratio > in.limits.RAZSUP || ratio < in.limits.RAZINF) {
      outside.push_back(entry);
    } else {
      inside.push_back(entry);
    }
  }
  inside.insert(inside.end(), outside.begin(), outside.end());
  out.reordered(LEAD) = std::move(inside);
  out.report.close();
  out.report.open(in.report_path, OutputFile::Mode::kRewrite);
  if (LEAD == kLeads) write_report(src, out);
  out.report.close();
}

}  // namespace darcalim
