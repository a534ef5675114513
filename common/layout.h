// Record layouts of the text files, read and written in one field notation.
//
// A Layout is parsed once from its notation, for instance
//   Layout("(2X,'AR(',I1,')',A,4(2X,F8.3))")
// and then writes or reads records. Items may be separated by commas or by
// blanks, and the outer parentheses are optional, so a layout can be copied
// as it is laid out in a record description: "/ 2X 'MES ' I2 /".
//
// Items: 'text' (a quote inside is written twice), nX, Aw, A, Iw, Iw.m, Fw.d,
// an optional repeat count before A, I and F (15A4), n(...) groups, and /.
//
// Writing follows the rules of a formatted write:
//  - / ends the current line; a layout ending with / thus ends with an empty
//    line and one starting with / starts with one;
//  - nX moves the position; its blanks appear only when something is written
//    after them on the same line;
//  - Fw.d rounds the exact binary value to nearest, ties to even, whatever the
//    locale; a negative value that rounds to zero keeps its sign; the leading
//    "0" is dropped only when the field has no room for it; a value that does
//    not fit is written as w asterisks (also for Iw);
//  - with values left at the end of the layout the line ends and writing goes
//    on from the start of the last outermost group (of the layout when it has
//    none); when values run out, the line ends at the first field without a
//    value, after the literal text that stands before it.
//
// Reading takes each field from its columns (read_fields keeps the columns as
// text and checks the literals): blanks are ignored, an all-blank
// field is 0, Fw.d without a decimal point takes d implied decimals, a short
// line reads as if padded with blanks, a literal skips its own width.
//
// A malformed notation throws std::invalid_argument (a fault of the program,
// not of its input); a value of the wrong kind for its field throws
// std::logic_error.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "common/field_codecs.h"
#include "common/layout_notation.h"

namespace darcalim {

// Supplies the lines of a file one by one, without their line ends.
class LineSource {
 public:
  virtual ~LineSource() = default;
  // The next line, or nothing at the end of the file.
  virtual std::optional<std::string> next_line() = 0;
  // Number of the line last returned (1 for the first line).
  virtual int line_number() const = 0;
};

// Outcome of reading values through a layout.
struct ReadOutcome {
  enum class Status { kOk, kEndOfFile, kBadField };
  Status status = Status::kOk;
  int values_read = 0;     // values taken before the end of file or the bad field
  int line_number = 0;     // line of the source where the reading stopped
  std::string field_text;  // the columns of a bad field, as read

  bool ok() const { return status == Status::kOk; }
};


class Layout {
 public:
  explicit Layout(std::string_view notation);

  // The text of a write of `values`, every line ended by '\n'.
  std::string write(const FieldValues& values) const;
  // The same text appended to `out`, each field formatted in place; a value
  // of the wrong kind leaves `out` as it was.
  void append(std::string& out, const FieldValues& values) const;

  // Reads `count` values from the records of `source`, appending them to
  // `out` (integers for I fields, reals for F fields, texts for A fields).
  // Reading starts with a new record; on success the rest of the last record
  // is passed over.
  ReadOutcome read(LineSource& source, int count, FieldValues& out) const;

  // Reads one record, taking as many values as its layout holds.
  ReadOutcome read_record(LineSource& source, FieldValues& out) const;

  // Reads one pass of the layout as the columns of its fields, without
  // converting them (a number written as asterisks reads as it stands), for
  // reading back what a layout wrote. A line shorter than the layout reads
  // as if padded with blanks; a literal must stand in its columns wherever
  // the line reaches them, or the reading stops with kBadField and the
  // columns found in field_text. Reading starts with a new record.
  ReadOutcome read_fields(LineSource& source, std::vector<std::string>& out) const;

 private:
  using Step = layout_detail::Step;
  using Kind = Step::Kind;

  bool is_data(const Step& s) const {
    return s.kind == Kind::kInteger || s.kind == Kind::kReal || s.kind == Kind::kText;
  }
  int data_steps_per_pass() const { return data_steps_; }
  int count_data_steps() const;
  // Walks the steps, pass after pass from the reversion point, until the
  // visitor stops (see layout.cpp).
  template <typename Visitor>
  void walk(Visitor& visitor) const;

  std::vector<Step> steps_;     // the layout expanded for one full pass
  std::size_t reversion_ = 0;   // first step of the last outermost group
  int data_steps_ = 0;          // fields of one pass
};

}  // namespace darcalim
