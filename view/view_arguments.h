// The command line of darcalim-plot and darcalim-view: one input (a run
// folder, or with --scores a scores file), the output file after -o, and
// -h or --help; each command gives its own table of these options.
//
// read_view_arguments returns the reason the arguments are refused, or "":
// the scanner's refusals (tools/command_line.h), "unexpected argument "X""
// for a second input, "no " + input_name without an input and "no output
// file (-o)" without an output (both asked for only without --help).
#pragma once

#include <span>
#include <string>
#include <vector>

#include "tools/command_line.h"

namespace darcalim::view {

struct ViewArguments {
  std::string input;
  std::string output;
  bool scores = false;  // the input is a scores file
  bool help = false;
};

std::string read_view_arguments(const std::vector<std::string>& args, std::span<const CommandOption> options,
                                const std::string& input_name, ViewArguments& a);

}  // namespace darcalim::view
