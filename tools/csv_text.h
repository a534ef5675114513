// Comma-separated text of the companion tools' tables (the batch summary, the
// hindcast pairs and scores, the scores the pictures read back).
//
// A field that holds a comma, a double quote or a line end is written quoted,
// its quotes doubled; reading undoes this. Reading never fails: a quote left
// open runs to the end of the line, and a carriage return outside quotes (a
// CR-LF line end) is dropped.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace darcalim {

// `text` as one field of a CSV line.
std::string csv_field(const std::string& text);

// One CSV line of `fields`, with its line end ("\n").
void write_csv_row(std::ostream& out, const std::vector<std::string>& fields);

// The fields of one CSV line.
std::vector<std::string> csv_fields(const std::string& line);

}  // namespace darcalim
