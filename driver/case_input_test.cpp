#include "driver/case_input.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "common/run_stop.h"

namespace darcalim {
namespace {

// A history of 1951-2010 and a case read from CASO1.DAT.
FlowHistory history_1951_2010() {
  FlowHistory h;
  h.first_year = 1951;
  h.last_year = 2010;
  h.NANOSARQ = 60;
  return h;
}

CaseSettings case_of(int trend_source, int ANOPREV, int ANOFEST) {
  CaseSettings c;
  c.case_file_name = "CASO1.DAT";
  c.trend_source = trend_source;
  c.ANOPREV = ANOPREV;
  c.ANOFEST = ANOFEST;
  return c;
}

TEST(CaseAgainstHistory, YearsTheHistoryCannotServeAreFaultsOfTheCaseDataFile) {
  struct Fault {
    const char* what;
    CaseSettings c;
    const char* diagnostic;
  };
  const Fault faults[] = {
      {"forecast year beyond the table", case_of(0, 2200, 2009),
       "CASO1.DAT, line 10 (forecast year): 2200 is outside the years 1951-2050 that the history HIST1.DAT can hold"},
      {"forecast year before the history", case_of(0, 1950, 1949),
       "CASO1.DAT, line 10 (forecast year): 1950 is outside the years 1951-2050 that the history HIST1.DAT can hold"},
      {"estimation year read from the case", case_of(0, 2010, 1951),
       "CASO1.DAT, line 13 (last estimation year): the last estimation year 1951 leaves fewer than 2 years of the "
       "history HIST1.DAT, which begins in 1951"},
      {"estimation year following from the forecast year", case_of(1, 1952, 1951),
       "CASO1.DAT, line 10 (forecast year): the last estimation year 1951 leaves fewer than 2 years of the history "
       "HIST1.DAT, which begins in 1951"},
  };
  for (const Fault& f : faults) {
    SCOPED_TRACE(f.what);
    CaseSettings c = f.c;
    std::ostringstream console;
    try {
      reconcile_case_with_history(c, history_1951_2010(), "HIST1.DAT", console);
      ADD_FAILURE() << "not refused";
    } catch (const RunStop& stop) {
      EXPECT_EQ(stop.diagnostic(), f.diagnostic);
    }
    EXPECT_EQ(console.str(), "");
  }
}

TEST(CaseAgainstHistory, EstimationYearAfterTheHistoryWarnsAndBecomesItsLastYear) {
  CaseSettings c = case_of(0, 2011, 2012);
  std::ostringstream console;
  reconcile_case_with_history(c, history_1951_2010(), "HIST1.DAT", console);
  EXPECT_EQ(c.ANOFEST, 2010);
  EXPECT_EQ(console.str(),
            " ATENCAO : ANO FINAL PARA ESTIMACAO DOS PARAMETROS   2012  MAIOR DO QUE O ANO FINAL DO HISTORICO   2010"
            "   -  SERA ADOTADO O VALOR DE   2010\n");

  CaseSettings within = case_of(0, 2010, 2009);
  std::ostringstream quiet;
  reconcile_case_with_history(within, history_1951_2010(), "HIST1.DAT", quiet);
  EXPECT_EQ(within.ANOFEST, 2009);
  EXPECT_EQ(quiet.str(), "");
}

}  // namespace
}  // namespace darcalim
