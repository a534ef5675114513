// The model names of the error-ranking report's choice lines after whole
// runs on a short history (fewer than 20 complete years), in process.
//
// With a short history the lines " MELHOR MODELO, ", " MELHOR MODELO APOS
// ANALISE, " (and, with the variability check, " MELHOR MODELO APOS LIMITES, ")
// name the models from the short name list of the run: a logarithmic model is
// an "L" model there, whereas the 14-character column heads of a long history
// call every transformed model "T". The cases are the shipped short case
// (18 complete years, option 3) run under other options.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "driver/run_result.h"
#include "tests/support/case_folder.h"
#include "tests/support/file_text.h"

namespace darcalim {
namespace {

const char* const kShortCase = "s06_maxau_short_o3";
const char* const kCaseFile = "CASO6.DAT";
const char* const kRankingReport = "RANK6.CSV";
const char* const kPercentileFile = "PERC6.DAT";  // named on line 16 of the case data file
// A percentile file of 52 weeks (CODPER 1, CODCLA 2).
const char* const kPercentileSource = "s02_maxau_o5v1/input/PERC2.DAT";

// Lines of the case data file.
constexpr int kOptionLine = 4;
constexpr int kVariabilityLine = 15;

// The nine models of a series with a short history, CONSTANTE last.
const std::vector<std::string> kShortBaseNames = {"AR(1)",     "AR(2)",     "AR(3)",   "AR(4)",    "ARMA(1;1)",
                                                  "ARMA(2;1)", "ARMA(3;1)", "SAZONAL", "CONSTANTE"};

enum Series : unsigned { kLogarithmic = 1, kPlain = 2, kBoxCoxWithoutConstante = 4 };

// The 14-character names of the series the run's list holds.
std::set<std::string> list_names(unsigned series) {
  std::set<std::string> names;
  auto add = [&names](const std::string& prefix, const std::string& base) {
    const std::string name = prefix + base;
    names.insert(name + std::string(14 - name.size(), ' '));
  };
  for (const std::string& base : kShortBaseNames) {
    if (series & kLogarithmic) add("L", base);
    if (series & kPlain) add("", base);
    if ((series & kBoxCoxWithoutConstante) && base != "CONSTANTE") add("T", base);
  }
  return names;
}

struct NamesCase {
  const char* name;
  int option;
  int variability_option;
  unsigned series;  // the series of the run's short list
};

void PrintTo(const NamesCase& c, std::ostream* os) { *os << c.name; }

const NamesCase kCases[] = {
    {"Option3", 3, 0, kLogarithmic},
    {"Option3WithTheCheck", 3, 1, kLogarithmic},
    {"Option1", 1, 0, kLogarithmic | kPlain},
    {"Option1WithTheCheck", 1, 2, kLogarithmic | kPlain},
    {"Combined", 5, 0, kBoxCoxWithoutConstante | kPlain | kLogarithmic},
    {"CombinedWithTheCheck", 5, 1, kBoxCoxWithoutConstante | kPlain | kLogarithmic},
};

// The names of the choice lines of a ranking report, in file order.
std::vector<std::string> choice_line_names(const std::string& report) {
  const std::string kChoice = " MELHOR MODELO";
  std::vector<std::string> names;
  std::istringstream in(report);
  for (std::string line; std::getline(in, line);) {
    if (line.rfind(kChoice, 0) != 0) continue;
    const std::size_t comma = line.find(", ");
    if (comma != std::string::npos) names.push_back(line.substr(comma + 2));
  }
  return names;
}

class ShortHistoryNames : public ::testing::TestWithParam<NamesCase> {};

TEST_P(ShortHistoryNames, ChoiceLinesNameTheModelsOfTheShortList) {
  const NamesCase& c = GetParam();
  CaseFolder folder(kShortCase);
  folder.replace_line(kCaseFile, kOptionLine, std::to_string(c.option));
  folder.replace_line(kCaseFile, kVariabilityLine, std::to_string(c.variability_option));
  folder.write(kPercentileFile, file_text(std::filesystem::path(DARCALIM_CASES_DIR) / kPercentileSource));
  std::ostringstream console;
  std::ostringstream errors;
  const RunResult result = run_case(folder.path(), console, errors);
  ASSERT_TRUE(result.normal_end()) << result.message;

  const std::vector<std::string> names = choice_line_names(folder.read(kRankingReport));
  const std::set<std::string> allowed = list_names(c.series);
  ASSERT_FALSE(names.empty());
  std::set<std::string> foreign;  // names that the run's list does not hold
  int logarithmic = 0;
  for (const std::string& name : names) {
    if (allowed.count(name) == 0) foreign.insert(name);
    if (name[0] == 'L') ++logarithmic;
  }
  EXPECT_EQ(foreign, std::set<std::string>{});
  // The history makes logarithmic models win weeks under every option here.
  EXPECT_GT(logarithmic, 0);
}

INSTANTIATE_TEST_SUITE_P(Options, ShortHistoryNames, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<NamesCase>& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace darcalim
