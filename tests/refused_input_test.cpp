// Faulty cases: each is refused with a message that names what is wrong, a
// non-zero exit status, the state file left at 1, and the outputs of an
// earlier run left as they were.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <sstream>

#include "driver/run_driver.h"
#include "driver/run_result.h"
#include "tests/support/case_folder.h"

namespace darcalim {
namespace {

const char* const kStateRunning = "       1                                                                       \n";
const char* const kEarlierTable = "forecast table of an earlier run\n";

struct Refusal {
  const char* name;
  const char* base_case;
  std::function<void(const CaseFolder&)> edit;
  std::vector<const char*> message;  // texts the console must show
};

void PrintTo(const Refusal& r, std::ostream* os) { *os << r.name; }

class RefusedInput : public ::testing::TestWithParam<Refusal> {};

TEST_P(RefusedInput, StopsWithItsMessage) {
  const Refusal& r = GetParam();
  CaseFolder folder(r.base_case);
  folder.write("PREVISAO.DAT", kEarlierTable);
  r.edit(folder);
  std::ostringstream console;
  std::ostringstream errors;
  const RunResult result = run_case(folder.path(), console, errors);
  EXPECT_NE(result.exit_status, 0);
  EXPECT_FALSE(result.normal_end());
  // The reason of the stop, in one line, for callers that report many runs.
  EXPECT_FALSE(result.message.empty());
  EXPECT_EQ(result.message.find('\n'), std::string::npos) << result.message;
  EXPECT_TRUE(result.leads.empty());
  EXPECT_EQ(errors.str().rfind("darcalim: ", 0), 0u) << errors.str();
  for (const char* text : r.message) EXPECT_NE(console.str().find(text), std::string::npos) << console.str();
  EXPECT_EQ(folder.read("RUNSTATE.DAT"), kStateRunning);
  EXPECT_EQ(folder.read("PREVISAO.DAT"), kEarlierTable);
}

const char* const kWuerzburg = "s01_wuerzburg_o2";
const char* const kCochem = "s03_cochem_o0_vazp";

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedInput,
    ::testing::Values(
        Refusal{"NoCaseIndex", kWuerzburg, [](const CaseFolder& f) { f.remove("CASO.DAT"); }, {"CASO.DAT"}},
        Refusal{"NoCaseDataFile", kWuerzburg, [](const CaseFolder& f) { f.write("CASO.DAT", "NOCASE.DAT\n"); },
                {"NOCASE.DAT"}},
        Refusal{"CaseDataFileEndsEarly", kWuerzburg, [](const CaseFolder& f) { f.keep_lines("CASO1.DAT", 10); },
                {"CASO1.DAT", "LINHA 11"}},
        Refusal{"UnreadableOption", kWuerzburg, [](const CaseFolder& f) { f.replace_line("CASO1.DAT", 4, "x"); },
                {"CASO1.DAT", "LINHA 4", "'x'"}},
        Refusal{"OptionAboveFive", kWuerzburg, [](const CaseFolder& f) { f.replace_line("CASO1.DAT", 4, "7"); },
                {"CASO1.DAT", "LINHA 4"}},
        Refusal{"ReportNameWithoutDot", kWuerzburg,
                [](const CaseFolder& f) { f.replace_line("CASO1.DAT", 1, "CASO1REL"); }, {"CASO1.DAT", "LINHA 1"}},
        Refusal{"ReportNameDotBeyondNinth", kWuerzburg,
                [](const CaseFolder& f) { f.replace_line("CASO1.DAT", 1, "CASOABCDE.R"); },
                {"CASO1.DAT", "LINHA 1"}},
        Refusal{"ConfidenceAbove100", kWuerzburg, [](const CaseFolder& f) { f.replace_line("CASO1.DAT", 8, "150"); },
                {"CASO1.DAT", "LINHA 8"}},
        Refusal{"ForecastWeekAbove53", kWuerzburg, [](const CaseFolder& f) { f.replace_line("CASO1.DAT", 9, "54"); },
                {"CASO1.DAT", "LINHA 9"}},
        Refusal{"NoHistory", kWuerzburg, [](const CaseFolder& f) { f.remove("HIST1.DAT"); }, {"HIST1.DAT"}},
        Refusal{"UnreadableHistoryHeader", kWuerzburg,
                [](const CaseFolder& f) { f.replace_line("HIST1.DAT", 2, " 19x1 2010    604.8"); },
                {"HIST1.DAT", "LINHA 2"}},
        Refusal{"HistoryOfMoreThan100Years", kWuerzburg,
                [](const CaseFolder& f) { f.replace_line("HIST1.DAT", 2, " 1901 2010    604.8"); },
                {"HIST1.DAT", "LINHA 2", "100"}},
        Refusal{"UnreadableFlow", kWuerzburg,
                [](const CaseFolder& f) {
                  f.replace_line("HIST1.DAT", 10, "    100.    104.    2x9.    133.     94.     85.     98.     81.    150.");
                },
                {" ERRO NO ARQUIVO DE HISTORICO DE VAZOES             - ANO :1952 - SEMANA :   12\n\n",
                 " ERRO NA LEITURA DO ARQUIVO DE HISTORICO DE VAZOES\n"}},
        Refusal{"ZeroRecentFlowInTheHistory", kWuerzburg,
                [](const CaseFolder& f) {
                  auto lines = f.lines("HIST1.DAT");
                  std::string& line = lines.at(lines.size() - 4);  // weeks 19..27 of 2010
                  line.replace(48, 8, "      0.");                 // week 25
                  f.set_lines("HIST1.DAT", lines);
                },
                {"\n  ERRO : VAZOES NULAS NO HISTORICO \n\n         INFORMAR A TENDENCIA  HIDROLOGICA POR MEIO DO "
                 "ARQUIVO VAZPASTS \n\n"}},
        Refusal{"NoRecentFlowFile", kCochem, [](const CaseFolder& f) { f.remove("VAZPASTS.DAT"); },
                {"VAZPASTS.DAT", " NAO FOI FORNECIDO CORRETAMENTE A TENDENCIA HIDROLOGI   CA DO CASO"}},
        Refusal{"ZeroRecentFlowInVazpasts", kCochem,
                [](const CaseFolder& f) {
                  f.replace_line("VAZPASTS.DAT", 4, "   13 COCHEM           88.60      0.00    102.16     78.44");
                },
                {" NAO FOI FORNECIDO CORRETAMENTE A TENDENCIA HIDROLOGI   CA DO CASO EM PROCESSAMENTO, NAO FOI "
                 "ENCONTRADO O ARQUIVO OU AL   GUMA DAS VAZOES DESTE ESTA ZERADA\n"}},
        Refusal{"RecentFlowStationAbove600", kCochem,
                [](const CaseFolder& f) {
                  f.write("VAZPASTS.DAT", f.read("VAZPASTS.DAT") + "  601 ELSEWHERE        1.00      1.00      1.00      1.00\n");
                },
                {"VAZPASTS.DAT", "LINHA 8"}},
        Refusal{"CaseStationAbove600", kCochem, [](const CaseFolder& f) { f.replace_line("CASO3.DAT", 14, "700"); },
                {"CASO3.DAT", "LINHA 14"}}),
    [](const ::testing::TestParamInfo<Refusal>& case_info) { return std::string(case_info.param.name); });

TEST(NegativeFlow, StopsWithCode2001) {
  CaseFolder folder(kWuerzburg);
  folder.replace_line("HIST1.DAT", 10, "    100.   -104.    209.    133.     94.     85.     98.     81.    150.");
  std::ostringstream console;
  std::ostringstream errors;
  const RunResult result = run_case(folder.path(), console, errors);
  EXPECT_NE(result.exit_status, 0);
  EXPECT_EQ(result.message, "OCORRENCIA DE VAZOES NEGATIVAS");
  const std::string line1 = "       1" + std::string(71, ' ') + "\n";
  const std::string line2001 = "    2001" + std::string(71, ' ') + "\n";
  EXPECT_EQ(folder.read("RUNTRACE.DAT"), line1 + line2001);
  EXPECT_EQ(folder.read("RUNSTATE.DAT"), line2001);
  const std::string report = folder.read("CASO1.REL");
  const std::string message = "\n\n***** OCORRENCIA DE VAZOES NEGATIVAS *****\n";
  ASSERT_GE(report.size(), message.size());
  EXPECT_EQ(report.substr(report.size() - message.size()), message);
  EXPECT_FALSE(std::filesystem::exists(folder.path() / "PREVP.DAT"));
  EXPECT_FALSE(std::filesystem::exists(folder.path() / "RANK1.CSV"));
}

// A stop of the run: non-zero exit, the state file left at 1, the trace
// holding the start only, and the run report ending with the stop's message;
// the stop's reason as run_case tells it.
std::string expect_stop_with_report_ending(const CaseFolder& folder, const std::string& report_name,
                                           const std::string& message) {
  std::ostringstream console;
  std::ostringstream errors;
  const RunResult result = run_case(folder.path(), console, errors);
  EXPECT_NE(result.exit_status, 0);
  EXPECT_EQ(folder.read("RUNSTATE.DAT"), kStateRunning);
  EXPECT_EQ(folder.read("RUNTRACE.DAT"), kStateRunning);
  const std::string report = folder.read(report_name);
  EXPECT_GE(report.size(), message.size());
  if (report.size() >= message.size()) {
    EXPECT_EQ(report.substr(report.size() - message.size()), message);
  }
  return result.message;
}

// Week 1 of the Cochem case flows 100 in every year.
void give_week_one_zero_variance(const CaseFolder& folder) {
  auto lines = folder.lines("HIST3.DAT");
  for (std::size_t first = 2; first < lines.size(); first += 6) lines[first].replace(0, 16, "    100.    100.");
  folder.set_lines("HIST3.DAT", lines);
}

constexpr const char* kZeroVarianceEnding = "***** ENCONTRADO VARIANCIA NULA PARA A SEMANA   1 *****\n\n";

TEST(RunStops, WeekOfZeroVariance) {
  CaseFolder folder(kCochem);
  give_week_one_zero_variance(folder);
  EXPECT_EQ(expect_stop_with_report_ending(folder, "CASO3.REL", kZeroVarianceEnding),
            "ENCONTRADO VARIANCIA NULA PARA A SEMANA 1");
}

// When the stop is reported the report already holds what was written before
// it, though the run and its open files live on.
TEST(RunStops, TheReportHoldsItsTextWhenTheStopIsReported) {
  CaseFolder folder(kCochem);
  give_week_one_zero_variance(folder);
  std::ostringstream console;
  std::ostringstream errors;
  auto run = std::make_unique<darcalim::Run>(folder.path(), console, errors);
  ASSERT_NE(run_darcalim(*run), 0);
  EXPECT_NE(errors.str(), "");
  EXPECT_TRUE(folder.read("CASO3.REL").ends_with(kZeroVarianceEnding));
}

TEST(RunStops, BoxCoxExponentAboveFour) {
  // Week 1: every year 100 but two years 1, a skewness below zero whatever
  // the exponent of the search.
  CaseFolder folder(kWuerzburg);
  auto lines = folder.lines("HIST1.DAT");
  for (std::size_t first = 2, year = 0; first < lines.size(); first += 6, ++year) {
    lines[first].replace(0, 8, year < 2 ? "      1." : "    100.");
  }
  folder.set_lines("HIST1.DAT", lines);
  EXPECT_EQ(expect_stop_with_report_ending(
                folder, "CASO1.REL",
                "\n\n*** A TRANSFORMACAO BOX-COX NAO E APROPRIADA PARA ESTE CASO. USE OUTRA TRANSFORMACAO ***\n"),
            "A TRANSFORMACAO BOX-COX NAO E APROPRIADA PARA ESTE CASO");
  const std::string summary = folder.read("CASO1.BCX");
  EXPECT_NE(summary.find("VALORES DE LAMBDA"), std::string::npos);
  EXPECT_EQ(summary.find("\n              2 "), std::string::npos);  // no row after the week that stops
}

TEST(TraceFiles, TwoRunsInOneFolderKeepBothTraces) {
  CaseFolder folder(kWuerzburg);
  std::ostringstream console;
  ASSERT_EQ(run_darcalim(folder.path(), console), 0) << console.str();
  ASSERT_EQ(run_darcalim(folder.path(), console), 0) << console.str();
  const std::string line1 = "       1" + std::string(71, ' ') + "\n";
  const std::string line0 = "       0" + std::string(71, ' ') + "\n";
  EXPECT_EQ(folder.read("RUNTRACE.DAT"), line1 + line0 + line1 + line0);
  EXPECT_EQ(folder.read("RUNSTATE.DAT"), line0);
}

}  // namespace
}  // namespace darcalim
