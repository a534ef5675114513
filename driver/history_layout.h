// The layout of the history file, shared by its reader and its writers.
//
//   line 1    (1X,I8,15A4)  station code and name (60 characters)
//   line 2    (2I5,F9.0)    first year, last year, FAC
//   line 3 on 9(1X,F7.0)    the flows of each year in week order, nine to a
//                           line; every year begins on a new line (six lines
//                           for 52 or 53 weeks)
//
// FAC is read through F9.0, so a decimal point written in its field wins:
// writers put the factor's own text in those nine columns. A flow written
// without a decimal point reads as a whole number.
#pragma once

namespace darcalim {

inline constexpr const char* kHistoryStationLine = "(1X,I8,15A4)";
inline constexpr const char* kHistoryYearsLine = "(2I5,F9.0)";
inline constexpr const char* kHistoryFlows = "9(1X,F7.0)";

inline constexpr int kHistoryHeaderLines = 2;
inline constexpr int kHistoryNameGroups = 15;     // the name: 15 groups (A4) of
inline constexpr int kHistoryNameGroupWidth = 4;  // 4 characters
inline constexpr int kHistoryYearWidth = 5;       // I5
inline constexpr int kHistoryFactorWidth = 9;     // F9.0
inline constexpr int kHistoryFlowsPerLine = 9;
inline constexpr int kHistoryFlowWidth = 7;       // F7.0, after one blank

}  // namespace darcalim
