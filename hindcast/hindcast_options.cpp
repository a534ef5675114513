#include "hindcast/hindcast_options.h"

#include <algorithm>
#include <charconv>
#include <limits>

#include "tools/command_line.h"

namespace darcalim::hindcast {

namespace {

// Weeks of a year: 52 or, in a 53-week case, 53.
constexpr int kMaxWeek = 53;
// Years as the history file writes them (I5), before the common era left out.
constexpr int kMaxYear = 99999;

std::optional<int> whole_number(std::string_view text, int low, int high) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end || value < low || value > high) return std::nullopt;
  return value;
}

constexpr CommandOption kOptions[] = {
    {"--from", "", OptionValue::kAny},      // the first issue year
    {"--to", "", OptionValue::kAny},        // the last issue year
    {"--weeks", "", OptionValue::kAny},     // the forecast weeks
    {"--jobs", "-j", OptionValue::kAny},    // forecast weeks run at a time
    {"--out", "", OptionValue::kNonEmpty},  // the prefix of the output files
    {"--help", "-h", OptionValue::kNone},   // the help text
    {"--version", "", OptionValue::kNone},  // the version
};

// Sets the option of `a` from its value; the reason of a refusal, or "".
std::string set_option(Options& o, const CommandArgument& a) {
  const std::string& value = a.value;
  if (a.is("--from") || a.is("--to")) {
    const auto year = whole_number(value, 1, kMaxYear);
    if (!year) return "invalid year '" + value + "' for " + a.spelling;
    (a.is("--from") ? o.from : o.to) = *year;
  } else if (a.is("--weeks")) {
    const auto weeks = parse_week_list(value);
    if (!weeks) return "invalid week list '" + value + "' (weeks 1..53 and ranges, e.g. 1,10-12)";
    o.weeks = *weeks;
  } else if (a.is("--jobs")) {
    const auto jobs = whole_number(value, 1, std::numeric_limits<int>::max());
    if (!jobs) return "invalid number of jobs '" + value + "' (a whole number from 1 up)";
    o.jobs = *jobs;
  } else {
    o.prefix = value;
  }
  return "";
}

// Takes one argument of the command line into `o`; the reason it is refused, or "".
std::string take_argument(Options& o, const CommandArgument& a) {
  if (a.is_operand()) {
    if (!o.folder.empty()) return "one case folder only ('" + o.folder.string() + "' and '" + a.value + "')";
    o.folder = a.value;
  } else if (a.is("--help")) {
    o.help = true;
  } else if (a.is("--version")) {
    o.version = true;
  } else {
    return set_option(o, a);
  }
  return "";
}

}  // namespace

std::optional<std::vector<int>> parse_week_list(std::string_view text) {
  std::vector<int> weeks;
  while (true) {
    const auto comma = text.find(',');
    const std::string_view item = text.substr(0, comma);
    const auto dash = item.find('-');
    const auto low = whole_number(item.substr(0, dash), 1, kMaxWeek);
    const auto high = dash == std::string_view::npos ? low : whole_number(item.substr(dash + 1), 1, kMaxWeek);
    if (!low || !high || *low > *high) return std::nullopt;
    for (int w = *low; w <= *high; ++w) weeks.push_back(w);
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  std::sort(weeks.begin(), weeks.end());
  weeks.erase(std::unique(weeks.begin(), weeks.end()), weeks.end());
  return weeks;
}

ParsedOptions parse_options(const std::vector<std::string>& arguments) {
  ParsedOptions parsed;
  Options& o = parsed.options;
  parsed.error = scan_command_line(arguments, kOptions, [&o](const CommandArgument& a) { return take_argument(o, a); });
  if (!parsed.ok() || o.help || o.version) return parsed;
  if (o.folder.empty()) {
    parsed.error = "no case folder given";
  } else if (o.from == 0 || o.to == 0) {
    parsed.error = "give the issue years with --from YEAR --to YEAR";
  } else if (o.from > o.to) {
    parsed.error = "--from " + std::to_string(o.from) + " is after --to " + std::to_string(o.to);
  }
  return parsed;
}

std::string usage_text() {
  return "Usage: darcalim-hindcast DIR --from YEAR --to YEAR [--weeks LIST] [--jobs N] [--out PREFIX]\n";
}

std::string help_text() {
  return usage_text() +
         "Score the forecasts that DARCALIM would have made over past weeks.\n"
         "\n"
         "For every forecast week of the issue years (all weeks, or those listed) the\n"
         "case of DIR is run as it would have been run then: its history cut at the\n"
         "week before the forecast week (later weeks and years left out), the recent\n"
         "flows taken from that history, everything else of the case unchanged. Each\n"
         "run goes on in a scratch folder under the system's temporary folder; DIR is\n"
         "left as it is. Each lead is then set against the flow observed in the full\n"
         "history. Weeks of the last year after its last observed week are not issued.\n"
         "\n"
         "      --from=YEAR     first issue year (within the history)\n"
         "      --to=YEAR       last issue year (within the history)\n"
         "      --weeks=LIST    forecast weeks, e.g. 1,10-12 (default: every week)\n"
         "  -j, --jobs=N        run N forecast weeks at a time (default: one per\n"
         "                      hardware thread)\n"
         "      --out=PREFIX    write PREFIX-pairs.csv, PREFIX-scores.csv and\n"
         "                      PREFIX-scores.json (default: hindcast)\n"
         "  -h, --help          display this help and exit\n"
         "      --version       output version information and exit\n"
         "\n"
         "PREFIX-pairs.csv holds one row per issue week and lead whose target week is\n"
         "observed; the scores hold one row per metric, reference and lead (1..6 and\n"
         "all leads pooled), with n the pairs used. With f the forecast, o the\n"
         "observed flow, [L, U] the limits and a = 1 - level/100:\n"
         "  ME        mean(f - o)\n"
         "  PBIAS     100 sum(f - o) / sum(o) (positive: over-forecast)\n"
         "  MAE, RMSE mean |f - o|, sqrt(mean (f - o)^2)\n"
         "  NSE       1 - sum(f - o)^2 / sum(o - mean o)^2\n"
         "  KGEprime  1 - sqrt((r - 1)^2 + (gamma - 1)^2 + (beta - 1)^2), with r the\n"
         "            Pearson correlation, beta = mean f / mean o and gamma =\n"
         "            (sd f / mean f) / (sd o / mean o), population sd (r, beta and\n"
         "            gamma have rows too)\n"
         "  SS        1 - sum(f - o)^2 / sum(ref - o)^2; reference persistence (the\n"
         "            flow of the week before the forecast week) or climatology (the\n"
         "            mean flow of the target week over the years before the issue year)\n"
         "  coverage  share of pairs with L <= o <= U; below: o < L; above: o > U\n"
         "            (to compare with the level of the case)\n"
         "  width     mean(U - L)\n"
         "  interval_score  mean of (U - L) + (2/a)(L - o)[o < L] + (2/a)(o - U)[o > U]\n"
         "A forecast written as asterisks is left out of the scores; an undefined\n"
         "value (no pairs, a zero sum or variance below a fraction) is left empty\n"
         "(null in the JSON).\n"
         "\n"
         "Progress goes to standard error: a progress bar on a terminal, otherwise one\n"
         "line per finished forecast week. The forecast weeks whose run stopped give\n"
         "no pairs; they are listed on standard error at the end and counted in the\n"
         "summary line on standard output.\n"
         "\n"
         "Exit status: 0 when at least one forecast week gave pairs and the files were\n"
         "written; 1 when none did or a file could not be written; 2 on a usage error,\n"
         "a case that cannot be read, or issue years or weeks outside the history.\n";
}

std::string version_text() {
  return "darcalim-hindcast 1.0 (DARCALIM 5.3.2ns)\n";
}

}  // namespace darcalim::hindcast
