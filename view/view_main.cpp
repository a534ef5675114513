// darcalim-view: the HTML page of a finished run folder, in one
// self-contained file.
//
//   darcalim-view DIR -o FILE.html
//
// The page is written whole (a temporary file renamed over it), never over a
// file of the run (view/output_place.h).
//
// Exit status: 0 after writing the page, 1 when the folder is refused or the
// file cannot be written, 2 on a usage error.
#include <iostream>
#include <string>
#include <vector>

#include "common/file_access.h"
#include "tools/whole_file.h"
#include "view/output_place.h"
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
  darcalim::ignore_file_size_signal();
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
    const RunFolder run = read_run_folder(a.input);
    const RunFiles files = files_of(run);
    check_output_place(a.output, a.input, &files, kPageStart);
    darcalim::write_whole_file(a.output, run_page_html(run, a.output));
  } catch (const darcalim::view::ViewInputError& e) {
    std::cerr << "darcalim-view: " << e.what() << "\n";
    return kRefused;
  } catch (const darcalim::WholeFileError& e) {
    std::cerr << "darcalim-view: " << e.what() << "\n";
    return kRefused;
  }
  return 0;
}
