#include "evaluation/error_reports.h"

#include <cstdint>
#include <string>
#include <vector>

#include "common/layout.h"
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

void write_ranking(OutputFile& report, const Layout& values_layout, FieldValues head, const Ranked& r,
                   const ModelList& models) {
  static const Layout kNames("47(A14 ',')");
  for (const double v : r.values) head.emplace_back(v);
  report.write(values_layout, head);
  FieldValues names;
  for (const int m : r.order) names.emplace_back(models.model(m).abbreviated);
  report.write(kNames, names);
}

}  // namespace

void write_averaged_statistics(Run& run) {
  static const Layout kGeneral("A / 5X '*** MEDIA  DAS  E S T A T I S T I C A S   G E R ' 'A I S ***' /");
  static const Layout kMonthly("A / 5X '*** MEDIA  DAS  E S T A T I S T I C A S   ' 'M E N S A I S ***' /");
  static const Layout kWeekly("A / 5X '*** MEDIA  DAS  E S T A T I S T I C A S   ' 'S E M A N A I S ***' /");
  static const Layout kMonth("/ 7X 'MES ' I2 /");
  static const Layout kWeek("/ 7X 'SEMANA ' I2 /");
  OutputFile& report = run.run_report;
  const ErrorTables& err = run.errors;
  const int NSEM = run.CASO.NSEM;
  report.write(kGeneral, {std::string("\f")});
  write_model_blocks(report, run.models, [&](int m) { return err.ERRGER(m, 1, C); },
                     [&](int m) { return err.ERRGER(m, 2, C); });
  report.write(kMonthly, {std::string("\f")});
  for (int M = 1; M <= kMonths; ++M) {
    report.write(kMonth, {std::int64_t{M}});
    write_model_blocks(report, run.models, [&](int m) { return err.ERRMES(m, M, C); },
                       [&](int m) { return err.ERRMES(m, kMonths + M, C); });
  }
  report.write(kWeekly, {std::string("\f")});
  for (int t = 1; t <= NSEM; ++t) {
    report.write(kWeek, {std::int64_t{t}});
    write_model_blocks(report, run.models, [&](int m) { return err.ERRSEM(m, t, C); },
                       [&](int m) { return err.ERRSEM(m, NSEM + t, C); });
  }
}

void rank_and_choose(Run& run) {
  static const Layout kTitle("'ORDENACAO DOS ERROS PELO CRITERIO DA RAIZ QUADRADA DO ERRO MEDIO QUADRATICO' /");
  static const Layout kGeneral("' GERAL ' / 47(F7.3 ',')");
  static const Layout kMonth("/ ' MES ' I2 / 47(F7.3 ',')");
  static const Layout kWeek("/ 1X ' SEMANA ' I2 / 'REMQ    ' 47(F7.3 ',')");
  static const Layout kBest("' MELHOR MODELO, ' A14");
  static const Layout kChosen("' MELHOR MODELO APOS ANALISE, ' A14");
  OutputFile& report = run.ranking_report;
  const ErrorTables& err = run.errors;
  const int NMOD = run.models.NMOD;
  const int NSEM = run.CASO.NSEM;
  report.write(kTitle);
  write_ranking(report, kGeneral, {}, rank_models(NMOD, [&](int m) { return err.ERRGER(m, 2, C); }), run.models);
  for (int M = 1; M <= kMonths; ++M) {
    const Ranked r = rank_models(NMOD, [&](int m) { return err.ERRMES(m, kMonths + M, C); });
    write_ranking(report, kMonth, {std::int64_t{M}}, r, run.models);
  }
  const WeekGrouping& months = run.GRUPO(kMonthsGrouping);
  for (int t = 1; t <= NSEM; ++t) {
    const Ranked r = rank_models(NMOD, [&](int m) { return err.ERRSEM(m, NSEM + t, C); });
    write_ranking(report, kWeek, {std::int64_t{t}}, r, run.models);
    bool first = false;
    for (int M = 1; M <= kMonths; ++M) first = first || months.INIPER(M) == t;
    const WeekRanking ranking{r.order, r.values, run.models, NMOD};
    choose_week_model(ranking, t, first, run.choice);
    report.write(kBest, {run.models.model(run.choice.MODBRUTO(t)).abbreviated});
    report.write(kChosen, {run.models.model(run.choice.MODESCOLHIDO(t)).abbreviated});
  }
}

void copy_to_joined_tables(Run& run) {
  const ErrorTables& err = run.errors;
  JoinedErrorTables& joined = run.joined_errors;
  const int NSEM = run.CASO.NSEM;
  for (int m = 1; m <= run.models.NMOD; ++m) {
    const int j = joined_position(run, m);
    for (int i = 1; i <= 2; ++i) joined.ERRGER(j, i) = err.ERRGER(m, i, C);
    for (int i = 1; i <= 2 * kMonths; ++i) joined.ERRMES(j, i) = err.ERRMES(m, i, C);
    for (int i = 1; i <= 2 * NSEM; ++i) joined.ERRSEM(j, i) = err.ERRSEM(m, i, C);
  }
}

}  // namespace darcalim
