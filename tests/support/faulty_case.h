// Faulty case folders made from the shipped example case.
//
// A FaultyCase copies examples/wuerzburg into the folder "case" of a fresh
// scratch folder (so that a file written beside the case folder can be
// seen), leaves in it the appended forecast file of an earlier run, and then
// lets a test put in one fault by editing lines or bytes. It can also turn
// the example into a case whose recent flows come from a VAZPASTS file, or
// one with the variability check and its percentile file, so that the
// faults of those files can be made too.
#pragma once

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "tests/support/file_text.h"
#include "tests/support/scratch_folder.h"

namespace darcalim::testing {

class FaultyCase {
 public:
  // The appended forecast file of the example case, as an earlier run left it.
  static constexpr const char* kEarlierRecords =
      "  CODIGO   ANO  MES  SEM    PREV1    PREV2    PREV3    PREV4    PREV5    PREV6\n"
      "      14  2009    6   26    101.0    102.0    103.0    104.0    105.0    106.0\n"
      "LIM. INFERIOR               51.0     52.0     53.0     54.0     55.0     56.0\n"
      "LIM. SUPERIOR              151.0    152.0    153.0    154.0    155.0    156.0\n";

  FaultyCase() {
    namespace fs = std::filesystem;
    fs::create_directory(folder());
    for (const auto& entry : fs::directory_iterator(DARCALIM_EXAMPLE_DIR)) {
      fs::copy_file(entry.path(), folder() / entry.path().filename());
      fs::permissions(folder() / entry.path().filename(), fs::perms::owner_write, fs::perm_options::add);
    }
    write("PREVS.DAT", kEarlierRecords);
  }

  std::filesystem::path folder() const { return scratch_.path() / "case"; }
  // The scratch folder that holds the case folder.
  const std::filesystem::path& outside() const { return scratch_.path(); }

  std::string read(const std::string& file) const { return file_text(folder() / file); }
  void write(const std::string& file, const std::string& bytes) const {
    std::ofstream(folder() / file, std::ios::binary | std::ios::trunc) << bytes;
  }
  void remove(const std::string& file) const { std::filesystem::remove(folder() / file); }

  std::vector<std::string> lines(const std::string& file) const {
    std::vector<std::string> out;
    const std::string text = read(file);
    std::size_t start = 0;
    while (start < text.size()) {
      const std::size_t end = text.find('\n', start);
      out.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
      if (end == std::string::npos) break;
      start = end + 1;
    }
    return out;
  }
  // Writes the lines back, each ended by `line_end`.
  void set_lines(const std::string& file, const std::vector<std::string>& lines,
                 const std::string& line_end = "\n") const {
    std::string text;
    for (const auto& l : lines) text += l + line_end;
    write(file, text);
  }
  // Replaces line n (from 1) of a file.
  void set_line(const std::string& file, int n, const std::string& text) const {
    auto l = lines(file);
    l.at(static_cast<std::size_t>(n - 1)) = text;
    set_lines(file, l);
  }
  // Replaces the flow field of week `week` (from 1) on line n of the history.
  void set_flow(int n, int week, const std::string& field8) const {
    auto l = lines(kHistory);
    l.at(static_cast<std::size_t>(n - 1)).replace(static_cast<std::size_t>(8 * ((week - 1) % 9)), 8, field8);
    set_lines(kHistory, l);
  }
  // Keeps the first `bytes` bytes of a file.
  void cut(const std::string& file, std::size_t bytes) const { write(file, read(file).substr(0, bytes)); }

  // Recent flows from VAZPASTS.DAT (station 14, the example's last four
  // observed weeks 22..25 of 2010), last estimation year 2009.
  void use_recent_flow_file() const {
    set_line(kCase, 11, "0");
    set_line(kCase, 12, "VAZPASTS.DAT");
    set_line(kCase, 13, "2009");
    write("VAZPASTS.DAT",
          " FLOWS OF THE 4 WEEKS BEFORE WEEK 26 OF 2010 (M3/S)\n"
          " STATION              Q-1       Q-2       Q-3       Q-4\n"
          " -----------------------------------------------------\n"
          "   14 WUERZBURG        90.00    126.00    153.00    112.00\n");
  }

  // Variability option 1 with a monthly percentile file PERC1.DAT.
  void use_percentile_file() const {
    set_line(kCase, 15, "1");
    set_line(kCase, 16, "PERC1.DAT");
    std::string text = "2\n2\n";
    for (int m = 1; m <= 12; ++m) text += (m < 10 ? " " : "") + std::to_string(m) + "\t10.0\t90.0\n";
    write("PERC1.DAT", text);
  }

  // Names of the entries of the scratch folder (the case folder and anything
  // written beside it).
  std::set<std::string> entries_outside() const {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(outside())) {
      names.insert(entry.path().filename().string());
    }
    return names;
  }

  static constexpr const char* kCase = "CASO1.DAT";
  static constexpr const char* kHistory = "HIST1.DAT";

 private:
  ScratchFolder scratch_;
};

}  // namespace darcalim::testing
