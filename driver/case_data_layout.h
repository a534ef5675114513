// The layout of CASO.DAT and of the case data file, shared by the case
// reader and the writers of new cases.
//
// CASO.DAT holds one line, (A12): the name of the case data file. The case
// data file holds one item per line, each line in its own layout; lines 15
// to 17 are optional.
#pragma once

namespace darcalim {

inline constexpr const char* kCaseIndexLine = "(A12)";

// One line of the case data file: its number and its layout.
struct CaseDataLine {
  int number;
  const char* layout;
};

namespace case_data_line {
inline constexpr CaseDataLine kReportName{1, "(A12)"};        // run report; its last "." within 9 characters
inline constexpr CaseDataLine kPrintParameters{2, "(A1)"};    // "S" prints the parameter tables
inline constexpr CaseDataLine kHistoryName{3, "(A12)"};
inline constexpr CaseDataLine kTransformation{4, "(I1)"};     // 0..5
inline constexpr CaseDataLine kStartMonth{5, "(I2)"};         // first month of the hydrological year
inline constexpr CaseDataLine kForecastFileName{6, "(A12)"};  // appended forecast file
inline constexpr CaseDataLine kRankingReportName{7, "(A12)"};
inline constexpr CaseDataLine kConfidence{8, "(I3)"};         // per cent
inline constexpr CaseDataLine kForecastWeek{9, "(I2)"};       // SEMPREV
inline constexpr CaseDataLine kForecastYear{10, "(I4)"};      // ANOPREV
inline constexpr CaseDataLine kTrendSource{11, "(I1)"};       // 0: recent flows from the recent-flow file
inline constexpr CaseDataLine kRecentFlowName{12, "(A12)"};   // read with trend source 0 only
inline constexpr CaseDataLine kEstimationYear{13, "(I4)"};    // ANOFEST, read with trend source 0 only
inline constexpr CaseDataLine kStation{14, "(I3)"};           // station number in the recent-flow file
inline constexpr CaseDataLine kVariability{15, "(I1)"};       // optional: 0, 1 or 2
inline constexpr CaseDataLine kPercentileName{16, "(A12)"};   // read with variability option 1 or 2
inline constexpr CaseDataLine kWeeksPerYear{17, "(I1)"};      // optional: 1 for 53 weeks a year
}  // namespace case_data_line

}  // namespace darcalim
