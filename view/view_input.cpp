#include "view/view_input.h"

#include "common/input_file.h"
#include "view/view_error.h"

namespace darcalim::view {

std::vector<std::string> read_view_input(const std::filesystem::path& file, const std::string& shown,
                                         const std::string& what) {
  InputFile in(file);
  if (!in.is_open()) throw ViewInputError(shown + ": " + what + " cannot be read (" + in.fault() + ")");
  if (in.size() > kMaxViewInputBytes) {
    throw ViewInputError(shown + ": " + what + " is " + std::to_string(in.size()) + " bytes long, more than " +
                         std::to_string(kMaxViewInputBytes));
  }
  std::vector<std::string> lines;
  while (auto line = in.next_line()) lines.push_back(std::move(*line));
  return lines;
}

}  // namespace darcalim::view
