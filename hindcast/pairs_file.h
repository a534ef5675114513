// The pairs file of a hindcast (PREFIX-pairs.csv): written by a hindcast or
// a slice of one, read back by the scores of the hindcast and of --score.
//
// One row per case folder, issue week and lead whose target week was
// observed, under the header
//   location_id,issue_year,issue_week,lead_weeks,target_year,target_week,
//   value,lower,upper,level,model,observed,persistence,climatology,folder
// value, lower and upper as the forecast record writes them, without blanks
// (empty for asterisks); level the case's confidence level in per cent;
// observed the flow of the full history; persistence and climatology the
// reference flows of the skill scores (empty when there is none); folder the
// case folder as the hindcast was given it. The flows are written in their
// shortest round-trip form, so that the scores read back the very numbers
// the hindcast holds and need no case folder.
//
// A PairsTable gathers the rows of any number of pairs files and gives them
// case folder by case folder. It refuses, with a PairsError "FILE, line N:
// what is wrong": a file without the header above, a row without its 15
// fields or with a field that does not read (a year, a week 1..53, a lead
// 1..6, a number), a row of a (folder, issue year, issue week, lead) that an
// earlier row holds, and a row whose station or level differs from an
// earlier row of its folder.
#pragma once

#include <cstddef>
#include <map>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "hindcast/hindcast_case.h"
#include "hindcast/hindcast_runner.h"
#include "hindcast/scores.h"

namespace darcalim::hindcast {

class PairsError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The first line of a pairs file, without its line end.
std::string pairs_header();

// The pairs file of `pairs` (each of a case of `cases`), header and rows in
// the order of `pairs`, each line ended by "\n".
std::string pairs_csv_text(const std::vector<HindcastCase>& cases, const std::vector<ForecastPair>& pairs);

class PairsTable {
 public:
  // Adds the rows of a pairs file: its text, named `file` in the messages.
  // Throws PairsError; the table then holds the rows before the one refused.
  void add_file(const std::string& file, const std::string& text);

  // The case folders in byte order of their names, each with its pairs in
  // the order of issue year, issue week and lead, whatever the order of the
  // files and rows they came from.
  std::vector<CasePairs> cases() const;

  std::size_t rows() const { return rows_; }

 private:
  // Where a row was read: a file of files_ and a line, from 1.
  struct Origin {
    std::size_t file = 0;
    std::size_t line = 0;
  };
  using Key = std::tuple<int, int, int>;  // issue year, issue week, lead
  struct Folder {
    int location_id = 0;
    int level = 0;
    Origin first;
    std::map<Key, std::pair<Pair, Origin>> pairs;
  };

  void add_row(const std::vector<std::string>& fields, Origin origin);
  std::string where(Origin origin) const;

  std::vector<std::string> files_;
  std::map<std::string, Folder> folders_;
  std::size_t rows_ = 0;
};

}  // namespace darcalim::hindcast
