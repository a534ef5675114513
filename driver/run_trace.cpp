#include "driver/run_trace.h"

#include "common/layout.h"
#include "common/output_file.h"

namespace darcalim {

namespace {

std::string event_line(int code, const std::string& text) {
  static const Layout kLine("(I8,1X,A70)");
  return kLine.write({std::int64_t{code}, text});
}

void write_event(const Run& run, const std::string& file_name, OutputFile::Mode mode, int code,
                 const std::string& text) {
  if (!run.writes_files) return;
  OutputFile file;
  file.open(run.file(file_name), mode);
  file.write_text(event_line(code, text));
  file.close();
}

}  // namespace

void POSTRACE(const Run& run, const std::string& file_name, int code, const std::string& text) {
  write_event(run, file_name, OutputFile::Mode::kAppend, code, text);
}

void POSTSTAT(const Run& run, const std::string& file_name, int code, const std::string& text) {
  write_event(run, file_name, OutputFile::Mode::kRewrite, code, text);
}

void post_event(const Run& run, int code) {
  POSTRACE(run, kTraceFileName, code, run.trace_text);
  POSTSTAT(run, kStateFileName, code, run.trace_text);
}

}  // namespace darcalim
