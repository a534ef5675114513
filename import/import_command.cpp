#include "import/import_command.h"

#include <fstream>
#include <system_error>

#include "common/table_sizes.h"
#include "import/case_data_writer.h"
#include "import/daily_text.h"
#include "import/history_table.h"
#include "import/import_error.h"
#include "import/import_report.h"
#include "import/weekly_series.h"

namespace darcalim::import {

namespace fs = std::filesystem;

namespace {

constexpr double kDefaultFactor = 604.8;
constexpr int kLargestRecentFlowStation = 600;  // station numbers of the recent-flow file
constexpr int kUsageError = 2;
constexpr int kInputError = 1;
constexpr const char* kReportExtension = ".import.txt";

bool operator<=(HistoryCell a, HistoryCell b) {
  return a.year < b.year || (a.year == b.year && a.column <= b.column);
}

FlowUnit unit_of(const DailyRecord& record, const Options& o) {
  const auto declared = record.unit.empty() ? std::nullopt : parse_unit(record.unit);
  if (o.unit && declared && *declared != *o.unit) {
    throw ImportError(record.file_name + ": the file gives its flows in " + record.unit + ", not in " +
                      unit_name(*o.unit) + " (--unit)");
  }
  if (o.unit) return *o.unit;
  if (declared) return *declared;
  if (!record.unit.empty()) {
    throw ImportError(record.file_name + ": the unit \"" + record.unit +
                      "\" cannot be converted to m3/s; give the unit of the flows with --unit m3/s, cfs or l/s");
  }
  throw ImportError(record.file_name + ": the file does not give the unit of its flows (column \"" +
                    record.value_column + "\"); give it with --unit m3/s, cfs or l/s");
}

std::vector<DayFlow> day_flows(const DailyRecord& record, FlowUnit unit) {
  const double factor = cubic_metres_per_second(unit);
  std::vector<DayFlow> days;
  days.reserve(record.days.size());
  for (const DailyValue& d : record.days) {
    days.push_back({d.date, d.value ? std::optional<double>(*d.value * factor) : std::nullopt});
  }
  return days;
}

long long station_code(const DailyRecord& record, const Options& o) {
  if (o.code) return *o.code;
  if (record.station_code) return *record.station_code;
  throw ImportError(record.file_name + ": the file gives no station code; give one with --code N");
}

std::string station_name(const DailyRecord& record, const Options& o) {
  if (o.name) return *o.name;
  if (!record.station_name.empty()) return record.station_name;
  return fs::path(record.file_name).stem().string();
}

fs::path report_path(const fs::path& history) {
  fs::path report = history;
  return report.replace_extension(kReportExtension);
}

void refuse_existing(const fs::path& path, const std::string& advice) {
  std::error_code ec;
  if (fs::exists(path, ec)) throw ImportError(path.string() + " exists already; " + advice);
}

// The history to fill: a new one, or the one to update, checked against the record.
HistoryTable starting_table(const DailyRecord& record, const Options& o) {
  if (o.update.empty()) {
    return HistoryTable(station_code(record, o), station_name(record, o), o.fac.value_or(kDefaultFactor),
                        o.weeks_per_year);
  }
  HistoryTable table = HistoryTable::read(o.update, o.weeks_per_year);
  const auto code = o.code ? o.code : record.station_code;
  if (code && *code != table.station_code()) {
    throw ImportError(o.update + ": its station " + std::to_string(table.station_code()) + " is not the station " +
                      std::to_string(*code) + " of " + record.file_name);
  }
  if (o.fac && *o.fac != table.factor()) {
    throw ImportError(o.update + ": its factor FAC " + factor_text(table.factor()) + " is not the --fac " +
                      factor_text(*o.fac));
  }
  if (!table.last_observed()) {
    throw ImportError(o.update + ": no observed week to go on from; make the history anew with --history");
  }
  return table;
}

WeeklySpan span_of(const Options& o, const HistoryTable& table) {
  WeeklySpan span;
  span.first_year = o.first_year;
  span.last_year = o.last_year;
  span.until = o.until;
  if (!o.update.empty() && !o.replace) {
    const HistoryCell last = *table.last_observed();
    span.week_before = week_of(last);
    span.flow_before = table.flow(last);
  }
  return span;
}

// Places the weeks of the series in the table and gathers the facts of the report.
void place_weeks(const WeeklySeries& series, const Options& o, HistoryTable& table, ImportFacts& facts) {
  const bool update = !o.update.empty();
  const std::optional<HistoryCell> last_before = update ? table.last_observed() : std::nullopt;
  const int first_year = update ? table.first_year() : series.weeks.front().week.year;
  for (const WeekFlow& w : series.weeks) {
    if (w.interpolated) facts.filled.push_back(w);
    const std::vector<HistoryCell> cells = cells_of(w.week, o.weeks_per_year);
    if (cells.empty()) facts.left_out.push_back(w);
    for (const HistoryCell cell : cells) {
      if (cell.year < first_year) continue;
      if (cell.column != w.week.week) facts.carried.push_back(w);
      const bool there = last_before && cell <= *last_before;
      if (there && !o.replace) {
        ++facts.kept;
        continue;
      }
      if (there && !table.differs(cell, w.flow, o.decimals)) {
        ++facts.kept;
        continue;
      }
      ++(there ? facts.replaced : facts.added);
      table.set(cell, w.flow, o.decimals);
      if (w.flow > 0.0 && table.flow(cell) == 0.0) ++facts.rounded_to_zero;
    }
  }
  for (const WeekFlow& w : series.not_observed) {
    if (w.week.year == table.last_year()) facts.not_observed.push_back(w);
  }
}

ImportFacts facts_of(const DailyRecord& record, FlowUnit unit, const Options& o) {
  ImportFacts facts;
  facts.record = &record;
  facts.unit = unit;
  facts.update = !o.update.empty();
  facts.weeks_per_year = o.weeks_per_year;
  facts.decimals = o.decimals;
  facts.min_days = o.min_days;
  facts.max_gap = o.max_gap;
  return facts;
}

// The year of the forecast week that follows the last observed week.
int forecast_year(HistoryCell last_observed, int weeks_per_year) {
  return last_observed.column == weeks_per_year ? last_observed.year + 1 : last_observed.year;
}

std::string too_many_years(const HistoryTable& table, int earliest) {
  return "from " + std::to_string(table.first_year()) + " to the forecast year " +
         std::to_string(earliest + kMaxYears - 1) + " are more than the " + std::to_string(kMaxYears) +
         " years a history holds; the first year can be " + std::to_string(earliest) + " at the earliest (--first)";
}

NewCase new_case(const Options& o, const HistoryTable& table, const std::string& history_name) {
  NewCase c;
  c.history_name = history_name;
  c.option = o.option;
  c.level = o.level;
  c.start_month = o.start_month;
  c.weeks_per_year = o.weeks_per_year;
  const HistoryCell last = *table.last_observed();
  c.forecast_week = last.column == o.weeks_per_year ? 1 : last.column + 1;
  c.forecast_year = forecast_year(last, o.weeks_per_year);
  c.estimation_year = c.forecast_year - 1;
  const long long code = table.station_code();
  c.station_number = code >= 1 && code <= kLargestRecentFlowStation ? static_cast<int>(code) : 1;
  return c;
}

// Where the history and its report go, and the case files of --new-case.
void plan_files(const Options& o, const HistoryTable& table, ImportFacts& facts, ImportPlan& plan) {
  fs::path history;
  if (!o.new_case.empty()) {
    const NewCase defaults;
    const std::string name = o.history.empty() ? defaults.history_name : o.history;
    const fs::path folder = o.new_case;
    const NewCase c = new_case(o, table, name);
    const std::string advice = "a new case goes into a folder without one";
    for (const std::string& file : {std::string("CASO.DAT"), c.case_file_name, name})
      refuse_existing(folder / file, advice);
    history = folder / name;
    plan.files.push_back({history, table.text()});
    plan.files.push_back({folder / c.case_file_name, case_data_text(c)});
    plan.files.push_back({folder / "CASO.DAT", case_index_text(c)});
  } else if (!o.update.empty()) {
    history = o.update;
    plan.files.push_back({history, table.text()});
  } else {
    history = o.history;
    refuse_existing(history, "add weeks to it with --update, or remove it first");
    plan.files.push_back({history, table.text()});
  }
  facts.history_name = history.string();
  plan.files.insert(plan.files.begin() + 1, {report_path(history), import_report_text(facts)});
}

std::string summary_line(const ImportFacts& f) {
  std::string text = f.history_name + ": station " + std::to_string(f.station_code) + " " + f.station_name + ", " +
                     std::to_string(f.first_year) + "-" + std::to_string(f.last_year) + ", last observed week " +
                     std::to_string(f.last_observed->year) + " week " + std::to_string(f.last_observed->column) + "; " +
                     std::to_string(f.added) + " weeks written";
  if (f.update) text += ", " + std::to_string(f.replaced) + " rewritten";
  return text + ", " + std::to_string(f.filled.size()) + " filled, " + std::to_string(f.left_out.size()) + " left out";
}

}  // namespace

ImportPlan plan_import(const Options& o) {
  const DailyRecord record = read_daily_record(o.daily_file, o.format, o.column);
  const FlowUnit unit = unit_of(record, o);
  const std::vector<DayFlow> days = day_flows(record, unit);
  ImportPlan plan;
  WeeklySpan span = span_of(o, starting_table(record, o));
  for (;;) {
    HistoryTable table = starting_table(record, o);
    WeeklySeries series;
    try {
      series = weekly_series(days, span, WeeklySettings{o.min_days, o.max_gap});
    } catch (const ImportError& e) {
      throw ImportError(record.file_name + ": " + e.what());
    }
    if (series.weeks.empty()) {
      plan.summary = o.update + ": no week observed after its last one, " + week_text(week_of(*table.last_observed())) +
                     "; nothing written";
      return plan;
    }
    ImportFacts facts = facts_of(record, unit, o);
    place_weeks(series, o, table, facts);
    facts.last_observed = table.last_observed();
    if (!facts.last_observed) throw ImportError(record.file_name + ": every week is written as 0");
    // The forecast year must lie within the years the program holds.
    const int earliest = forecast_year(*facts.last_observed, o.weeks_per_year) - kMaxYears + 1;
    if (table.first_year() < earliest) {
      if (o.first_year || !o.update.empty()) throw ImportError(too_many_years(table, earliest));
      span.first_year = earliest;
      plan.notices.push_back("the history begins in " + std::to_string(earliest) + ": " +
                             too_many_years(table, earliest));
      continue;
    }
    facts.station_code = table.station_code();
    facts.station_name = table.station_name();
    facts.factor = factor_text(table.factor());
    facts.first_year = table.first_year();
    facts.last_year = table.last_year();
    for (const WeekFlow& w : facts.filled) plan.notices.push_back("filled " + filled_week_text(w));
    if (facts.rounded_to_zero > 0) {
      plan.notices.push_back(std::to_string(facts.rounded_to_zero) +
                             " weeks with a flow are written as 0 by the rounding to " + std::to_string(o.decimals) +
                             " decimals (--decimals keeps them)");
    }
    plan_files(o, table, facts, plan);
    plan.summary = summary_line(facts);
    return plan;
  }
}

void write_planned_files(const ImportPlan& plan) {
  for (const PlannedFile& file : plan.files) {
    std::error_code ec;
    if (file.path.has_parent_path()) fs::create_directories(file.path.parent_path(), ec);
    fs::path temporary = file.path;
    temporary += ".tmp";
    {
      std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
      out << file.text;
      out.close();
      if (!out) {
        fs::remove(temporary, ec);
        throw ImportError(file.path.string() + ": cannot be written");
      }
    }
    fs::rename(temporary, file.path, ec);
    if (ec) {
      fs::remove(temporary, ec);
      throw ImportError(file.path.string() + ": cannot be written (" + ec.message() + ")");
    }
  }
}

int run_import(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
  const ParsedOptions parsed = parse_options(arguments);
  if (!parsed.ok()) {
    err << "darcalim-import: " << parsed.error << "\nTry 'darcalim-import --help' for more information.\n";
    return kUsageError;
  }
  const Options& o = parsed.options;
  if (o.help || o.version) {
    out << (o.help ? help_text() : version_text());
    return 0;
  }
  try {
    const ImportPlan plan = plan_import(o);
    for (const std::string& notice : plan.notices) err << "darcalim-import: " << notice << "\n";
    write_planned_files(plan);
    out << "darcalim-import: " << plan.summary << "\n";
    return 0;
  } catch (const ImportError& e) {
    err << "darcalim-import: " << e.what() << "\n";
    return kInputError;
  }
}

}  // namespace darcalim::import
