// Fuzz target: the appended forecast file (the input is its bytes), read as
// the view tools read its last record, and examined as a run examines it for
// a record cut short at its end, as the forecast file and as the model file.
// A refusal (ViewInputError) is an expected outcome. The cut-back must never
// lengthen the file, and a file cut back has nothing more to cut.
#include <cstdlib>
#include <string_view>

#include "common/appended_file.h"
#include "tests/fuzz/fuzz_folder.h"
#include "view/forecast_record.h"
#include "view/view_error.h"

namespace {

void check_cut_back(std::string_view bytes, const darcalim::AppendedRecords& records) {
  const auto length = darcalim::length_without_torn_record(bytes, 0, records);
  if (!length) return;
  if (*length > bytes.size()) std::abort();
  if (darcalim::length_without_torn_record(bytes.substr(0, *length), 0, records)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace darcalim;
  fuzzing::FuzzFolder& folder = fuzzing::FuzzFolder::get();
  folder.write("PREVS.DAT", data, size);
  try {
    (void)view::read_last_forecast_record(folder.path() / "PREVS.DAT");
  } catch (const view::ViewInputError&) {
  }
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  check_cut_back(bytes, forecast_file_records());
  check_cut_back(bytes, model_file_records());
  return 0;
}
