#include "evaluation/error_reports.h"

#include <cstdint>
#include <string>
#include <vector>

#include "common/layout.h"
#include "common/model_catalogue.h"
#include "evaluation/best_model.h"
#include "evaluation/error_analysis.h"
#include "evaluation/simulation.h"
#include "evaluation/sorting.h"

namespace darcalim {

namespace {

constexpr int C = kCombinedSlot;

// Models ranked by a measure: ORDER by rank and the sorted values.
struct Ranked {
  std::vector<int> order;
  std::vector<double> values;
};

Ranked rank_models(int NMOD, const std::function<double(int)>& measure) {
  std::vector<double> x(static_cast<std::size_t>(NMOD));
  for (int m = 1; m <= NMOD; ++m) x[static_cast<std::size_t>(m - 1)] = measure(m);
  std::vector<int> rank(x.size(), 1);
  Ranked r;
  r.order.assign(x.size(), 1);
  ORDENA(NMOD, x, rank, r.order);
  for (const int m : r.order) r.values.push_back(x[static_cast<std::size_t>(m - 1)]);
  return r;
}

using NameOf = std::function<std::string(int)>;

// The sorted values (after the section's number, when it has one) and the names.
void write_ranking(OutputFile& report, const Layout& values_layout, int number, const Ranked& r,
                   const NameOf& name) {
  static const Layout kNames = ranking_layouts::names(ranking_layouts::kErrorsPerLine);
  FieldValues head;
  if (number > 0) head.emplace_back(std::int64_t{number});
  for (const double v : r.values) head.emplace_back(v);
  report.write(values_layout, head);
  FieldValues names;
  for (const int m : r.order) names.emplace_back(name(m));
  report.write(kNames, names);
}

// The general and monthly sections of a ranking report over models 1..n.
void write_general_and_months(OutputFile& report, int n, const std::function<double(int)>& general,
                              const std::function<double(int, int)>& monthly, const NameOf& name) {
  report.write(ranking_layouts::title());
  write_ranking(report, ranking_layouts::general(), 0, rank_models(n, general), name);
  for (int M = 1; M <= kMonths; ++M) {
    const Ranked r = rank_models(n, [&](int m) { return monthly(m, M); });
    write_ranking(report, ranking_layouts::month(), M, r, name);
  }
}

bool is_month_start_week(const WeekGrouping& months, int t) {
  for (int M = 1; M <= kMonths; ++M) {
    if (months.INIPER(M) == t) return true;
  }
  return false;
}

}  // namespace

void write_averaged_statistics(OutputFile& report, const ModelList& models, const ErrorTables& errors, int NSEM) {
  static const Layout kGeneral("A / 5X '*** MEDIA  DAS  E S T A T I S T I C A S   G E R ' 'A I S ***' /");
  static const Layout kMonthly("A / 5X '*** MEDIA  DAS  E S T A T I S T I C A S   ' 'M E N S A I S ***' /");
  static const Layout kWeekly("A / 5X '*** MEDIA  DAS  E S T A T I S T I C A S   ' 'S E M A N A I S ***' /");
  write_statistics_sections(report, models, errors, C, NSEM, {kGeneral, kMonthly, kWeekly});
}

void rank_and_choose(const EvaluationInputs& in, const ErrorTables& err, OutputFile& report, WeeklyChoice& choice) {
  const int NMOD = in.models.NMOD;
  const int NSEM = in.NSEM;
  const NameOf name = [&](int m) { return in.models.model(m).abbreviated; };
  write_general_and_months(
      report, NMOD, [&](int m) { return err.ERRGER(m, 2, C); },
      [&](int m, int M) { return err.ERRMES(m, kMonths + M, C); }, name);
  const WeekGrouping& months = in.groupings(kMonthsGrouping);
  for (int t = 1; t <= NSEM; ++t) {
    const Ranked r = rank_models(NMOD, [&](int m) { return err.ERRSEM(m, NSEM + t, C); });
    write_ranking(report, ranking_layouts::week(), t, r, name);
    const WeekRanking ranking{r.order, r.values, in.models, NMOD};
    choose_week_model(ranking, t, is_month_start_week(months, t), choice);
    report.write(ranking_layouts::best(), {in.models.model(choice.MODBRUTO(t)).heading});
    report.write(ranking_layouts::chosen(), {in.models.model(choice.MODESCOLHIDO(t)).heading});
  }
}

void RELATXLS(const JoinedRankingInputs& in, const JoinedRankingOutputs& out) {
  OutputFile& report = out.report;
  report.open(in.report_path, OutputFile::Mode::kRewrite);
  const JoinedErrorTables& err = in.errors;
  const JoinedList joined(in.NANOS);
  const int NX = joined.total();
  const int NSEM = in.NSEM;
  std::vector<std::string> names(static_cast<std::size_t>(NX) + 1);  // made once, read on every line
  for (int m = 1; m <= NX; ++m) names[static_cast<std::size_t>(m)] = joined.name(m);
  const NameOf name = [&names](int m) { return names.at(static_cast<std::size_t>(m)); };
  write_general_and_months(
      report, NX, [&](int m) { return err.ERRGER(m, 2); }, [&](int m, int M) { return err.ERRMES(m, kMonths + M); },
      name);
  for (int t = 1; t <= NSEM; ++t) {
    const Ranked r = rank_models(NX, [&](int m) { return err.ERRSEM(m, NSEM + t); });
    write_ranking(report, ranking_layouts::week(), t, r, name);
    out.first_ranked(t) = name(in.RANKMOD(1, t));
    out.revised_first(t) = name(in.R2(1, t));
    report.write(ranking_layouts::best(), {out.first_ranked(t)});
    report.write(ranking_layouts::chosen(), {out.revised_first(t)});
  }
  report.close();
}

void copy_to_joined_tables(const ErrorTables& err, int NMOD, int NSEM, int joined_offset, JoinedErrorTables& joined) {
  for (int m = 1; m <= NMOD; ++m) {
    const int j = m + joined_offset;
    for (int i = 1; i <= 2; ++i) joined.ERRGER(j, i) = err.ERRGER(m, i, C);
    for (int i = 1; i <= 2 * kMonths; ++i) joined.ERRMES(j, i) = err.ERRMES(m, i, C);
    for (int i = 1; i <= 2 * NSEM; ++i) joined.ERRSEM(j, i) = err.ERRSEM(m, i, C);
  }
}

}  // namespace darcalim
