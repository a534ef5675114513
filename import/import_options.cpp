#include "import/import_options.h"

#include <charconv>
#include <cmath>
#include <functional>
#include <map>
#include <set>
#include <vector>

#include "import/daily_text.h"
#include "tools/command_line.h"

namespace darcalim::import {

namespace {

constexpr long long kLargestCode = 99999999;  // I8 of the history file
constexpr int kLargestYear = 9999;

std::optional<long long> whole_number(const std::string& text, long long low, long long high) {
  long long value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end || value < low || value > high) return std::nullopt;
  return value;
}

using Setter = std::function<std::string(Options&, const std::string&)>;

// Sets an int option from a whole number within [low, high].
Setter int_option(int Options::*member, int low, int high) {
  return [member, low, high](Options& o, const std::string& v) -> std::string {
    const auto n = whole_number(v, low, high);
    if (!n) return "'" + v + "' is not a whole number from " + std::to_string(low) + " to " + std::to_string(high);
    o.*member = static_cast<int>(*n);
    return "";
  };
}

Setter year_option(std::optional<int> Options::*member) {
  return [member](Options& o, const std::string& v) -> std::string {
    const auto n = whole_number(v, 1, kLargestYear);
    if (!n) return "'" + v + "' is not a year";
    o.*member = static_cast<int>(*n);
    return "";
  };
}

Setter text_option(std::string Options::*member) {
  return [member](Options& o, const std::string& v) -> std::string {
    if (v.empty()) return "an empty value";
    o.*member = v;
    return "";
  };
}

std::string set_format(Options& o, const std::string& v) {
  static const std::map<std::string, DailyFormat> kFormats{{"auto", DailyFormat::kAuto},
                                                           {"grdc", DailyFormat::kGrdc},
                                                           {"usgs-rdb", DailyFormat::kRdb},
                                                           {"csv", DailyFormat::kDelimited}};
  const auto f = kFormats.find(v);
  if (f == kFormats.end()) return "'" + v + "' is not auto, grdc, usgs-rdb or csv";
  o.format = f->second;
  return "";
}

std::string set_column(Options& o, const std::string& v) {
  if (v.empty()) return "an empty column";
  const auto n = whole_number(v, 1, 1000);
  if (n) {
    o.column.number = static_cast<int>(*n);
  } else {
    o.column.name = v;
  }
  return "";
}

std::string set_unit(Options& o, const std::string& v) {
  o.unit = parse_unit(v);
  return o.unit ? "" : "'" + v + "' is not m3/s, cfs or l/s";
}

std::string set_until(Options& o, const std::string& v) {
  o.until = parse_iso_date(v);
  return o.until && v.size() == 10 ? "" : "'" + v + "' is not a date YYYY-MM-DD";
}

std::string set_weeks(Options& o, const std::string& v) {
  if (v != "52" && v != "53") return "'" + v + "' is not 52 or 53";
  o.weeks_per_year = v == "52" ? 52 : 53;
  return "";
}

std::string set_code(Options& o, const std::string& v) {
  o.code = whole_number(v, 0, kLargestCode);
  return o.code ? "" : "'" + v + "' is not a station code of 0 to 8 digits";
}

std::string set_name(Options& o, const std::string& v) {
  o.name = v;
  return "";
}

std::string set_fac(Options& o, const std::string& v) {
  double value = 0.0;
  const auto [ptr, ec] = std::from_chars(v.data(), v.data() + v.size(), value);
  if (v.empty() || ec != std::errc() || ptr != v.data() + v.size() || !std::isfinite(value) || !(value > 0.0)) {
    return "'" + v + "' is not a positive number";
  }
  o.fac = value;
  return "";
}

const std::map<std::string, Setter>& setters() {
  static const std::map<std::string, Setter> kSetters{
      {"--format", set_format},
      {"--column", set_column},
      {"--unit", set_unit},
      {"--first", year_option(&Options::first_year)},
      {"--last", year_option(&Options::last_year)},
      {"--until", set_until},
      {"--weeks", set_weeks},
      {"--min-days", int_option(&Options::min_days, 1, 7)},
      {"--max-gap", int_option(&Options::max_gap, 0, 52)},
      {"--code", set_code},
      {"--name", set_name},
      {"--fac", set_fac},
      {"--decimals", int_option(&Options::decimals, 0, 3)},
      {"--history", text_option(&Options::history)},
      {"--new-case", text_option(&Options::new_case)},
      {"--update", text_option(&Options::update)},
      {"--option", int_option(&Options::option, 0, 5)},
      {"--level", int_option(&Options::level, 1, 99)},
      {"--start-month", int_option(&Options::start_month, 1, 12)},
  };
  return kSetters;
}

// The reason the options do not go together, or "".
std::string conflict(const Options& o, const std::set<std::string>& given) {
  const int ways =
      (o.new_case.empty() ? 0 : 1) + (o.update.empty() ? 0 : 1) + (o.history.empty() || !o.new_case.empty() ? 0 : 1);
  if (ways == 0) return "say what to write: --history FILE, --new-case DIR or --update FILE";
  if (ways > 1 || (!o.update.empty() && !o.history.empty())) {
    return "--history, --new-case and --update go one at a time (--history may name the history file of --new-case)";
  }
  if (!o.new_case.empty() && o.history.find('/') != std::string::npos) {
    return "with --new-case, --history names the history file in DIR: a plain file name";
  }
  if (o.replace && o.update.empty()) return "--replace goes with --update";
  for (const char* n : {"--option", "--level", "--start-month"}) {
    if (given.count(n) && o.new_case.empty()) return std::string(n) + " goes with --new-case";
  }
  if (o.first_year && o.last_year && *o.first_year > *o.last_year) return "--first is after --last";
  return "";
}

// The options of the command line: every option of the setters' table takes
// a value; the switches take none.
const std::vector<CommandOption>& command_options() {
  static const std::vector<CommandOption> kOptions = [] {
    std::vector<CommandOption> options{{"--help", "-h", OptionValue::kNone},
                                       {"--version", "", OptionValue::kNone},
                                       {"--replace", "", OptionValue::kNone}};
    for (const auto& entry : setters()) options.push_back({entry.first, "", OptionValue::kAny});
    return options;
  }();
  return kOptions;
}

std::string take_argument(Options& o, std::set<std::string>& given, const CommandArgument& a) {
  if (a.is_operand()) {
    if (!o.daily_file.empty()) return "one daily file only ('" + o.daily_file + "' and '" + a.value + "')";
    o.daily_file = a.value;
    return "";
  }
  if (a.is("--help")) {
    o.help = true;
  } else if (a.is("--version")) {
    o.version = true;
  } else if (a.is("--replace")) {
    o.replace = true;
  } else {
    const std::string name(a.option->name);
    const std::string error = setters().at(name)(o, a.value);
    if (!error.empty()) return name + ": " + error;
    given.insert(name);
  }
  return "";
}

}  // namespace

ParsedOptions parse_options(const std::vector<std::string>& arguments) {
  ParsedOptions parsed;
  Options& o = parsed.options;
  std::set<std::string> given;
  parsed.error = scan_command_line(arguments, command_options(),
                                   [&](const CommandArgument& a) { return take_argument(o, given, a); });
  if (!parsed.ok() || o.help || o.version) return parsed;
  if (o.daily_file.empty()) {
    parsed.error = "no daily file given";
  } else {
    parsed.error = conflict(o, given);
  }
  return parsed;
}

std::string usage_text() {
  return "Usage: darcalim-import DAILY_FILE [options] --history FILE\n"
         "       darcalim-import DAILY_FILE [options] --new-case DIR [--option N] [--level P] [--start-month M]\n"
         "       darcalim-import DAILY_FILE [options] --update FILE [--replace]\n";
}

std::string help_text() {
  return usage_text() +
         "Make DARCALIM's weekly flow history, or a whole case, from a daily discharge record.\n"
         "\n"
         "The daily file:\n"
         "      --format=F       auto (default), grdc (GRDC station file), usgs-rdb (USGS RDB\n"
         "                       file) or csv (CSV or TSV: tab, ';' or ',', ISO dates)\n"
         "      --column=NAME|N  the column of the flows, by header name or number from 1\n"
         "                       (default: the file's discharge column)\n"
         "      --unit=U         m3/s, cfs or l/s, when the file does not say (flows are\n"
         "                       written in m3/s)\n"
         "The weeks (Saturday to Friday, week 1 the week that contains 1 January):\n"
         "      --first=YEAR     first year (default: the first whose week 1 is observed,\n"
         "                       within the 100 years up to the forecast year)\n"
         "      --last=YEAR      last year (default: the year of the last observed week)\n"
         "      --until=DATE     last day used, YYYY-MM-DD (default: the file's last day);\n"
         "                       only whole weeks up to it are made\n"
         "      --weeks=52|53    weeks a year (default 52: a 53rd operating week is left\n"
         "                       out; with 53, a year of 52 operating weeks takes its 53rd\n"
         "                       value from the next year's week 1)\n"
         "      --min-days=N     a week's flow is the mean of its days with a flow when\n"
         "                       there are at least N (default 4)\n"
         "      --max-gap=N      up to N weeks in a row with fewer days are filled by\n"
         "                       linear interpolation between their neighbours (default 8);\n"
         "                       a longer gap is an error\n"
         "The history file:\n"
         "      --code=N         station code (default: from the file's header)\n"
         "      --name=TEXT      station name, 60 characters (default: from the header)\n"
         "      --fac=X          the factor FAC of line 2 (default 604.8)\n"
         "      --decimals=D     decimals of the flows, 0 to 3 (default 0: whole m3/s, as\n"
         "                       the shipped histories; a small river may need more)\n"
         "What to write:\n"
         "      --history=FILE   a new history file (an existing one is not overwritten)\n"
         "      --new-case=DIR   a case folder: CASO.DAT, CASO1.DAT and the history\n"
         "                       (HIST1.DAT, or the name given with --history); runs nothing\n"
         "      --update=FILE    add to an existing history the weeks observed after its last\n"
         "                       one; a station or FAC that differs is refused\n"
         "      --replace        with --update, also rewrite the weeks already there\n"
         "  -h, --help           display this help and exit\n"
         "      --version        output version information and exit\n"
         "\n"
         "Weeks after the last observed one are written as 0 up to the end of the last\n"
         "year, as the program expects of a year not yet complete. Negative values and\n"
         "markers such as -999, Ice or an empty field are missing days. Every filled week\n"
         "is listed on standard error and, with the weeks left out, in a report beside\n"
         "the history (its name with .import.txt in place of its extension).\n"
         "\n"
         "The case data file of --new-case, line by line (edit it to change a setting):\n"
         "   1 CASO1.REL   run report (the Box-Cox report and model file are named after it)\n"
         "   2 S           S: print the parameter tables in the run report\n"
         "   3 HIST1.DAT   history file\n"
         "   4 2           transformation (--option): 0 none, 1 logarithm and plain,\n"
         "                 2 Box-Cox and plain, 3 logarithm, 4 Box-Cox, 5 combined\n"
         "   5 1           first month of the hydrological year (--start-month)\n"
         "   6 PREVS.DAT   appended forecast file\n"
         "   7 RANK1.CSV   error-ranking report\n"
         "   8 95          confidence level of the limits, per cent (--level)\n"
         "   9 week        first forecast week: the week after the last observed one\n"
         "  10 year        its year\n"
         "  11 1           recent flows from the history (0: from the recent-flow file)\n"
         "  12 VAZPASTS.DAT  recent-flow file (read only with 0 on line 11)\n"
         "  13 year        last year for estimation (read only with 0 on line 11)\n"
         "  14 number      station number in the recent-flow file (the code, or 1)\n"
         "  15 0           variability check: 0 none, 1 also clamping the simulated\n"
         "                 forecasts, 2 the final forecast only\n"
         "  16 PERC1.DAT   percentile file (read with 1 or 2 on line 15)\n"
         "  17 0           1 for 53 weeks a year (--weeks)\n"
         "Then run darcalim in DIR.\n"
         "\n"
         "Exit status: 0 when the files were written (or nothing was new to add); 1 when\n"
         "the input cannot be used or a file cannot be written, with nothing written;\n"
         "2 on a usage error.\n";
}

std::string version_text() {
  return "darcalim-import 1.0 (DARCALIM 5.3.2ns)\n";
}

}  // namespace darcalim::import
