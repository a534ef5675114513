// The week sections of the error-ranking report, read back through the
// report's layouts (common/output_layouts.h).
//
// After the sections GERAL and MES 1..12 the report holds, for each week t,
// the "  SEMANA  t" line, the "REMQ    " line of sorted errors (47 to a line,
// further lines of errors after it), the model names in the same order (47
// to a line, or all on one line in a run with the variability check), and
// the " MELHOR MODELO, " and " MELHOR MODELO APOS ANALISE, " lines (then
// " MELHOR MODELO APOS LIMITES, " with the variability check). A line of
// errors is told from a line of names by its layout. Errors are kept as
// written (e.g. "84.222", or asterisks).
//
// Refused (ViewInputError naming the file and line): a report that cannot
// be read, a week without its section, a section without its REMQ line, whose
// errors and names differ in number, or that lacks one of its two "MELHOR MODELO" lines.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace darcalim::view {

struct RankedModel {
  std::string name;        // without trailing blanks
  std::string error_text;  // REMQ as written, without blanks
};

struct WeekRanking {
  int week = 0;
  int line = 0;                     // line of the "SEMANA" line
  std::vector<RankedModel> models;  // best first
  std::string best;                 // " MELHOR MODELO, "
  std::string best_after_analysis;  // " MELHOR MODELO APOS ANALISE, "
};

class RankingReport {
 public:
  // Reads the whole report into memory.
  explicit RankingReport(const std::filesystem::path& file);

  // The section of week `week` (1..53).
  WeekRanking week(int week) const;

 private:
  std::string name_;
  std::vector<std::string> lines_;
};

}  // namespace darcalim::view
