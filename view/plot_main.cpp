// darcalim-plot: the forecast picture of a run folder, or the score panels
// of a hindcast's scores file, as an SVG file.
//
//   darcalim-plot DIR -o FILE.svg
//   darcalim-plot --scores PREFIX-scores.csv -o FILE.svg
//
// Exit status: 0 after writing the picture, 1 when the input is refused or
// the file cannot be written, 2 on a usage error.
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "view/command_line.h"
#include "view/forecast_picture.h"
#include "view/run_folder.h"
#include "view/scores_file.h"
#include "view/scores_picture.h"
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

struct Arguments {
  std::string input;
  std::string output;
  bool scores = false;
};

bool parse(const std::vector<std::string>& args, Arguments& a) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "-o" && i + 1 < args.size()) {
      a.output = args[++i];
    } else if (args[i] == "--scores" && i + 1 < args.size() && a.input.empty()) {
      a.scores = true;
      a.input = args[++i];
    } else if (!args[i].empty() && args[i][0] != '-' && a.input.empty()) {
      a.input = args[i];
    } else {
      std::cerr << "darcalim-plot: unexpected argument \"" << args[i] << "\"\n";
      return false;
    }
  }
  if (a.input.empty() || a.output.empty()) {
    std::cerr << "darcalim-plot: " << (a.input.empty() ? "no run folder or scores file" : "no output file (-o)")
              << "\n";
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  Arguments a;
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (darcalim::view::wants_help(args)) {
    std::cout << kUsage << kHelp;
    return 0;
  }
  if (!parse(args, a)) {
    std::cerr << kUsage;
    return kUsageError;
  }
  try {
    using namespace darcalim::view;
    const std::string svg = a.scores ? scores_svg(read_scores_file(a.input)) : forecast_svg(read_run_folder(a.input));
    std::ofstream out(a.output, std::ios::binary | std::ios::trunc);
    out << svg_document(svg);
    out.close();
    if (!out) {
      std::cerr << "darcalim-plot: " << a.output << ": cannot be written\n";
      return kRefused;
    }
  } catch (const darcalim::view::ViewInputError& e) {
    std::cerr << "darcalim-plot: " << e.what() << "\n";
    return kRefused;
  }
  return 0;
}
