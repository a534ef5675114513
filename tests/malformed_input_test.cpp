// Malformed input: case folders made from the shipped example, one fault
// each. Every case must end as its row says (a stop or a normal end), with
// the console and standard-error texts it names, the state code, the exit
// status, the appended forecast file of an earlier run intact, and nothing
// written outside the case folder. A row may run the case under a limit on
// the size of the files (a file that cannot grow, as on a full disk) or
// while another run holds the folder.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <functional>
#include <optional>
#include <sstream>

#include "common/file_access.h"
#include "driver/run_driver.h"
#include "tests/support/faulty_case.h"
#include "tests/support/file_size_limit.h"

namespace darcalim {
namespace {

using testing::FaultyCase;

const std::string kLongTail(1 << 20, 'S');  // makes a line of 1 MB

struct Fault {
  const char* name;
  std::function<void(const FaultyCase&)> make;
  int exit_status;          // 1: a stop
  const char* state;        // code of RUNSTATE.DAT ("" when the stop comes before it is written)
  const char* diagnostic;   // text of the last line of standard error, after "darcalim: " ("FOLDER": the case folder)
  const char* console = ""; // a text the console must show
  const char* warning = ""; // a line standard error must show before the last
  rlim_t file_size_limit = RLIM_INFINITY;  // bytes a file may reach during the run
  bool folder_busy = false; // another run holds the folder
};

void PrintTo(const Fault& f, std::ostream* os) { *os << f.name; }

std::string state_line(const std::string& code) {
  if (code.empty()) return "";
  return std::string(8 - code.size(), ' ') + code + std::string(71, ' ') + "\n";
}

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

class MalformedInput : public ::testing::TestWithParam<Fault> {};

TEST_P(MalformedInput, EndsAsExpected) {
  const Fault& f = GetParam();
  FaultyCase c;
  f.make(c);
  const auto outside_before = c.entries_outside();
  std::ostringstream console;
  std::ostringstream errors;
  int status = 0;
  {
    const FileSizeLimit limit(f.file_size_limit);
    const std::optional<FolderLock> other_run = f.folder_busy ? std::make_optional<FolderLock>(c.folder()) : std::nullopt;
    status = run_darcalim(c.folder(), console, errors);
  }

  EXPECT_EQ(status, f.exit_status) << console.str() << errors.str();
  const auto error_lines = lines_of(errors.str());
  ASSERT_FALSE(error_lines.empty()) << "nothing on standard error; console:\n" << console.str();
  std::string diagnostic = f.diagnostic;
  if (diagnostic.starts_with("FOLDER")) diagnostic.replace(0, 6, c.folder().string());
  EXPECT_EQ(error_lines.back(), "darcalim: " + diagnostic);
  for (const auto& line : error_lines) EXPECT_EQ(line.rfind("darcalim: ", 0), 0u) << line;
  if (*f.warning != '\0') {
    ASSERT_GE(error_lines.size(), 2u);
    EXPECT_EQ(error_lines[error_lines.size() - 2], std::string("darcalim: ") + f.warning);
  }
  EXPECT_NE(console.str().find(f.console), std::string::npos) << console.str();
  EXPECT_EQ(console.str().find('\0'), std::string::npos) << "the console shows a raw NUL";
  EXPECT_EQ(c.read("RUNSTATE.DAT"), state_line(f.state));
  EXPECT_EQ(c.read("PREVS.DAT"), FaultyCase::kEarlierRecords);
  EXPECT_EQ(c.entries_outside(), outside_before);
}

const char* const kRefusedOutputName = "NOME DE ARQUIVO DE SAIDA INVALIDO";

INSTANTIATE_TEST_SUITE_P(
    Faults, MalformedInput,
    ::testing::Values(
        // --- every stop names its file and line
        Fault{"UnreadableFlow", [](const FaultyCase& c) { c.set_flow(22, 12, "    1O2."); }, 1, "1",
              "HIST1.DAT, line 22 (year 1954, week 12): \"1O2.\" is not a number",
              " ERRO NA LEITURA DO ARQUIVO DE HISTORICO DE VAZOES"},
        Fault{"NegativeFlow", [](const FaultyCase& c) { c.set_flow(22, 12, "   -102."); }, 1, "2001",
              "HIST1.DAT, line 22 (year 1954, week 12): negative flow -102; stopped (details in CASO1.REL)"},
        Fault{"ZeroRecentFlowInTheHistory", [](const FaultyCase& c) { c.set_flow(359, 25, "      0."); }, 1, "1",
              "HIST1.DAT, line 359 (year 2010, week 25): the flow 1 week before the forecast week is zero; give the "
              "recent flows in a VAZPASTS file",
              " ERRO : VAZOES NULAS NO HISTORICO"},
        Fault{"ZeroVariance",
              [](const FaultyCase& c) {
                c.set_line(FaultyCase::kCase, 4, "0");
                for (int line = 3; line < 362; line += 6) c.set_flow(line, 1, "    100.");
              },
              1, "1", "HIST1.DAT: ENCONTRADO VARIANCIA NULA PARA A SEMANA 1; stopped (details in CASO1.REL)"},
        Fault{"BoxCoxExponentAboveFour",
              [](const FaultyCase& c) {
                for (int line = 3, year = 0; line < 362; line += 6, ++year) {
                  c.set_flow(line, 1, year < 2 ? "      1." : "    100.");
                }
              },
              1, "1",
              "HIST1.DAT: A TRANSFORMACAO BOX-COX NAO E APROPRIADA PARA ESTE CASO. USE OUTRA TRANSFORMACAO; "
              "stopped (details in CASO1.REL)"},
        Fault{"ForecastYearOutsideTheHistory", [](const FaultyCase& c) { c.set_line(FaultyCase::kCase, 10, "2200"); },
              1, "1",
              "CASO1.DAT, line 10 (forecast year): 2200 is outside the years 1951-2050 that the history HIST1.DAT "
              "can hold"},
        Fault{"EstimationYearBeforeTheHistory",
              [](const FaultyCase& c) {
                c.use_recent_flow_file();
                c.set_line(FaultyCase::kCase, 13, "1900");
              },
              1, "1",
              "CASO1.DAT, line 13 (last estimation year): the last estimation year 1900 leaves fewer than 2 years "
              "of the history HIST1.DAT, which begins in 1951"},
        Fault{"StationOutside1To600",
              [](const FaultyCase& c) {
                c.use_recent_flow_file();
                c.set_line(FaultyCase::kCase, 14, "700");
              },
              1, "1", "CASO1.DAT, line 14 (station number): 700 is outside 1..600"},
        Fault{"NoLineForTheStationInVazpasts",
              [](const FaultyCase& c) {
                c.use_recent_flow_file();
                c.set_line(FaultyCase::kCase, 14, " 15");
              },
              1, "1", "VAZPASTS.DAT: no line for station 15 (the file ends at line 4)",
              " NAO FOI FORNECIDO CORRETAMENTE A TENDENCIA"},
        Fault{"ZeroRecentFlowInVazpasts",
              [](const FaultyCase& c) {
                c.use_recent_flow_file();
                c.set_line("VAZPASTS.DAT", 4, "   14 WUERZBURG        90.00      0.00    153.00    112.00");
              },
              1, "1",
              "VAZPASTS.DAT, line 4 (station 14, flow 2 weeks before the forecast week): the flow is zero"},
        Fault{"NegativeRecentFlowInVazpasts",
              [](const FaultyCase& c) {
                c.use_recent_flow_file();
                c.set_line("VAZPASTS.DAT", 4, "   14 WUERZBURG        -5.00    126.00    153.00    112.00");
              },
              1, "2001",
              "VAZPASTS.DAT, line 4 (station 14, flow 1 week before the forecast week): negative flow -5; stopped "
              "(details in CASO1.REL)"},
        Fault{"NoVazpasts",
              [](const FaultyCase& c) {
                c.use_recent_flow_file();
                c.remove("VAZPASTS.DAT");
              },
              1, "1", "VAZPASTS.DAT: file not found or not readable (it gives the recent flows of station 14)"},
        Fault{"UnreadableCaseValue", [](const FaultyCase& c) { c.set_line(FaultyCase::kCase, 4, "x"); }, 1, "1",
              "CASO1.DAT, line 4 (transformation option): \"x\" is not a number", "LINHA 4"},
        Fault{"CaseDataFileEndsEarly",
              [](const FaultyCase& c) { c.cut(FaultyCase::kCase, c.read(FaultyCase::kCase).find("2010\n") + 5); }, 1,
              "1", "CASO1.DAT, line 11 (trend source): the file ends before this line"},
        Fault{"NoHistory", [](const FaultyCase& c) { c.remove("HIST1.DAT"); }, 1, "1",
              "HIST1.DAT: file not found or not readable"},
        Fault{"NoCaseIndex", [](const FaultyCase& c) { c.remove("CASO.DAT"); }, 1, "1",
              "CASO.DAT: file not found or not readable"},
        // --- output names stay in the working folder
        Fault{"ForecastFileOutsideTheFolder",
              [](const FaultyCase& c) { c.set_line(FaultyCase::kCase, 6, "../PREVS.DAT"); }, 1, "1",
              "CASO1.DAT, line 6 (appended forecast file name): \"../PREVS.DAT\" must be a plain file name in the "
              "working folder (no \"/\" or \"\\\")",
              kRefusedOutputName},
        Fault{"RankingReportInASubfolder", [](const FaultyCase& c) { c.set_line(FaultyCase::kCase, 7, "x/RANK1.CSV"); },
              1, "1",
              "CASO1.DAT, line 7 (error-ranking report name): \"x/RANK1.CSV\" must be a plain file name in the "
              "working folder (no \"/\" or \"\\\")"},
        Fault{"ReportNameWithBackslash", [](const FaultyCase& c) { c.set_line(FaultyCase::kCase, 1, "..\\C1.REL"); },
              1, "1",
              "CASO1.DAT, line 1 (report file name): \"..\\\\C1.REL\" must be a plain file name in the working folder "
              "(no \"/\" or \"\\\")"},
        Fault{"ReportNamedDotDot", [](const FaultyCase& c) { c.set_line(FaultyCase::kCase, 1, ".."); }, 1, "1",
              "CASO1.DAT, line 1 (report file name): \"..\" names a folder"},
        Fault{"ReportNamedLikeTheHistory", [](const FaultyCase& c) { c.set_line(FaultyCase::kCase, 1, "HIST1.DAT"); },
              1, "1", "CASO1.DAT, line 1 (report file name): \"HIST1.DAT\" is the name of an input file of the run"},
        Fault{"ForecastFileNamedLikeTheCase", [](const FaultyCase& c) { c.set_line(FaultyCase::kCase, 6, "CASO1.DAT"); },
              1, "1",
              "CASO1.DAT, line 6 (appended forecast file name): \"CASO1.DAT\" is the name of an input file of the run"},
        Fault{"RankingReportIsAFolder",
              [](const FaultyCase& c) { std::filesystem::create_directory(c.folder() / "RANK1.CSV"); }, 1, "1",
              "CASO1.DAT, line 7 (error-ranking report name): \"RANK1.CSV\" names an existing folder"},
        Fault{"RunReportNamedLikeThePercentileFile",
              [](const FaultyCase& c) {
                c.use_percentile_file();
                c.set_line(FaultyCase::kCase, 1, "PERC1.DAT");
              },
              1, "1", "CASO1.DAT, line 1 (report file name): \"PERC1.DAT\" is the name of an input file of the run"},
        // --- every file of the run has a name of its own
        Fault{"ForecastFileNamedLikeTheRunReport",
              [](const FaultyCase& c) { c.set_line(FaultyCase::kCase, 6, "CASO1.REL   "); }, 1, "1",
              "CASO1.DAT, line 6 (appended forecast file name): \"CASO1.REL\" is also the name of the run report "
              "(line 1)",
              kRefusedOutputName},
        Fault{"RunReportNamedLikeTheForecastFile",
              [](const FaultyCase& c) { c.set_line(FaultyCase::kCase, 1, "PREVS.DAT"); }, 1, "1",
              "CASO1.DAT, line 6 (appended forecast file name): \"PREVS.DAT\" is also the name of the run report "
              "(line 1)"},
        Fault{"RankingReportNamedLikeTheRunReport",
              [](const FaultyCase& c) { c.set_line(FaultyCase::kCase, 7, "CASO1.REL"); }, 1, "1",
              "CASO1.DAT, line 7 (error-ranking report name): \"CASO1.REL\" is also the name of the run report "
              "(line 1)"},
        Fault{"ForecastFileNamedLikeTheTraceFile",
              [](const FaultyCase& c) { c.set_line(FaultyCase::kCase, 6, "RUNTRACE.DAT"); }, 1, "1",
              "CASO1.DAT, line 6 (appended forecast file name): \"RUNTRACE.DAT\" is also the name of the trace file"},
        Fault{"ForecastFileNamedLikeTheForecastTable",
              [](const FaultyCase& c) { c.set_line(FaultyCase::kCase, 6, "PREVISAO.DAT"); }, 1, "1",
              "CASO1.DAT, line 6 (appended forecast file name): \"PREVISAO.DAT\" is also the name of the forecast "
              "table"},
        Fault{"ForecastFileNamedLikeTheBoxCoxReport",
              [](const FaultyCase& c) { c.set_line(FaultyCase::kCase, 6, "CASO1.BCX"); }, 1, "1",
              "CASO1.DAT, line 6 (appended forecast file name): \"CASO1.BCX\" is also the name of the Box-Cox report "
              "(named after line 1)"},
        Fault{"RunReportNamedLikeItsBoxCoxReport",
              [](const FaultyCase& c) { c.set_line(FaultyCase::kCase, 1, "CASO1.BCX"); }, 1, "1",
              "CASO1.DAT, line 1 (report file name): \"CASO1.BCX\" (the Box-Cox report named after it) is also the "
              "name of the run report (line 1)"},
        Fault{"RankingReportNamedLikeTheModelFile",
              [](const FaultyCase& c) {
                c.use_percentile_file();
                c.set_line(FaultyCase::kCase, 1, "C1.REL");
                c.set_line(FaultyCase::kCase, 7, "C1_MOD.DAT");
              },
              1, "1",
              "CASO1.DAT, line 7 (error-ranking report name): \"C1_MOD.DAT\" is also the name of the model file "
              "(named after line 1)"},
        Fault{"RankingReportHardLinkedToTheRunReport",
              [](const FaultyCase& c) {
                c.write("CASO1.REL", "report of an earlier run\n");
                std::filesystem::create_hard_link(c.folder() / "CASO1.REL", c.folder() / "RANK2.CSV");
                c.set_line(FaultyCase::kCase, 7, "RANK2.CSV");
              },
              1, "1",
              "CASO1.DAT, line 7 (error-ranking report name): \"RANK2.CSV\" is also the name of the run report (line "
              "1)"},
        Fault{"HistoryNamedLikeTheForecastTable",
              [](const FaultyCase& c) {
                std::filesystem::rename(c.folder() / FaultyCase::kHistory, c.folder() / "PREVISAO.DAT");
                c.set_line(FaultyCase::kCase, 3, "PREVISAO.DAT");
              },
              1, "1",
              "CASO1.DAT, line 3 (history file name): \"PREVISAO.DAT\" is the name of the forecast table, which the "
              "run writes"},
        // --- no output is written through a link, or waited on
        Fault{"RankingReportIsALinkOutside",
              [](const FaultyCase& c) { std::filesystem::create_symlink("../RANK1.CSV", c.folder() / "RANK1.CSV"); }, 1,
              "1",
              "CASO1.DAT, line 7 (error-ranking report name): \"RANK1.CSV\" names a symbolic link, not a regular "
              "file"},
        Fault{"ForecastFileIsALink",
              [](const FaultyCase& c) {
                std::filesystem::rename(c.folder() / "PREVS.DAT", c.folder() / "PREVS-1.DAT");
                std::filesystem::create_symlink("PREVS-1.DAT", c.folder() / "PREVS.DAT");
              },
              1, "1",
              "CASO1.DAT, line 6 (appended forecast file name): \"PREVS.DAT\" names a symbolic link, not a regular "
              "file"},
        Fault{"RunReportIsAFifo", [](const FaultyCase& c) { mkfifo((c.folder() / "CASO1.REL").c_str(), 0600); }, 1, "1",
              "CASO1.DAT, line 1 (report file name): \"CASO1.REL\" names a FIFO, not a regular file"},
        // --- inputs are regular files, never waited on or read without end
        Fault{"HistoryIsAFifo",
              [](const FaultyCase& c) {
                c.remove(FaultyCase::kHistory);
                mkfifo((c.folder() / FaultyCase::kHistory).c_str(), 0600);
              },
              1, "1", "HIST1.DAT: not a regular file (a FIFO has its name)"},
        Fault{"HistoryIsALinkToADevice",
              [](const FaultyCase& c) {
                c.remove(FaultyCase::kHistory);
                std::filesystem::create_symlink("/dev/zero", c.folder() / FaultyCase::kHistory);
              },
              1, "1", "HIST1.DAT: not a regular file (a device has its name)"},
        // --- outputs that cannot be written
        Fault{"ForecastTableIsAFolder",
              [](const FaultyCase& c) { std::filesystem::create_directory(c.folder() / "PREVISAO.DAT"); }, 1, "",
              "PREVISAO.DAT: cannot be written (a folder has its name)", "PREVISAO.DAT"},
        // --- the fixed outputs: checked before the run writes anything
        Fault{"TraceFileIsALink",
              [](const FaultyCase& c) { std::filesystem::create_symlink("/dev/full", c.folder() / "RUNTRACE.DAT"); },
              1, "", "RUNTRACE.DAT: cannot be written (a symbolic link has its name)"},
        Fault{"RecordFileIsALinkOutside",
              [](const FaultyCase& c) { std::filesystem::create_symlink("../PREVT.DAT", c.folder() / "PREVT.DAT"); }, 1,
              "", "PREVT.DAT: cannot be written (a symbolic link has its name)"},
        Fault{"ForecastTableIsAFifo",
              [](const FaultyCase& c) { mkfifo((c.folder() / "PREVISAO.DAT").c_str(), 0600); }, 1, "",
              "PREVISAO.DAT: cannot be written (a FIFO has its name)"},
        Fault{"RecordFileIsAFolder",
              [](const FaultyCase& c) { std::filesystem::create_directory(c.folder() / "PREVT.DAT"); }, 1, "",
              "PREVT.DAT: cannot be written (a folder has its name)"},
        Fault{"RecordFileOfPartRecords",
              [](const FaultyCase& c) { c.write("PREVP.DAT", std::string(1000, '\0')); }, 1, "",
              "PREVP.DAT: 1000 bytes are not a whole number of records of 752 bytes (not a file of simulated "
              "forecasts; remove it)"},
        // --- the run's record is written last: a stop before it leaves none
        Fault{"RecordFileCannotGrow", [](const FaultyCase&) {}, 1, "1", "PREVT.DAT: cannot be written (File too large)",
              "", "", 2'200'000},
        Fault{"ModelFileCannotGrow",
              [](const FaultyCase& c) {
                c.use_percentile_file();
                // Lines up to 100 bytes below the limit: no room for one more.
                std::string text = "  CODIGO\n";
                while (text.size() < 3'000'000 - 100 - 151) text += std::string(150, ' ') + "\n";
                text += std::string(3'000'000 - 100 - text.size() - 1, ' ') + "\n";
                c.write("CASO1_MOD.DAT", text);
              },
              1, "1", "CASO1_MOD.DAT: cannot be written (File too large)", "", "", 3'000'000},
        // --- two runs in one folder
        Fault{"AnotherRunInTheFolder", [](const FaultyCase&) {}, 1, "",
              "FOLDER: another run is under way in this folder; this one stops without writing anything",
              " ERRO: OUTRA EXECUCAO EM ANDAMENTO NA PASTA", "", RLIM_INFINITY, true},
        // --- limits on input size and form
        Fault{"OneMegabyteLine",
              [](const FaultyCase& c) {
                c.set_line(FaultyCase::kCase, 2, "S" + kLongTail);
                c.set_line(FaultyCase::kCase, 10, "2200");
              },
              1, "1",
              "CASO1.DAT, line 10 (forecast year): 2200 is outside the years 1951-2050 that the history HIST1.DAT "
              "can hold"},
        Fault{"NulByteInAField", [](const FaultyCase& c) { c.set_line(FaultyCase::kCase, 4, std::string(1, '\0')); },
              1, "1", "CASO1.DAT, line 4 (transformation option): \"\\0\" is not a number", "'\\0'"},
        Fault{"ByteOrderMarks",
              [](const FaultyCase& c) {
                c.write("CASO.DAT", "\xEF\xBB\xBF" + c.read("CASO.DAT"));
                c.write(FaultyCase::kCase, "\xEF\xBB\xBF" + c.read(FaultyCase::kCase));
                c.set_line(FaultyCase::kCase, 10, "2200");
              },
              1, "1",
              "CASO1.DAT, line 10 (forecast year): 2200 is outside the years 1951-2050 that the history HIST1.DAT "
              "can hold"},
        Fault{"CrLfLineEnds",
              [](const FaultyCase& c) {
                c.set_flow(22, 12, "    1O2.");
                for (const char* file : {"CASO.DAT", FaultyCase::kCase, FaultyCase::kHistory}) {
                  c.set_lines(file, c.lines(file), "\r\n");
                }
              },
              1, "1", "HIST1.DAT, line 22 (year 1954, week 12): \"1O2.\" is not a number"},
        Fault{"HistoryEndsMidLineDecadesEarly",
              [](const FaultyCase& c) { c.cut(FaultyCase::kHistory, c.read(FaultyCase::kHistory).find("\n", 9000) - 20); },
              1, "1",
              "HIST1.DAT (year 2010, week 25), after the end of the file: the flow 1 week before the forecast week is "
              "zero; give the recent flows in a VAZPASTS file",
              "", "HIST1.DAT: the file ends at line 129 (year 1972, week 9); years 1973-2010 declared on line 2 have "
                  "no flows and are read as zero"},
        // --- the percentile file
        Fault{"NoPercentileFile",
              [](const FaultyCase& c) {
                c.use_percentile_file();
                c.remove("PERC1.DAT");
              },
              1, "1", "PERC1.DAT: file not found or not readable", " ERRO NA LEITURA DO ARQUIVO DE PERCENTIS PERC1.DAT"},
        Fault{"PercentileFileTooShort",
              [](const FaultyCase& c) {
                c.use_percentile_file();
                c.cut("PERC1.DAT", c.read("PERC1.DAT").find(" 9\t"));
              },
              1, "1", "PERC1.DAT, line 11: the file ends before the percentiles of period 9 of 12"},
        Fault{"PercentilePeriodOutsideTheGrouping",
              [](const FaultyCase& c) {
                c.use_percentile_file();
                c.set_line("PERC1.DAT", 5, "13\t10.0\t90.0");
              },
              1, "1", "PERC1.DAT, line 5: period 13 is outside 1..12"}),
    [](const ::testing::TestParamInfo<Fault>& row) { return std::string(row.param.name); });

// An earlier run killed while it wrote its record left the first line and a
// part of the second: the run cuts them off, says so, and appends its own
// record after the earlier whole ones.
TEST(TornRecord, IsCutBackBeforeTheRunAppends) {
  FaultyCase c;
  const std::string torn = "      14  2010    6   26     90.0     91.0     92.0     93.0     94.0     95.0\nLIM. INF";
  c.write("PREVS.DAT", std::string(FaultyCase::kEarlierRecords) + torn);
  std::ostringstream console;
  std::ostringstream errors;
  ASSERT_EQ(run_darcalim(c.folder(), console, errors), 0) << errors.str();
  EXPECT_EQ(errors.str(), "darcalim: PREVS.DAT: the last record was cut short by an earlier run; its " +
                              std::to_string(torn.size()) + " bytes are removed\n");
  const std::vector<std::string> lines = lines_of(c.read("PREVS.DAT"));
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(c.read("PREVS.DAT").substr(0, std::string(FaultyCase::kEarlierRecords).size()),
            FaultyCase::kEarlierRecords);
  EXPECT_EQ(lines[4].substr(0, 26), "      14  2010    6   26  ");
  EXPECT_EQ(lines[5].substr(0, 13), "LIM. INFERIOR");
  EXPECT_EQ(lines[6].substr(0, 13), "LIM. SUPERIOR");
}

}  // namespace
}  // namespace darcalim
