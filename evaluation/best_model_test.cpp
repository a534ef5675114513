#include "evaluation/best_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "common/model_catalogue.h"

namespace darcalim {
namespace {

// The model number of an abbreviated name ("TPAR(1)-RO", "SAZONAL").
int model_named(const ModelList& models, const std::string& name) {
  for (int m = 1; m <= models.NMOD; ++m) {
    const std::string& n = models.model(m).abbreviated;
    if (n.substr(0, n.find_last_not_of(' ') + 1) == name) return m;
  }
  ADD_FAILURE() << "no model " << name;
  return 1;
}

// A week's ranking: the leading models with their errors, then every other
// model of the list in number order with errors 50, 51, ...
struct Ranked {
  std::vector<int> order;
  std::vector<double> errors;
};

Ranked ranking_of(const ModelList& models, const std::vector<std::pair<std::string, double>>& leading) {
  Ranked r;
  for (const auto& [name, error] : leading) {
    r.order.push_back(model_named(models, name));
    r.errors.push_back(error);
  }
  double error = 50.0;
  for (int m = 1; m <= models.NMOD; ++m) {
    if (std::find(r.order.begin(), r.order.end(), m) != r.order.end()) continue;
    r.order.push_back(m);
    r.errors.push_back(error);
    error += 1.0;
  }
  return r;
}

struct ChoiceCase {
  std::string name;
  int TIPOTRANS;
  std::vector<std::pair<std::string, double>> leading;
  bool FIRST;
  std::string chosen;
};

void PrintTo(const ChoiceCase& c, std::ostream* os) { *os << c.name; }

class WeekChoice : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(WeekChoice, ChoosesTheExpectedModel) {
  const ChoiceCase& c = GetParam();
  const ModelList models = build_model_list(c.TIPOTRANS, 25);
  const Ranked r = ranking_of(models, c.leading);
  const WeekRanking ranking{r.order, r.errors, models, models.NMOD};
  auto choice = std::make_unique<WeeklyChoice>();
  choose_week_model(ranking, 7, c.FIRST, *choice);
  EXPECT_EQ(choice->MODBRUTO(7), r.order[0]);
  EXPECT_EQ(models.model(choice->MODESCOLHIDO(7)).abbreviated, models.model(model_named(models, c.chosen)).abbreviated);
}

INSTANTIATE_TEST_SUITE_P(
    Rankings, WeekChoice,
    ::testing::Values(
        // The 5 % rule: AR(2) 4 % worse than CONSTANTE is preferred, 6 % worse is not.
        ChoiceCase{"RealModel4PercentWorse", 0, {{"CONSTANTE", 10.0}, {"AR(2)", 10.4}}, false, "AR(2)"},
        ChoiceCase{"RealModel4PercentWorseFirstWeek", 0, {{"CONSTANTE", 10.0}, {"AR(2)", 10.4}}, true, "AR(2)"},
        ChoiceCase{"RealModel6PercentWorse", 0, {{"CONSTANTE", 10.0}, {"AR(2)", 10.6}}, false, "CONSTANTE"},
        ChoiceCase{"RealModel6PercentWorseFirstWeek", 0, {{"CONSTANTE", 10.0}, {"AR(2)", 10.6}}, true, "CONSTANTE"},
        // After two benchmarks PAR(1)-RO is 4 % worse than CONSTANTE (the last of
        // them): a first week takes it, another week the next real model.
        ChoiceCase{"RoAfterBenchmarksFirstWeek", 0,
                   {{"SAZONAL", 9.0}, {"CONSTANTE", 10.0}, {"PAR(1)-RO", 10.4}, {"AR(1)", 10.5}}, true, "PAR(1)-RO"},
        ChoiceCase{"RoAfterBenchmarksOtherWeek", 0,
                   {{"SAZONAL", 9.0}, {"CONSTANTE", 10.0}, {"PAR(1)-RO", 10.4}, {"AR(1)", 10.5}}, false, "AR(1)"},
        ChoiceCase{"RoAfterBenchmarks6PercentWorse", 0,
                   {{"SAZONAL", 9.0}, {"CONSTANTE", 10.0}, {"PAR(1)-RO", 10.6}, {"AR(1)", 10.7}}, false, "SAZONAL"},
        // Four benchmarks: the fifth-ranked model is compared with the fourth
        // (0.5 / 10.3 = 4.9 %, 0.6 / 10.3 = 5.8 %), not with the first (8 %).
        ChoiceCase{"FourBenchmarksFifthWithin5Percent", 1,
                   {{"TSAZONAL", 10.0}, {"TCONSTANTE", 10.1}, {"SAZONAL", 10.2}, {"CONSTANTE", 10.3}, {"AR(1)", 10.8}},
                   false, "AR(1)"},
        ChoiceCase{"FourBenchmarksFifthBeyond5Percent", 1,
                   {{"TSAZONAL", 10.0}, {"TCONSTANTE", 10.1}, {"SAZONAL", 10.2}, {"CONSTANTE", 10.3}, {"AR(1)", 10.9}},
                   true, "TSAZONAL"},
        // Three benchmarks of option 2 (no TCONSTANTE): 0.4 / 10.3 = 3.9 %.
        ChoiceCase{"ThreeBenchmarks", 2, {{"TSAZONAL", 10.0}, {"SAZONAL", 10.2}, {"CONSTANTE", 10.3}, {"TAR(2)", 10.7}},
                   false, "TAR(2)"},
        // An -RO model ranked first is passed over on a week that is not a month's first.
        ChoiceCase{"FirstRankedRoOtherWeek", 0, {{"PAR(2)-RO", 9.0}, {"AR(3)", 9.5}}, false, "AR(3)"},
        ChoiceCase{"FirstRankedRoFirstWeek", 0, {{"PAR(2)-RO", 9.0}, {"AR(3)", 9.5}}, true, "PAR(2)-RO"},
        // Passing over two -RO models reaches CONSTANTE, which the 5 % rule then
        // judges against AR(3): 3 % worse, then 8 % worse.
        ChoiceCase{"RoModelsThenBenchmarkKeptOut", 0,
                   {{"PAR(2)-RO", 9.0}, {"PAR(1)-RO", 9.5}, {"CONSTANTE", 10.0}, {"AR(3)", 10.3}}, false, "AR(3)"},
        ChoiceCase{"RoModelsThenBenchmarkKept", 0,
                   {{"PAR(2)-RO", 9.0}, {"PAR(1)-RO", 9.5}, {"CONSTANTE", 10.0}, {"AR(3)", 10.8}}, false, "CONSTANTE"},
        // A benchmark, an -RO model and a benchmark: on another week the -RO
        // model is skipped and the second benchmark is judged against AR(1)
        // (0.1 / 10.3, then 0.7 / 10.3); a first week takes the -RO model (2 %).
        ChoiceCase{"BenchmarkRoBenchmarkOtherWeek", 0,
                   {{"SAZONAL", 10.0}, {"PAR(1)-RO", 10.2}, {"CONSTANTE", 10.3}, {"AR(1)", 10.4}}, false, "AR(1)"},
        ChoiceCase{"BenchmarkRoBenchmarkKept", 0,
                   {{"SAZONAL", 10.0}, {"PAR(1)-RO", 10.2}, {"CONSTANTE", 10.3}, {"AR(1)", 11.0}}, false, "CONSTANTE"},
        ChoiceCase{"BenchmarkRoBenchmarkFirstWeek", 0,
                   {{"SAZONAL", 10.0}, {"PAR(1)-RO", 10.2}, {"CONSTANTE", 10.3}, {"AR(1)", 10.4}}, true, "PAR(1)-RO"},
        // A first-ranked real model that is not -RO is always the choice.
        ChoiceCase{"FirstRankedRealModel", 0, {{"PAR(1)-G4", 5.0}, {"SAZONAL", 5.01}}, false, "PAR(1)-G4"},
        ChoiceCase{"FirstRankedRealModelFirstWeek", 0, {{"PAR(1)-G4", 5.0}, {"SAZONAL", 5.01}}, true, "PAR(1)-G4"},
        ChoiceCase{"FirstRankedTransformedModel", 2, {{"TPARMA(2;1)-R", 5.0}, {"TSAZONAL", 5.01}}, false,
                   "TPARMA(2;1)-R"}),
    [](const ::testing::TestParamInfo<ChoiceCase>& p) { return p.param.name; });

// SAZONAL, CONSTANTE, PAR(1)-RO, AR(1), then the rest on another week: AR(1),
// at rank 4, moves to first place and ranks 1 to 3 follow it.
TEST(WeekChoiceRanking, ChosenModelMovesFirstAndTheRanksBeforeItFollow) {
  const ModelList models = build_model_list(0, 25);
  const Ranked r = ranking_of(models, {{"SAZONAL", 9.0}, {"CONSTANTE", 10.0}, {"PAR(1)-RO", 10.4}, {"AR(1)", 10.5}});
  auto choice = std::make_unique<WeeklyChoice>();
  choose_week_model(WeekRanking{r.order, r.errors, models, models.NMOD}, 3, false, *choice);
  std::vector<int> expected = {1, 46, 47, 24};
  for (int m = 2; m <= 45; ++m) {
    if (m != 24) expected.push_back(m);
  }
  std::vector<int> rankmod;
  for (int i = 1; i <= 47; ++i) rankmod.push_back(choice->RANKMOD(i, 3));
  EXPECT_EQ(rankmod, expected);
  EXPECT_EQ(choice->MODBRUTO(3), 46);
  EXPECT_EQ(choice->MODESCOLHIDO(3), 1);
  EXPECT_EQ(choice->NOMEBRUTO(3), "SAZONAL       ");
  EXPECT_EQ(choice->NOMEESCOLHIDO(3), "AR(1)         ");
}

TEST(WeekChoiceRanking, FirstRankedChoiceKeepsTheRanking) {
  const ModelList models = build_model_list(0, 25);
  const Ranked r = ranking_of(models, {{"PARMA(3;1)-G2", 4.0}, {"CONSTANTE", 4.1}});
  auto choice = std::make_unique<WeeklyChoice>();
  choose_week_model(WeekRanking{r.order, r.errors, models, models.NMOD}, 9, false, *choice);
  for (int i = 1; i <= 47; ++i) EXPECT_EQ(choice->RANKMOD(i, 9), r.order[static_cast<std::size_t>(i - 1)]) << i;
}

// The week's names are the first 14 characters of the pass's 20-character
// list: under option 1 the logarithmic series' models are the "L" models,
// whose report columns carry "T" names.
TEST(WeekChoiceRanking, NamesComeFromThePasssNameList) {
  const ModelList models = build_model_list(1, 25);
  const Ranked r = ranking_of(models, {{"TSAZONAL", 10.0}, {"TPARMA(1;1)-RO", 10.1}, {"AR(1)", 10.2}});
  auto choice = std::make_unique<WeeklyChoice>();
  choose_week_model(WeekRanking{r.order, r.errors, models, models.NMOD}, 1, true, *choice);
  EXPECT_EQ(choice->NOMEBRUTO(1), "LSAZONAL      ");
  EXPECT_EQ(choice->NOMEESCOLHIDO(1), "LPARMA(1;1)-RO");
}

// --- the name tests ------------------------------------------------------------

struct NameCase {
  std::string name;
  bool benchmark;
  bool month_start;
};

TEST(ModelNameTests, BenchmarkAndMonthStartNames) {
  const std::vector<NameCase> cases = {
      {"CONSTANTE", true, false},       {"SAZONAL       ", true, false},   {"TCONSTANTE    ", true, false},
      {"TSAZONAL", true, false},        {"LSAZONAL", false, false},        {"CONSTANT", false, false},
      {" SAZONAL", false, false},       {"AR(1)", false, false},           {"PAR(1)-RO", false, true},
      {"PAR(4)-RO     ", false, true},  {"PARMA(3;1)-RO", false, true},    {"TPAR(2)-RO", false, true},
      {"TPARMA(1;1)-RO", false, true},  {"LPAR(1)-RO", false, false},      {"PAR(1)-G4", false, false},
      {"PARMA(1;1)-R", false, false},   {"TPARMA(1;1)-R ", false, false},  {"PAR(5)-RO", false, false},
  };
  for (const NameCase& c : cases) {
    EXPECT_EQ(E_UMA_DAS_QUATRO(c.name), c.benchmark) << "'" << c.name << "'";
    EXPECT_EQ(E_RO(c.name), c.month_start) << "'" << c.name << "'";
  }
}

// Every pass's report names agree with what the catalogue says each model is.
TEST(ModelNameTests, AgreeWithTheCatalogueOfEveryOption) {
  for (int option = 0; option <= 4; ++option) {
    const ModelList models = build_model_list(option, 25);
    for (int m = 1; m <= models.NMOD; ++m) {
      const ModelInfo& info = models.model(m);
      EXPECT_EQ(E_UMA_DAS_QUATRO(info.abbreviated), info.is_benchmark) << option << " " << info.abbreviated;
      EXPECT_EQ(E_RO(info.abbreviated), info.is_month_start) << option << " " << info.abbreviated;
    }
  }
}

}  // namespace
}  // namespace darcalim
