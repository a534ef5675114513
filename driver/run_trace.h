// RUNTRACE.DAT and RUNSTATE.DAT: how far a run has got and how it ended.
//
// POSTRACE appends one line to the trace file; POSTSTAT rewrites the state
// file so that the line is its only one. Both open, write and close the file,
// so that it is complete on disk at every moment. Line layout (I8,1X,A70):
// the code in 8 columns, a blank, the first 70 characters of the text.
//
// Codes: 1 start of a pass, 0 normal end, 2001 stop on a negative flow.
#pragma once

#include <string>

#include "driver/run.h"

namespace darcalim {

inline constexpr int kTraceStart = 1;
inline constexpr int kTraceEnd = 0;
inline constexpr int kTraceNegativeFlow = 2001;

inline const char* const kTraceFileName = "RUNTRACE.DAT";
inline const char* const kStateFileName = "RUNSTATE.DAT";

void POSTRACE(const Run& run, const std::string& file_name, int code, const std::string& text);
void POSTSTAT(const Run& run, const std::string& file_name, int code, const std::string& text);

// Writes the event to both files, trace first, with the run's trace text.
void post_event(const Run& run, int code);

}  // namespace darcalim
