#include "tools/command_line.h"

#include <charconv>
#include <optional>

namespace darcalim {

namespace {

constexpr std::string_view kEndOfOptions = "--";
constexpr std::string_view kLongPrefix = "--";
constexpr std::size_t kShortLength = 2;  // "-x"

bool is_operand(const std::string& arg) {
  return arg.size() < kShortLength || arg[0] != '-';
}

// An option as written, and the value written into the same argument.
struct Spelled {
  std::string spelling;
  std::optional<std::string> value;
};

// "--name=VALUE" or "--name"; "-xVALUE" or "-x".
Spelled spelled(const std::string& arg) {
  if (arg.rfind(kLongPrefix, 0) == 0) {
    const auto equals = arg.find('=');
    if (equals == std::string::npos) return {arg, std::nullopt};
    return {arg.substr(0, equals), arg.substr(equals + 1)};
  }
  if (arg.size() == kShortLength) return {arg, std::nullopt};
  return {arg.substr(0, kShortLength), arg.substr(kShortLength)};
}

const CommandOption* option_named(std::span<const CommandOption> options, std::string_view spelling) {
  for (const CommandOption& option : options) {
    if (option.name == spelling || (!option.other_name.empty() && option.other_name == spelling)) return &option;
  }
  return nullptr;
}

// Reads the option at arguments[i] into `taken`, with its value from the
// next argument when none is attached (i moves on to it); the refusal, or "".
std::string read_option(const std::vector<std::string>& arguments, std::size_t& i,
                        std::span<const CommandOption> options, CommandArgument& taken) {
  const std::string& arg = arguments[i];
  Spelled s = spelled(arg);
  taken.option = option_named(options, s.spelling);
  if (!taken.option || (taken.option->value == OptionValue::kNone && s.value)) {
    return "unrecognized option '" + arg + "'";
  }
  taken.spelling = s.spelling;
  if (taken.option->value != OptionValue::kNone && !s.value) {
    if (i + 1 == arguments.size()) return "option '" + s.spelling + "' requires an argument";
    s.value = arguments[++i];
  }
  if (taken.option->value == OptionValue::kNonEmpty && s.value->empty()) {
    return "option '" + s.spelling + "' requires a non-empty argument";
  }
  taken.value = s.value.value_or("");
  return "";
}

}  // namespace

std::string scan_command_line(const std::vector<std::string>& arguments, std::span<const CommandOption> options,
                              const ArgumentTaker& take) {
  bool options_ended = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    CommandArgument taken;
    if (options_ended || is_operand(arguments[i])) {
      taken.value = arguments[i];
    } else if (arguments[i] == kEndOfOptions) {
      options_ended = true;
      continue;
    } else if (std::string refusal = read_option(arguments, i, options, taken); !refusal.empty()) {
      return refusal;
    }
    if (std::string refusal = take(taken); !refusal.empty()) return refusal;
  }
  return "";
}

std::optional<int> whole_number_value(std::string_view text, int low, int high) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end || value < low || value > high) return std::nullopt;
  return value;
}

}  // namespace darcalim
