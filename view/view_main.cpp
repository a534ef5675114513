// darcalim-view: the HTML page of a finished run folder, in one
// self-contained file.
//
//   darcalim-view DIR -o FILE.html
//
// Exit status: 0 after writing the page, 1 when the folder is refused or the
// file cannot be written, 2 on a usage error.
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "view/run_folder.h"
#include "view/run_page.h"
#include "view/view_arguments.h"
#include "view/view_error.h"

namespace {

constexpr int kRefused = 1;
constexpr int kUsageError = 2;

const char* const kUsage = "usage: darcalim-view DIR -o FILE.html\n";

const char* const kHelp =
    "Write one self-contained HTML page of the finished run in DIR: the forecast\n"
    "picture, the six leads with their limits and kept models, the first ten\n"
    "models of each target week's ranking, the settings of the run and a link\n"
    "to each file of the folder (relative to the page). The page needs no\n"
    "network and no script; its script only sorts the tables.\n"
    "\n"
    "Exit status: 0 after writing the page, 1 when the folder holds no finished\n"
    "run or the page cannot be written, 2 on a usage error.\n";

constexpr darcalim::CommandOption kOptions[] = {
    {"-o", "", darcalim::OptionValue::kAny},
    {"--help", "-h", darcalim::OptionValue::kNone},
};

}  // namespace

int main(int argc, char** argv) {
  darcalim::view::ViewArguments a;
  const std::string refusal =
      darcalim::view::read_view_arguments(std::vector<std::string>(argv + 1, argv + argc), kOptions, "run folder", a);
  if (!refusal.empty()) {
    std::cerr << "darcalim-view: " << refusal << "\n" << kUsage;
    return kUsageError;
  }
  if (a.help) {
    std::cout << kUsage << kHelp;
    return 0;
  }
  try {
    using namespace darcalim::view;
    const std::string html = run_page_html(read_run_folder(a.input), a.output);
    std::ofstream out(a.output, std::ios::binary | std::ios::trunc);
    out << html;
    out.close();
    if (!out) {
      std::cerr << "darcalim-view: " << a.output << ": cannot be written\n";
      return kRefused;
    }
  } catch (const darcalim::view::ViewInputError& e) {
    std::cerr << "darcalim-view: " << e.what() << "\n";
    return kRefused;
  }
  return 0;
}
