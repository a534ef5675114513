#include "common/model_catalogue.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace darcalim {
namespace {

std::string pad20(const std::string& s) { return s + std::string(20 - s.size(), ' '); }

TEST(ModelCatalogue, BaseOrder) {
  const char* expected[] = {"AR(1)", "AR(2)", "AR(3)", "AR(4)", "ARMA(1;1)", "ARMA(2;1)", "ARMA(3;1)",
                            "PAR(1)-G1", "PAR(2)-G1", "PAR(3)-G1", "PAR(4)-G1", "PAR(1)-G2", "PAR(2)-G2",
                            "PAR(3)-G2", "PAR(4)-G2", "PAR(1)-G3", "PAR(2)-G3", "PAR(3)-G3", "PAR(4)-G3",
                            "PAR(1)-G4", "PAR(2)-G4", "PAR(3)-G4", "PAR(4)-G4", "PAR(1)-RO", "PAR(2)-RO",
                            "PAR(3)-RO", "PAR(4)-RO", "PARMA(1;1)-G1", "PARMA(2;1)-G1", "PARMA(3;1)-G1",
                            "PARMA(1;1)-G2", "PARMA(2;1)-G2", "PARMA(3;1)-G2", "PARMA(1;1)-G3", "PARMA(2;1)-G3",
                            "PARMA(3;1)-G3", "PARMA(1;1)-G4", "PARMA(2;1)-G4", "PARMA(3;1)-G4", "PARMA(1;1)-RR",
                            "PARMA(2;1)-RR", "PARMA(3;1)-RR", "PARMA(1;1)-RO", "PARMA(2;1)-RO", "PARMA(3;1)-RO",
                            "SAZONAL", "CONSTANTE"};
  for (int pos = 1; pos <= 47; ++pos) EXPECT_EQ(base_model_name(pos), expected[pos - 1]) << pos;
  EXPECT_THROW(base_model_name(48), std::out_of_range);
}

TEST(ModelCatalogue, JoinedListAndAbbreviatedNames) {
  ModelNameLists lists;
  NOMEMODELOS(lists);
  EXPECT_EQ(lists.NOMEMOD(1), pad20("TAR(1)"));
  EXPECT_EQ(lists.NOMEMOD(46), pad20("TSAZONAL"));
  EXPECT_EQ(lists.NOMEMOD(47), pad20("AR(1)"));
  EXPECT_EQ(lists.NOMEMOD(93), pad20("CONSTANTE"));
  EXPECT_EQ(lists.NOMEMOD(94), pad20("LAR(1)"));
  EXPECT_EQ(lists.NOMEMOD(140), pad20("LCONSTANTE"));
  EXPECT_EQ(NOMEABR(40, false), "PARMA(1;1)-R  ");
  EXPECT_EQ(NOMEABR(42, true), "TPARMA(3;1)-R ");
  EXPECT_EQ(NOMEABR(45, true), "TPARMA(3;1)-RO");
  EXPECT_EQ(NOMEABR(47, true), "TCONSTANTE    ");
}

TEST(ModelCatalogue, ShortListsHoldNoPeriodicModel) {
  ModelNameLists lists;
  NOMEMODELOS(lists);
  EXPECT_EQ(lists.short_combined(8), pad20("TSAZONAL"));
  EXPECT_EQ(lists.short_combined(9), pad20("AR(1)"));
  EXPECT_EQ(lists.short_combined(17), pad20("CONSTANTE"));
  EXPECT_EQ(lists.short_combined(26), pad20("LCONSTANTE"));
  EXPECT_EQ(lists.short_log_first(8), pad20("LSAZONAL"));
  EXPECT_EQ(lists.short_log_first(26), pad20("TCONSTANTE"));
  EXPECT_EQ(lists.short_boxcox(9), pad20("TCONSTANTE"));
  for (int i = 1; i <= 26; ++i) {
    for (const char* suffix : {"-G", "-RO", "-RR"}) {
      EXPECT_EQ(lists.short_combined(i).find(suffix), std::string::npos) << i;
    }
  }
}

struct PassCase {
  int option;
  int years;
  int nmod;
  int last_of_first;
};

TEST(ModelCatalogue, ModelsOfAPass) {
  const PassCase cases[] = {{0, 25, 47, 47}, {1, 25, 94, 47}, {2, 25, 93, 46}, {3, 25, 47, 47},
                            {4, 25, 46, 46}, {0, 19, 9, 9},   {1, 19, 18, 9},  {2, 19, 17, 8},
                            {3, 19, 9, 9},   {4, 19, 8, 8}};
  for (const PassCase& c : cases) {
    const PassModels m = pass_models(c.option, c.years);
    EXPECT_EQ(m.NMOD, c.nmod) << "option " << c.option << ", " << c.years << " years";
    EXPECT_EQ(m.last_of_first_series, c.last_of_first) << "option " << c.option << ", " << c.years << " years";
    EXPECT_EQ(m.first_of_second_series, c.last_of_first + 1);
  }
}

struct JoinedCase {
  int years;
  int last_boxcox;
  int first_logarithmic;
  int total;
  int second_pass_offset;
  std::vector<std::pair<int, std::string>> names;  // (position, 14-character name without the blanks)
  std::vector<int> benchmarks;
  std::vector<int> month_start;
};

// The joined list of a combined run by history length: 19 years is short,
// 20 is not.
TEST(JoinedList, BoundsOffsetsNamesAndSpecialModels) {
  const JoinedCase cases[] = {
      {20,
       46,
       94,
       140,
       93,
       {{1, "TAR(1)"},
        {24, "TPAR(1)-RO"},
        {41, "TPARMA(2;1)-RR"},
        {46, "TSAZONAL"},
        {47, "AR(1)"},
        {93, "CONSTANTE"},
        {94, "LAR(1)"},
        {138, "LPARMA(3;1)-RO"},
        {140, "LCONSTANTE"}},
       {46, 92, 93, 139, 140},
       {24, 25, 26, 27, 43, 44, 45, 70, 71, 72, 73, 89, 90, 91, 117, 118, 119, 120, 136, 137, 138}},
      {19,
       8,
       18,
       26,
       17,
       {{1, "TAR(1)"},
        {7, "TARMA(3;1)"},
        {8, "TSAZONAL"},
        {9, "AR(1)"},
        {17, "CONSTANTE"},
        {18, "LAR(1)"},
        {26, "LCONSTANTE"}},
       {8, 16, 17, 25, 26},
       {}},
  };
  for (const JoinedCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.years) + " years");
    const JoinedList joined(c.years);
    EXPECT_EQ(joined.short_history(), c.years < 20);
    EXPECT_EQ(joined.last_boxcox(), c.last_boxcox);
    EXPECT_EQ(joined.first_logarithmic(), c.first_logarithmic);
    EXPECT_EQ(joined.total(), c.total);
    EXPECT_EQ(joined.offset(1), 0);
    EXPECT_EQ(joined.offset(2), c.second_pass_offset);
    for (const auto& [position, name] : c.names) {
      EXPECT_EQ(joined.long_name(position), pad20(name)) << position;
      EXPECT_EQ(joined.name(position), pad20(name).substr(0, 14)) << position;
    }
    EXPECT_EQ(joined.kind(c.last_boxcox), NameKind::kTransformed);
    EXPECT_EQ(joined.kind(c.last_boxcox + 1), NameKind::kPlain);
    EXPECT_EQ(joined.kind(c.first_logarithmic - 1), NameKind::kPlain);
    EXPECT_EQ(joined.kind(c.first_logarithmic), NameKind::kLogarithmic);
    EXPECT_FALSE(joined.transformed(c.first_logarithmic - 1));
    EXPECT_TRUE(joined.transformed(c.first_logarithmic));
    EXPECT_EQ(joined.benchmarks(), c.benchmarks);
    EXPECT_EQ(joined.month_start_models(), c.month_start);
    EXPECT_THROW(joined.kind(0), std::out_of_range);
    EXPECT_THROW(joined.name(c.total + 1), std::out_of_range);
  }
  EXPECT_EQ(JoinedList(kShortHistoryYears).total(), kMaxModels);
  EXPECT_EQ(JoinedList(kShortHistoryYears - 1).total(), kShortJoinedModels);
}

// Model m of each pass of a combined run (option 2, then option 3) is found
// at position m + offset of the joined list, as the same model.
TEST(JoinedList, HoldsEachModelOfBothPassesAtItsOffset) {
  for (const int years : {19, 20, 59}) {
    const JoinedList joined(years);
    const ModelList passes[] = {build_model_list(2, years), build_model_list(3, years)};
    EXPECT_EQ(joined.last_boxcox(), passes[0].series(1).last) << years << " years";
    EXPECT_EQ(joined.total(), passes[0].NMOD + passes[1].NMOD) << years << " years";
    for (int PASSO = 1; PASSO <= 2; ++PASSO) {
      const ModelList& list = passes[PASSO - 1];
      for (int m = 1; m <= list.NMOD; ++m) {
        const ModelInfo& model = list.model(m);
        const int p = m + joined.offset(PASSO);
        SCOPED_TRACE(std::to_string(years) + " years, pass " + std::to_string(PASSO) + ", model " + std::to_string(m));
        EXPECT_EQ(joined.long_name(p), model.long_name);
        EXPECT_EQ(joined.base_position(p), model.base_position);
        EXPECT_EQ(joined.transformed(p), model.transformed);
        EXPECT_EQ(joined.is_benchmark(p), model.is_benchmark);
        EXPECT_EQ(joined.is_month_start(p), model.is_month_start);
      }
    }
  }
}

// Every model of every pass is found back at its own number from what it is;
// a short history holds no periodic model to find.
TEST(ModelCatalogue, ModelListFindsEachModelByWhatItIs) {
  for (const int years : {25, 19}) {
    for (int option = 0; option <= 4; ++option) {
      const ModelList list = build_model_list(option, years);
      for (int m = 1; m <= list.NMOD; ++m) {
        const ModelInfo& info = list.model(m);
        EXPECT_EQ(list.number_of(info.series, info.family, info.order, info.grouping), m)
            << "option " << option << ", " << years << " years";
      }
    }
  }
  EXPECT_EQ(build_model_list(1, 25).number_of(2, ModelFamily::kParmaRo, 3), 92);
  EXPECT_THROW(build_model_list(0, 19).number_of(1, ModelFamily::kPar, 1, 1), std::out_of_range);
}

}  // namespace
}  // namespace darcalim
