// The command line of the companion tools, read the same way by each of them.
//
// scan_command_line walks the arguments from left to right and tells the
// options of the command's table from its operands:
//   --name VALUE, --name=VALUE   a long option that takes a value
//   -x VALUE, -xVALUE            a short option that takes a value
//   --name, -x                   an option without a value
// "-" alone and the empty argument are operands, as is every argument after
// "--". Each option (with its value) and each operand goes in turn to the
// command's `take`, which may refuse it. The scan stops at the first refusal
// and returns its reason: the command's own, or one of the scanner's
//   unrecognized option 'ARG'             (not in the table, or a value given
//                                          to an option without one)
//   option 'NAME' requires an argument    (the value missing at the end)
//   option 'NAME' requires a non-empty argument
// with NAME the option as written. It returns "" when every argument was
// taken. Nothing is thrown.
#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace darcalim {

enum class OptionValue {
  kNone,      // a switch: --help
  kAny,       // a value, perhaps empty: --jobs=
  kNonEmpty,  // a value that may not be empty: --out=PREFIX
};

// One option of a command: its spellings with their dashes ("--jobs" and
// "-j"; a short spelling is one dash and one character) and its value.
struct CommandOption {
  std::string_view name;
  std::string_view other_name;  // empty: none
  OptionValue value = OptionValue::kNone;
};

// One argument as the scanner read it: an option of the table with its
// value, or an operand.
struct CommandArgument {
  const CommandOption* option = nullptr;  // null: an operand
  std::string spelling;                   // the option as written ("-j" or "--jobs")
  std::string value;                      // the option's value, or the operand

  bool is_operand() const { return option == nullptr; }
  bool is(std::string_view name) const { return option != nullptr && option->name == name; }
};

// Takes one argument; returns the reason it is refused, or "".
using ArgumentTaker = std::function<std::string(const CommandArgument&)>;

std::string scan_command_line(const std::vector<std::string>& arguments, std::span<const CommandOption> options,
                              const ArgumentTaker& take);

// An option's value as a whole number within low..high: decimal digits with
// an optional leading minus sign and nothing else (no blanks, no plus sign);
// nothing when it is not one or lies outside.
std::optional<int> whole_number_value(std::string_view text, int low, int high);

}  // namespace darcalim
