#include "common/model_catalogue.h"

#include <gtest/gtest.h>

#include <stdexcept>

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
  EXPECT_EQ(combined_bounds(20).total, 140);
  EXPECT_EQ(combined_bounds(19).first_logarithmic, 18);
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
