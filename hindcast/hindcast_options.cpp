#include "hindcast/hindcast_options.h"

#include <algorithm>
#include <limits>

#include "tools/command_line.h"
#include "tools/shard.h"

namespace darcalim::hindcast {

namespace {

// Weeks of a year: 52 or, in a 53-week case, 53.
constexpr int kMaxWeek = 53;
// Years as the history file writes them (I5), before the common era left out.
constexpr int kMaxYear = 99999;

constexpr CommandOption kOptions[] = {
    {"--list", "", OptionValue::kNonEmpty},  // the file that lists the case folders
    {"--from", "", OptionValue::kAny},       // the first issue year
    {"--to", "", OptionValue::kAny},         // the last issue year
    {"--weeks", "", OptionValue::kAny},      // the forecast weeks
    {"--jobs", "-j", OptionValue::kAny},     // forecast weeks run at a time
    {"--shard", "", OptionValue::kAny},      // K/N: the slice of the units to run
    {"--score", "", OptionValue::kNone},     // the operands are pairs files to score
    {"--out", "", OptionValue::kNonEmpty},   // the prefix of the output files
    {"--help", "-h", OptionValue::kNone},    // the help text
    {"--version", "", OptionValue::kNone},   // the version
};

// The options of a hindcast, which --score does not take.
constexpr std::string_view kHindcastOnly[] = {"--list", "--from", "--to", "--weeks", "--jobs", "--shard"};

// Sets the option of `a` from its value; the reason of a refusal, or "".
std::string set_option(Options& o, const CommandArgument& a) {
  const std::string& value = a.value;
  if (a.is("--from") || a.is("--to")) {
    const auto year = whole_number_value(value, 1, kMaxYear);
    if (!year) return "invalid year '" + value + "' for " + a.spelling;
    (a.is("--from") ? o.from : o.to) = *year;
  } else if (a.is("--weeks")) {
    const auto weeks = parse_week_list(value);
    if (!weeks) return "invalid week list '" + value + "' (weeks 1..53 and ranges, e.g. 1,10-12)";
    o.weeks = *weeks;
  } else if (a.is("--jobs")) {
    const auto jobs = whole_number_value(value, 1, std::numeric_limits<int>::max());
    if (!jobs) return "invalid number of jobs '" + value + "' (a whole number from 1 up)";
    o.jobs = *jobs;
  } else if (a.is("--shard")) {
    o.shard = parse_shard(value);
    if (!o.shard) return "invalid shard '" + value + "' (K/N with 1 <= K <= N)";
  } else if (a.is("--list")) {
    o.list = value;
  } else {
    o.prefix = value;
  }
  return "";
}

// Takes one argument of the command line into `o`; the reason it is refused,
// or "". `hindcast_option` keeps the first option given that --score does not take.
std::string take_argument(Options& o, const CommandArgument& a, std::string& hindcast_option) {
  if (a.is_operand()) {
    o.folders.emplace_back(a.value);
    return "";
  }
  if (a.is("--help")) {
    o.help = true;
  } else if (a.is("--version")) {
    o.version = true;
  } else if (a.is("--score")) {
    o.score = true;
  } else {
    for (const std::string_view name : kHindcastOnly) {
      if (a.is(name) && hindcast_option.empty()) hindcast_option = a.spelling;
    }
    return set_option(o, a);
  }
  return "";
}

// What a hindcast's command line lacks or holds amiss: the reason, or "".
std::string hindcast_refusal(const Options& o) {
  if (!o.list.empty() && !o.folders.empty()) {
    return "give the case folders either as arguments or with --list, not both";
  }
  if (o.list.empty() && o.folders.empty()) return "no case folder given";
  if (o.from == 0 || o.to == 0) return "give the issue years with --from YEAR --to YEAR";
  if (o.from > o.to) return "--from " + std::to_string(o.from) + " is after --to " + std::to_string(o.to);
  return "";
}

}  // namespace

std::optional<std::vector<int>> parse_week_list(std::string_view text) {
  std::vector<int> weeks;
  while (true) {
    const auto comma = text.find(',');
    const std::string_view item = text.substr(0, comma);
    const auto dash = item.find('-');
    const auto low = whole_number_value(item.substr(0, dash), 1, kMaxWeek);
    const auto high = dash == std::string_view::npos ? low : whole_number_value(item.substr(dash + 1), 1, kMaxWeek);
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
  std::string hindcast_option;
  parsed.error = scan_command_line(arguments, kOptions,
                                   [&](const CommandArgument& a) { return take_argument(o, a, hindcast_option); });
  if (!parsed.ok() || o.help || o.version) return parsed;
  if (!o.score) {
    parsed.error = hindcast_refusal(o);
  } else if (!hindcast_option.empty()) {
    parsed.error = hindcast_option + " does not go with --score (which scores pairs files)";
  } else if (o.folders.empty()) {
    parsed.error = "no pairs file given (--score PAIRS.csv...)";
  } else {
    o.pairs_files = std::move(o.folders);
    o.folders.clear();
  }
  return parsed;
}

std::string usage_text() {
  return "Usage: darcalim-hindcast DIR... --from YEAR --to YEAR [--weeks LIST] [--jobs N] [--shard K/N]\n"
         "                         [--out PREFIX]\n"
         "  or:  darcalim-hindcast --list FILE --from YEAR --to YEAR [--weeks LIST] [--jobs N] [--shard K/N]\n"
         "                         [--out PREFIX]\n"
         "  or:  darcalim-hindcast --score PAIRS.csv... [--out PREFIX]\n";
}

std::string help_text() {
  return usage_text() +
         "Score the forecasts that DARCALIM would have made over past weeks.\n"
         "\n"
         "For every forecast week of the issue years (all weeks, or those listed) the\n"
         "case of each DIR is run as it would have been run then: its history cut at\n"
         "the week before the forecast week (later weeks and years left out), the\n"
         "recent flows taken from that history, everything else of the case unchanged.\n"
         "Each run goes on in a scratch folder under the system's temporary folder;\n"
         "the case folders are only read. Each lead is then set against the flow\n"
         "observed in the full history. Weeks of the last year after its last observed\n"
         "week are not issued. The issue years and weeks must lie within the history\n"
         "of every case.\n"
         "\n"
         "      --list=FILE     read the case folders from FILE, one a line (\"-\":\n"
         "                      standard input); blank lines and lines starting\n"
         "                      with # are passed over\n"
         "      --from=YEAR     first issue year (within the history)\n"
         "      --to=YEAR       last issue year (within the history)\n"
         "      --weeks=LIST    forecast weeks, e.g. 1,10-12 (default: every week)\n"
         "  -j, --jobs=N        run N forecast weeks at a time (default: one per\n"
         "                      hardware thread)\n"
         "      --shard=K/N     run only the K-th of N slices of the units (case,\n"
         "                      forecast week): unit i, counted from 0 over the\n"
         "                      weeks of the first case, then of the second and\n"
         "                      so on, belongs to slice i mod N + 1\n"
         "      --score         read the pairs files PAIRS.csv... (of the slices of\n"
         "                      one hindcast) and write their scores, the same as\n"
         "                      the hindcast on one machine writes\n"
         "      --out=PREFIX    write PREFIX-pairs.csv, PREFIX-scores.csv and\n"
         "                      PREFIX-scores.json (default: hindcast); with\n"
         "                      --score the scores only\n"
         "  -h, --help          display this help and exit\n"
         "      --version       output version information and exit\n"
         "\n"
         "PREFIX-pairs.csv holds one row per case folder, forecast week and lead whose\n"
         "target week is observed, with the reference flows of the skill scores and\n"
         "the case folder; the scores hold one row per metric, reference and lead\n"
         "(1..6 and all leads pooled), with n the pairs used, case folder by case\n"
         "folder (with several, the CSV gains a column folder). With f the forecast,\n"
         "o the observed flow, [L, U] the limits and a = 1 - level/100:\n"
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
         "summary line on standard output. A forecast week that the hindcast itself\n"
         "could not finish (a scratch folder that could not be written) leaves no\n"
         "pairs and no scores at all, but PREFIX-unfinished.csv and a list on\n"
         "standard error: run the same command again.\n"
         "\n"
         "Exit status: 0 when at least one forecast week gave pairs (or a slice had no\n"
         "unit) and the files were written; 1 when none did, a forecast week was not\n"
         "finished or a file could not be written; 2 on a usage error, a case or pairs\n"
         "file that cannot be read or is refused, or issue years or weeks outside the\n"
         "history of a case.\n";
}

std::string version_text() {
  return "darcalim-hindcast 1.0 (DARCALIM 5.3.2ns)\n";
}

}  // namespace darcalim::hindcast
