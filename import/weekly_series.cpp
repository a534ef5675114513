#include "import/weekly_series.h"

#include <map>

#include "import/daily_text.h"
#include "import/import_error.h"

namespace darcalim::import {

namespace {

using std::chrono::sys_days;
using Days = std::chrono::days;

constexpr int kDaysPerWeek = 7;
constexpr int kFridayOffset = 6;  // days from a Saturday to its Friday

// Weeks are numbered from the Saturday 1970-01-03 on (negative before it).
const sys_days kFirstSaturday{std::chrono::year{1970} / std::chrono::January / 3};

long week_index(sys_days date) {
  const long d = static_cast<long>((date - kFirstSaturday).count());
  return d >= 0 ? d / kDaysPerWeek : -((-d + kDaysPerWeek - 1) / kDaysPerWeek);
}

sys_days week_start(long index) {
  return kFirstSaturday + Days{kDaysPerWeek * index};
}

OperatingWeek operating_week(long index) {
  return operating_week_of(std::chrono::year_month_day{week_start(index)});
}

long index_of(OperatingWeek w) {
  return week_index(operating_week_start(w.year, w.week));
}

struct DaySum {
  double sum = 0.0;
  int count = 0;
};

class Builder {
 public:
  Builder(const std::vector<DayFlow>& days, const WeeklySpan& span, const WeeklySettings& settings)
      : span_(span), settings_(settings) {
    const sys_days until = span.until.value_or(days.back().date);
    for (const DayFlow& d : days) {
      if (d.date > until || !d.flow) continue;
      DaySum& s = sums_[week_index(d.date)];
      s.sum += *d.flow;
      ++s.count;
    }
    last_ = week_index(until);
    if ((until - week_start(last_)).count() != kFridayOffset) --last_;  // the week of `until` is not whole
    if (span.last_year) last_ = std::min(last_, index_of({*span.last_year + 1, 1}) - 1);
    first_ = first_week(days.front().date);
  }

  WeeklySeries build() const {
    long last_observed = last_;
    while (last_observed >= first_ && !observed(last_observed)) --last_observed;
    if (last_observed < first_ && span_.week_before) return {};  // nothing new after the history
    if (last_observed < first_) {
      throw ImportError("no week from " + week_text(operating_week(first_)) + " on has " +
                        std::to_string(settings_.min_days) + " days with a flow");
    }
    if (span_.last_year && operating_week(last_observed).year < *span_.last_year) {
      throw ImportError("the last year " + std::to_string(*span_.last_year) + " has no observed week: the last is " +
                        week_text(operating_week(last_observed)));
    }
    WeeklySeries series;
    for (long i = first_; i <= last_observed; ++i) series.weeks.push_back(week(i));
    fill_gaps(series.weeks);
    for (long i = last_observed + 1; i <= last_; ++i) series.not_observed.push_back(week(i));
    return series;
  }

 private:
  bool observed(long index) const {
    const auto s = sums_.find(index);
    return s != sums_.end() && s->second.count >= settings_.min_days;
  }

  WeekFlow week(long index) const {
    WeekFlow w{operating_week(index), week_start(index)};
    const auto s = sums_.find(index);
    if (s != sums_.end()) w.days = s->second.count;
    if (observed(index)) w.flow = s->second.sum / s->second.count;
    return w;
  }

  long first_week(sys_days first_day) const {
    if (span_.week_before) return index_of(*span_.week_before) + 1;
    if (span_.first_year) return index_of({*span_.first_year, 1});
    for (int year = operating_week_of(std::chrono::year_month_day{first_day}).year;; ++year) {
      const long index = index_of({year, 1});
      if (index > last_) break;
      if (observed(index)) return index;
    }
    throw ImportError("no year has its week 1 observed (" + std::to_string(settings_.min_days) +
                      " days with a flow) before the last day");
  }

  // Interpolates the weeks that are not observed between observed ones.
  void fill_gaps(std::vector<WeekFlow>& weeks) const {
    std::size_t i = 0;
    while (i < weeks.size()) {
      if (weeks[i].days >= settings_.min_days) {
        ++i;
        continue;
      }
      std::size_t end = i;
      while (end < weeks.size() && weeks[end].days < settings_.min_days) ++end;  // end: observed
      check_gap(weeks, i, end);
      const double before = i > 0 ? weeks[i - 1].flow : span_.flow_before;
      const double after = weeks[end].flow;
      const double steps = static_cast<double>(end - i + 1);
      for (std::size_t k = i; k < end; ++k) {
        weeks[k].flow = before + (after - before) * static_cast<double>(k - i + 1) / steps;
        weeks[k].interpolated = true;
      }
      i = end;
    }
  }

  void check_gap(const std::vector<WeekFlow>& weeks, std::size_t from, std::size_t end) const {
    const std::string run =
        end - from == 1 ? week_text(weeks[from]) : week_text(weeks[from]) + " to " + week_text(weeks[end - 1]);
    const std::string few = " (fewer than " + std::to_string(settings_.min_days) + " days with a flow)";
    if (from == 0 && !span_.week_before) {
      throw ImportError("the series begins with weeks that are not observed" + few + ": " + run +
                        "; no observed week comes before them to interpolate from" +
                        (span_.first_year ? "; choose a later --first year" : ""));
    }
    const auto length = static_cast<int>(end - from);
    if (length > settings_.max_gap) {
      throw ImportError(std::to_string(length) + " weeks in a row are not observed" + few + ": " + run +
                        "; more than the " + std::to_string(settings_.max_gap) + " weeks that are filled (--max-gap)");
    }
  }

  const WeeklySpan& span_;
  const WeeklySettings& settings_;
  std::map<long, DaySum> sums_;
  long first_ = 0;
  long last_ = 0;
};

}  // namespace

WeeklySeries weekly_series(const std::vector<DayFlow>& days, const WeeklySpan& span, const WeeklySettings& settings) {
  if (days.empty()) throw ImportError("no daily value");
  return Builder(days, span, settings).build();
}

std::string week_text(OperatingWeek week) {
  const sys_days start = operating_week_start(week.year, week.week);
  return std::to_string(week.year) + " week " + std::to_string(week.week) + " (" + date_text(start) + " to " +
         date_text(start + Days{kFridayOffset}) + ")";
}

std::string week_text(const WeekFlow& week) {
  return week_text(week.week);
}

}  // namespace darcalim::import
