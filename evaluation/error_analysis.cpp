#include "evaluation/error_analysis.h"

#include <cmath>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>

#include "common/layout.h"

namespace darcalim {

namespace {

// Sums of the errors of one window.
struct ErrorSums {
  Array<double, kMaxPassModels> general, general_sq;
  Array<double, kMaxPassModels, kMonths> month, month_sq;
  Array<double, kMaxPassModels, kMaxWeeks> week, week_sq;
};

const char* window_title(int c, const Window& eval) {
  if (c == kWindows) return "******** ERROS DE PREVISAO DE TODA SERIE ********";
  return eval.first == 1 ? "******** ERROS DE PREVISAO DA PRIMEIRA METADE ********"
                         : "******** ERROS DE PREVISAO DA SEGUNDA METADE ********";
}

void accumulate(const EvaluationInputs& in, const Window& eval, RecordFile& records, ErrorSums& sums) {
  const int NMOD = in.models.NMOD;
  if (NMOD < 0 || NMOD > kMaxPassModels) throw std::out_of_range("error analysis: model count outside the tables");
  const std::size_t models = static_cast<std::size_t>(NMOD);
  const WeekGrouping& months = in.groupings(kMonthsGrouping);
  std::array<double, kMaxPassModels> F{};
  int record_number = 0;
  for (int Y = eval.first; Y <= eval.last; ++Y) {
    for (int M = 1; M <= kMonths; ++M) {
      for (int t = months.INIPER(M); t <= months.INIPER(M + 1) - 1; ++t) {
        records.read(++record_number, std::span<double>(F.data(), models));
        const double Q = in.history(Y, t);
        // The sums of models 1..NMOD of the month and of the week lie side by
        // side in their columns (the model's index runs fastest).
        double* general = &sums.general(1);
        double* general_sq = &sums.general_sq(1);
        double* month = &sums.month(1, M);
        double* month_sq = &sums.month_sq(1, M);
        double* week = &sums.week(1, t);
        double* week_sq = &sums.week_sq(1, t);
        for (std::size_t i = 0; i < models; ++i) {
          const double e = Q - F[i];
          const double e2 = e * e;
          general[i] += e;
          general_sq[i] += e2;
          month[i] += e;
          month_sq[i] += e2;
          week[i] += e;
          week_sq[i] += e2;
        }
      }
    }
  }
}

void fill_tables(const EvaluationInputs& in, int c, const Window& eval, const ErrorSums& sums, ErrorTables& err) {
  const int NMOD = in.models.NMOD;
  const int NSEM = in.NSEM;
  const int NY = eval.years();
  for (int m = 1; m <= NMOD; ++m) {
    const double n = NSEM * NY;
    err.ERRGER(m, 1, c) = sums.general(m) / n;
    err.ERRGER(m, 2, c) = std::sqrt(sums.general_sq(m) / n);
    for (int M = 1; M <= kMonths; ++M) {
      const double nm = NY * in.groupings(kMonthsGrouping).weeks_in_period(M);
      err.ERRMES(m, M, c) = sums.month(m, M) / nm;
      err.ERRMES(m, kMonths + M, c) = std::sqrt(sums.month_sq(m, M) / nm);
    }
    for (int t = 1; t <= NSEM; ++t) {
      err.ERRSEM(m, t, c) = sums.week(m, t) / NY;
      err.ERRSEM(m, NSEM + t, c) = std::sqrt(sums.week_sq(m, t) / NY);
    }
  }
}

void clear_slot(ErrorTables& err, int c) {
  for (int m = 1; m <= kMaxPassModels; ++m) {
    for (int i = 1; i <= 2; ++i) err.ERRGER(m, i, c) = 0.0;
    for (int i = 1; i <= 2 * kMonths; ++i) err.ERRMES(m, i, c) = 0.0;
    for (int i = 1; i <= 2 * kMaxWeeks; ++i) err.ERRSEM(m, i, c) = 0.0;
  }
}

void write_window_report(const EvaluationInputs& in, int c, const Window& eval, const ErrorTables& errors,
                         OutputFile& report) {
  static const Layout kGeneral("A / 5X '*** E S T A T I S T I C A S   G E R A I S ***' /");
  static const Layout kMonthly("A / 5X '*** E S T A T I S T I C A S   M E N S A I S ***' /");
  static const Layout kWeekly("A / 5X '*** E S T A T I S T I C A S   S E M A N A I S ***' /");
  report.write_text("\n\n");
  report.write_free({std::string(window_title(c, eval))});
  write_statistics_sections(report, in.models, errors, c, in.NSEM, {kGeneral, kMonthly, kWeekly});
}

// Sizes of the blocks of a series of n models.
std::vector<int> block_sizes(int n) {
  std::vector<int> sizes;
  for (int left = n; left > 0; left -= 5) sizes.push_back(left < 5 ? left : 5);
  if (n > 1 && n % 5 == 1) {
    sizes[sizes.size() - 2] = 4;
    sizes.back() = 2;
  }
  return sizes;
}

}  // namespace

void write_model_blocks(OutputFile& report, const ModelList& models, const std::function<double(int)>& bias,
                        const std::function<double(int)>& error) {
  static const Layout kNames("7X 5(1X A14)");
  static const Layout kBias("1X 'BIAS' 2X 5(4X F7.3 4X)");
  static const Layout kError("1X 'EQM ' 2X 5(4X F7.3 4X) /");
  FieldValues names, biases, errors;  // one block's, their storage kept from block to block
  for (int s = 1; s <= models.series_count; ++s) {
    int m = models.series(s).first;
    for (const int size : block_sizes(models.series(s).last - models.series(s).first + 1)) {
      names.clear();
      biases.clear();
      errors.clear();
      for (int k = 0; k < size; ++k, ++m) {
        names.emplace_back(models.model(m).abbreviated);
        biases.emplace_back(bias(m));
        errors.emplace_back(error(m));
      }
      report.write(kNames, names);
      report.write(kBias, biases);
      report.write(kError, errors);
    }
  }
}

void write_statistics_sections(OutputFile& report, const ModelList& models, const ErrorTables& errors, int slot,
                               int NSEM, const StatisticsTitles& titles) {
  if (report.keeps_nothing()) return;
  static const Layout kMonth("/ 7X 'MES ' I2 /");
  static const Layout kWeek("/ 7X 'SEMANA ' I2 /");
  const std::string page_break("\f");
  report.write(titles.general, {page_break});
  write_model_blocks(report, models, [&](int m) { return errors.ERRGER(m, 1, slot); },
                     [&](int m) { return errors.ERRGER(m, 2, slot); });
  report.write(titles.monthly, {page_break});
  for (int M = 1; M <= kMonths; ++M) {
    report.write(kMonth, {std::int64_t{M}});
    write_model_blocks(report, models, [&](int m) { return errors.ERRMES(m, M, slot); },
                       [&](int m) { return errors.ERRMES(m, kMonths + M, slot); });
  }
  report.write(titles.weekly, {page_break});
  for (int t = 1; t <= NSEM; ++t) {
    report.write(kWeek, {std::int64_t{t}});
    write_model_blocks(report, models, [&](int m) { return errors.ERRSEM(m, t, slot); },
                       [&](int m) { return errors.ERRSEM(m, NSEM + t, slot); });
  }
}

void ANAPREV(const EvaluationInputs& in, int c, const Window& eval, RecordFile& records, ErrorTables& errors,
             OutputFile& report) {
  clear_slot(errors, c);
  auto sums = std::make_unique<ErrorSums>();
  accumulate(in, eval, records, *sums);
  fill_tables(in, c, eval, *sums, errors);
  write_window_report(in, c, eval, errors, report);
}

void combine_half_windows(ErrorTables& err, int NMOD, int NSEM) {
  const int C = kCombinedSlot;
  for (int m = 1; m <= NMOD; ++m) {
    for (int i = 1; i <= 2; ++i) err.ERRGER(m, i, C) = (err.ERRGER(m, i, 1) + err.ERRGER(m, i, 2)) / 2.0;
    for (int i = 1; i <= 2 * kMonths; ++i) err.ERRMES(m, i, C) = (err.ERRMES(m, i, 1) + err.ERRMES(m, i, 2)) / 2.0;
    for (int i = 1; i <= 2 * NSEM; ++i) err.ERRSEM(m, i, C) = (err.ERRSEM(m, i, 1) + err.ERRSEM(m, i, 2)) / 2.0;
  }
}

}  // namespace darcalim
