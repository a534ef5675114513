#include "tools/command_line.h"

#include <gtest/gtest.h>

namespace darcalim {
namespace {

constexpr CommandOption kOptions[] = {
    {"--jobs", "-j", OptionValue::kAny},
    {"--out", "", OptionValue::kNonEmpty},
    {"--help", "-h", OptionValue::kNone},
    {"-o", "", OptionValue::kAny},
};

// What the scanner handed over, one item an argument: "NAME=VALUE" for an
// option (by its first name), "<OPERAND>" for an operand; then the refusal.
// The taker refuses the operand `refuse_operand`.
std::string scanned(const std::vector<std::string>& arguments, const char* refuse_operand = nullptr) {
  std::string items;
  const std::string refusal = scan_command_line(arguments, kOptions, [&](const CommandArgument& a) -> std::string {
    if (a.is_operand()) {
      if (refuse_operand != nullptr && a.value == refuse_operand) return "no '" + a.value + "' here";
      items += "<" + a.value + "> ";
    } else {
      items += std::string(a.option->name) + "=" + a.value + " ";
    }
    return "";
  });
  return items + (refusal.empty() ? "" : "! " + refusal);
}

TEST(CommandLine, TellsOptionsFromOperandsInEveryForm) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> lines = {
      {{}, ""},
      {{"a", "b"}, "<a> <b> "},
      {{"--jobs", "4", "a"}, "--jobs=4 <a> "},
      {{"--jobs=3"}, "--jobs=3 "},
      {{"--jobs="}, "--jobs= "},
      {{"-j", "2"}, "--jobs=2 "},
      {{"-j8"}, "--jobs=8 "},
      {{"-j=3"}, "--jobs==3 "},  // a short option's value is all that follows it
      {{"--out", "x=y"}, "--out=x=y "},
      {{"-o", "-h"}, "-o=-h "},  // a value may look like an option
      {{"-oFILE", "--help", "-h"}, "-o=FILE --help= --help= "},
      {{"-", ""}, "<-> <> "},
      {{"a", "--", "--jobs", "-x", "--"}, "<a> <--jobs> <-x> <--> "},
  };
  for (const auto& [arguments, items] : lines) {
    EXPECT_EQ(scanned(arguments), items) << (arguments.empty() ? "(none)" : arguments.front());
  }
}

TEST(CommandLine, RefusesInOneWordingAndStopsThere) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> lines = {
      {{"--frobnicate", "a"}, "! unrecognized option '--frobnicate'"},
      {{"a", "-x"}, "<a> ! unrecognized option '-x'"},
      {{"-hx"}, "! unrecognized option '-hx'"},
      {{"--help=yes"}, "! unrecognized option '--help=yes'"},
      {{"--jo", "1"}, "! unrecognized option '--jo'"},
      {{"--=1"}, "! unrecognized option '--=1'"},
      {{"-j"}, "! option '-j' requires an argument"},
      {{"a", "--jobs"}, "<a> ! option '--jobs' requires an argument"},
      {{"--out="}, "! option '--out' requires a non-empty argument"},
      {{"--out", "", "a"}, "! option '--out' requires a non-empty argument"},
      {{"--jobs", "1", "--bogus", "--nonsense"}, "--jobs=1 ! unrecognized option '--bogus'"},
  };
  for (const auto& [arguments, items] : lines) EXPECT_EQ(scanned(arguments), items) << arguments.front();
}

TEST(CommandLine, TheCommandsRefusalEndsTheScan) {
  EXPECT_EQ(scanned({"a", "b", "c", "--bogus"}, "b"), "<a> ! no 'b' here");
}

TEST(WholeNumberValue, DigitsWithinTheBoundsAndNothingElse) {
  EXPECT_EQ(whole_number_value("7", 1, 7), 7);
  EXPECT_EQ(whole_number_value("-3", -5, 0), -3);
  for (const char* bad : {"", "0", "8", " 7", "7 ", "+7", "7.0", "0x7", "seven", "99999999999"}) {
    EXPECT_FALSE(whole_number_value(bad, 1, 7)) << bad;
  }
}

}  // namespace
}  // namespace darcalim
