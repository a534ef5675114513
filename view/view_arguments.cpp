#include "view/view_arguments.h"

namespace darcalim::view {

namespace {

// Takes one argument into `a`; the input comes once. The reason it is
// refused, or "".
std::string take_argument(ViewArguments& a, const CommandArgument& arg) {
  if (arg.is("--help")) {
    a.help = true;
  } else if (arg.is("-o")) {
    a.output = arg.value;
  } else if (!a.input.empty()) {
    return "unexpected argument \"" + (arg.is_operand() ? arg.value : arg.spelling) + "\"";
  } else {
    a.scores = arg.is("--scores");
    a.input = arg.value;
  }
  return "";
}

}  // namespace

std::string read_view_arguments(const std::vector<std::string>& args, std::span<const CommandOption> options,
                                const std::string& input_name, ViewArguments& a) {
  const std::string refusal =
      scan_command_line(args, options, [&a](const CommandArgument& arg) { return take_argument(a, arg); });
  if (!refusal.empty() || a.help) return refusal;
  if (a.input.empty()) return "no " + input_name;
  if (a.output.empty()) return "no output file (-o)";
  return "";
}

}  // namespace darcalim::view
