#include "evaluation/percentile_file.h"

#include <cstdint>
#include <string>

#include "common/input_file.h"
#include "common/layout.h"
#include "common/run_stop.h"

namespace darcalim {

namespace {

[[noreturn]] void refuse(const std::filesystem::path& path, std::ostream& console) {
  const std::string message = " ERRO NA LEITURA DO ARQUIVO DE PERCENTIS " + path.filename().string();
  console << message << "\n";
  throw RunStop::after_messages(message);
}

// Grouping of a period code: 1 weeks (G4), 2 months (G3), 3 quarters (G2),
// 4 half-years (G1).
int grouping_of(int CODPER) { return kGroupings + 1 - CODPER; }

int read_code(InputFile& file, const std::filesystem::path& path, std::ostream& console) {
  static const Layout kCode("(I1)");
  FieldValues v;
  if (!kCode.read_record(file, v).ok() || v.empty()) refuse(path, console);
  return static_cast<int>(std::get<std::int64_t>(v[0]));
}

}  // namespace

void read_percentile_file(const std::filesystem::path& path, const WeekGroupings& GRUPO, int NSEM,
                          std::ostream& console, PercentileTable& table) {
  InputFile file(path);
  if (!file.is_open()) refuse(path, console);
  table.CODPER = read_code(file, path, console);
  table.CODCLA = read_code(file, path, console);
  if (table.CODPER < 1 || table.CODPER > 4) return;
  const WeekGrouping& grouping = GRUPO(grouping_of(table.CODPER));
  const int periods = table.CODPER == 1 ? NSEM : grouping.NPER;
  static const Layout kPeriod("(I2,'\t',F4.1,'\t',F4.1)");
  for (int line = 1; line <= periods; ++line) {
    FieldValues v;
    if (!kPeriod.read_record(file, v).ok() || v.size() != 3) refuse(path, console);
    const int period = static_cast<int>(std::get<std::int64_t>(v[0]));
    if (period < 1 || period > periods) refuse(path, console);
    for (int t = grouping.INIPER(period); t <= grouping.INIPER(period + 1) - 1; ++t) {
      table.PERCINF(t) = std::get<double>(v[1]);
      table.PERCSUP(t) = std::get<double>(v[2]);
    }
  }
}

}  // namespace darcalim
