// The output files of darcalim-hindcast, named after its prefix and each
// written whole (tools/whole_file.h): a reader, or a merge of slices, finds
// the complete file of a run or none at all.
//
//   PREFIX-pairs.csv        the pairs (pairs_file.h)
//   PREFIX-scores.csv/json  the scores (hindcast_files.h)
//   PREFIX-unfinished.csv   the units a failed run did not finish
//
// The scores are always those of the pairs file's text read back through a
// PairsTable, for a hindcast as for --score: the scores of the merged pairs
// of a hindcast's slices are those of the hindcast on one machine, to the
// byte.
#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "hindcast/hindcast_case.h"
#include "hindcast/hindcast_runner.h"
#include "hindcast/pairs_file.h"

namespace darcalim::hindcast {

std::filesystem::path pairs_path(const std::string& prefix);
std::filesystem::path scores_csv_path(const std::string& prefix);
std::filesystem::path scores_json_path(const std::string& prefix);
std::filesystem::path unfinished_path(const std::string& prefix);

// Writes the scores files of the pairs of `table`. False when one could not
// be written; the reason goes to `err`.
bool write_scores_files(const std::string& prefix, const PairsTable& table, std::ostream& err);

// Writes what a hindcast, or a slice of one, leaves of its outcomes.
//
// When every unit was finished: the pairs file, the scores of its text, and
// the unfinished list that an earlier run of the prefix left is removed.
// When a unit was not: the unfinished list alone, and neither pairs nor
// scores (a slice's pairs file, when there, holds the whole slice).
//
// False when a unit was not finished or a file could not be written; the
// reason goes to `err`.
bool write_hindcast_files(const std::string& prefix, const std::vector<HindcastCase>& cases,
                          const std::vector<IssueOutcome>& outcomes, std::ostream& err);

}  // namespace darcalim::hindcast
