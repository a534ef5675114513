// The sizes of every table of a run: the limits of the data model.
#pragma once

namespace darcalim {

inline constexpr int kMaxYears = 100;        // rows of the flow history
inline constexpr int kMaxWeeks = 53;         // operating weeks of a year
inline constexpr int kMaxModels = 140;       // models of the joined list of a combined run
inline constexpr int kShortJoinedModels = 26;  // the joined list of a short history
inline constexpr int kMaxPassModels = 94;    // models of one pass (two series of 47)
inline constexpr int kBaseModels = 47;       // models of one series
inline constexpr int kShortBaseModels = 9;   // models of one series with a short history
inline constexpr int kShortHistoryYears = 20;  // fewer complete years make a short history
inline constexpr int kLags = 10;             // lags of the autocorrelation functions
inline constexpr int kMaxLags = 15;          // storage of the autocorrelation functions
inline constexpr int kMaxArOrder = 4;        // highest autoregressive order (MAXP)
inline constexpr int kMonths = 12;
inline constexpr int kWindows = 3;           // first half, second half, whole series
inline constexpr int kGroupings = 4;         // half-years, quarters, months, weeks
inline constexpr int kSeries = 2;            // with and without transformation
inline constexpr int kLeads = 6;             // forecast weeks of a run
inline constexpr int kMaxStations = 600;     // stations of the recent-flow file

}  // namespace darcalim
