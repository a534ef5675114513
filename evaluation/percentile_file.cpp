#include "evaluation/percentile_file.h"

#include <cstdint>
#include <string>

#include "common/input_file.h"
#include "common/layout.h"
#include "common/run_stop.h"

namespace darcalim {

namespace {

// Stops the run: the console line of the percentile file, and a diagnostic
// naming the file, the line (0 when none) and the reason.
[[noreturn]] void refuse(const std::filesystem::path& path, std::ostream& console, int line, const std::string& reason) {
  const std::string name = path.filename().string();
  const std::string message = " ERRO NA LEITURA DO ARQUIVO DE PERCENTIS " + name;
  console << message << "\n";
  throw RunStop::after_messages(message, located(printable(name), line) + ": " + reason);
}

// Why a line could not be read through its layout.
std::string read_fault(const ReadOutcome& outcome, const std::string& what) {
  if (outcome.status == ReadOutcome::Status::kEndOfFile) return "the file ends before " + what;
  return "\"" + printable(outcome.field_text) + "\" is not a number (" + what + ")";
}

// The line at fault: the line that could not be read, or the missing line
// after the last one.
int fault_line(const ReadOutcome& outcome) {
  return outcome.status == ReadOutcome::Status::kEndOfFile ? outcome.line_number + 1 : outcome.line_number;
}

// Grouping of a period code: 1 weeks (G4), 2 months (G3), 3 quarters (G2),
// 4 half-years (G1).
int grouping_of(int CODPER) { return kGroupings + 1 - CODPER; }

int read_code(InputFile& file, const std::filesystem::path& path, std::ostream& console, const std::string& what) {
  static const Layout kCode("(I1)");
  FieldValues v;
  const ReadOutcome outcome = kCode.read_record(file, v);
  if (!outcome.ok()) refuse(path, console, fault_line(outcome), read_fault(outcome, what));
  return static_cast<int>(std::get<std::int64_t>(v.at(0)));
}

}  // namespace

void read_percentile_file(const std::filesystem::path& path, const WeekGroupings& GRUPO, int NSEM,
                          std::ostream& console, PercentileTable& table) {
  InputFile file(path);
  if (!file.is_open()) refuse(path, console, 0, file.fault());
  table.CODPER = read_code(file, path, console, "the period code");
  table.CODCLA = read_code(file, path, console, "the flow-class code");
  if (table.CODPER < 1 || table.CODPER > 4) return;
  const WeekGrouping& grouping = GRUPO(grouping_of(table.CODPER));
  const int periods = table.CODPER == 1 ? NSEM : grouping.NPER;
  static const Layout kPeriod("(I2,'\t',F4.1,'\t',F4.1)");
  for (int line = 1; line <= periods; ++line) {
    FieldValues v;
    const std::string what = "the percentiles of period " + std::to_string(line) + " of " + std::to_string(periods);
    const ReadOutcome outcome = kPeriod.read_record(file, v);
    if (!outcome.ok()) refuse(path, console, fault_line(outcome), read_fault(outcome, what));
    const int period = static_cast<int>(std::get<std::int64_t>(v.at(0)));
    if (period < 1 || period > periods) {
      refuse(path, console, outcome.line_number,
             "period " + std::to_string(period) + " is outside 1.." + std::to_string(periods));
    }
    for (int t = grouping.INIPER(period); t <= grouping.INIPER(period + 1) - 1; ++t) {
      table.PERCINF(t) = std::get<double>(v.at(1));
      table.PERCSUP(t) = std::get<double>(v.at(2));
    }
  }
}

}  // namespace darcalim
