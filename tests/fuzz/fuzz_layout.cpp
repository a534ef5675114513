// Fuzz target: the layout reader and writer. The first byte chooses a layout
// that the input files are read with, or (above their number) takes the
// first line of the input as a layout notation; the rest of the input is
// read as records through it, and the values of each read are written back.
#include <array>
#include <stdexcept>
#include <string>

#include "common/input_file.h"
#include "common/layout.h"

namespace {

const std::array<const char*, 12> kReadLayouts = {
    "(A12)", "(A1)", "(I1)", "(I2)", "(I3)", "(I4)", "(1X,I8,15A4)", "(2I5,F9.0)", "9(1X,F7.0)",
    "(I5,13X,4(F10.2))", "(I2,'\t',F4.1,'\t',F4.1)", "(I8,2X,I4,3X,I2,3X,I2,6F9.1)"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace darcalim;
  if (size < 2) return 0;
  const std::size_t choice = data[0];
  const int count = data[1] % 120;
  std::string text(reinterpret_cast<const char*>(data + 2), size - 2);
  std::string notation;
  if (choice < kReadLayouts.size()) {
    notation = kReadLayouts[choice];
  } else {
    const std::size_t end = text.find('\n');
    notation = text.substr(0, end == std::string::npos ? text.size() : end);
    text.erase(0, end == std::string::npos ? text.size() : end + 1);
    if (notation.size() > 64) return 0;
  }
  try {
    const Layout layout(notation);
    TextLines lines(text);
    const bool write_back = choice < kReadLayouts.size();
    FieldValues values;
    layout.read(lines, count, values);
    if (write_back) (void)layout.write(values);
    for (int record = 0; record < 200; ++record) {
      values.clear();
      const bool ok = layout.read_record(lines, values).ok();
      if (write_back) (void)layout.write(values);
      if (!ok) break;
    }
  } catch (const std::logic_error&) {
    // A malformed notation or a layout without fields: faults of a program's
    // own layouts, only reachable here through a fuzzed notation.
    if (choice < kReadLayouts.size()) throw;
  }
  return 0;
}
