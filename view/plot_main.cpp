// darcalim-plot: the forecast picture of a run folder, or the score panels
// of a hindcast's scores file, as an SVG file.
//
//   darcalim-plot DIR -o FILE.svg
//   darcalim-plot --scores PREFIX-scores.csv -o FILE.svg
//
// The picture is written whole (a temporary file renamed over it), never
// over a file of the run (view/output_place.h).
//
// Exit status: 0 after writing the picture, 1 when the input is refused or
// the file cannot be written, 2 on a usage error.
#include <iostream>
#include <string>
#include <vector>

#include "common/file_access.h"
#include "tools/whole_file.h"
#include "view/forecast_picture.h"
#include "view/output_place.h"
#include "view/run_folder.h"
#include "view/scores_file.h"
#include "view/scores_picture.h"
#include "view/view_arguments.h"
#include "view/view_error.h"

namespace {

constexpr int kRefused = 1;
constexpr int kUsageError = 2;

const char* const kUsage =
    "usage: darcalim-plot DIR -o FILE.svg\n"
    "       darcalim-plot --scores PREFIX-scores.csv -o FILE.svg\n";

const char* const kHelp =
    "Draw, as an SVG file, the forecast of the finished run in DIR (the last 26\n"
    "weeks of observed flow, the six forecasts and their limits), or, with\n"
    "--scores, each score of a hindcast's scores file against lead time.\n"
    "\n"
    "Exit status: 0 after writing the picture, 1 when the input is refused or\n"
    "the picture cannot be written, 2 on a usage error.\n";

constexpr darcalim::CommandOption kOptions[] = {
    {"-o", "", darcalim::OptionValue::kAny},
    {"--scores", "", darcalim::OptionValue::kAny},
    {"--help", "-h", darcalim::OptionValue::kNone},
};

}  // namespace

int main(int argc, char** argv) {
  darcalim::ignore_file_size_signal();
  darcalim::view::ViewArguments a;
  const std::string refusal = darcalim::view::read_view_arguments(std::vector<std::string>(argv + 1, argv + argc),
                                                                  kOptions, "run folder or scores file", a);
  if (!refusal.empty()) {
    std::cerr << "darcalim-plot: " << refusal << "\n" << kUsage;
    return kUsageError;
  }
  if (a.help) {
    std::cout << kUsage << kHelp;
    return 0;
  }
  try {
    using namespace darcalim::view;
    std::string svg;
    if (a.scores) {
      svg = scores_svg(read_scores_file(a.input));
      check_output_place(a.output, a.input, nullptr, kSvgDeclaration);
    } else {
      const RunFolder run = read_run_folder(a.input);
      const RunFiles files = files_of(run);
      check_output_place(a.output, a.input, &files, kSvgDeclaration);
      svg = forecast_svg(run);
    }
    darcalim::write_whole_file(a.output, svg_document(svg));
  } catch (const darcalim::view::ViewInputError& e) {
    std::cerr << "darcalim-plot: " << e.what() << "\n";
    return kRefused;
  } catch (const darcalim::WholeFileError& e) {
    std::cerr << "darcalim-plot: " << e.what() << "\n";
    return kRefused;
  }
  return 0;
}
