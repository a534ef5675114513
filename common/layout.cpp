#include "common/layout.h"

#include <stdexcept>
#include <utility>

#include "common/field_codecs.h"

namespace darcalim {

namespace {

std::string value_kind_error(const char* field) {
  return std::string("layout field ") + field + " given a value of another kind";
}

}  // namespace

Layout::Layout(std::string_view notation) {
  layout_detail::ExpandedLayout expanded = layout_detail::expand_notation(notation);
  steps_ = std::move(expanded.steps);
  reversion_ = expanded.reversion;
  data_steps_ = count_data_steps();
  // Values left at the end of a pass go on from the reversion point: without
  // a data field after it, a write would never end.
  bool reversion_has_data = false;
  for (std::size_t i = reversion_; i < steps_.size(); ++i) reversion_has_data = reversion_has_data || is_data(steps_[i]);
  if (data_steps_per_pass() > 0 && !reversion_has_data) {
    throw std::invalid_argument("layout \"" + std::string(notation) + "\": its last group holds no data field");
  }
}

int Layout::count_data_steps() const {
  int n = 0;
  for (const Step& s : steps_) n += is_data(s) ? 1 : 0;
  return n;
}

// The one walk of the steps that writing and reading share. A visitor
// answers more() (go on at all), end_of_pass() (the steps ran out: go on from
// the reversion point?), literal(), skip(), new_line() and field(); all but
// skip() stop the walk by answering false.
template <typename Visitor>
void Layout::walk(Visitor& visitor) const {
  std::size_t pos = 0;
  while (visitor.more()) {
    if (pos == steps_.size()) {
      if (!visitor.end_of_pass()) return;
      pos = reversion_;
      continue;
    }
    const Step& step = steps_[pos++];
    switch (step.kind) {
      case Kind::kLiteral:
        if (!visitor.literal(step)) return;
        break;
      case Kind::kSkip:
        visitor.skip(step);
        break;
      case Kind::kNewLine:
        if (!visitor.new_line()) return;
        break;
      case Kind::kInteger:
      case Kind::kReal:
      case Kind::kText:
        if (!visitor.field(step)) return;
        break;
    }
  }
}

namespace {

using Step = layout_detail::Step;
using Kind = Step::Kind;

// Writing: lines are appended to `out` as they are built, each field
// formatted in place; the walk ends when the values run out.
struct Writer {
  const FieldValues& values;
  std::string& out;
  std::size_t line_start = 0;  // where the current line begins in `out`
  std::size_t column = 0;
  std::size_t next = 0;

  Writer(const FieldValues& v, std::string& text) : values(v), out(text), line_start(text.size()) {}

  // The blanks of the nX before a literal or a field.
  void move_to_column() {
    const std::size_t written = out.size() - line_start;
    if (written < column) out.append(column - written, ' ');
  }
  void column_reached() { column = out.size() - line_start; }
  void end_line() {
    out += '\n';
    line_start = out.size();
    column = 0;
  }

  bool more() const { return true; }
  bool end_of_pass() {
    end_line();
    return next < values.size();
  }
  bool literal(const Step& step) {
    move_to_column();
    out += step.text;
    column_reached();
    return true;
  }
  void skip(const Step& step) { column += static_cast<std::size_t>(step.width); }
  bool new_line() {
    end_line();
    return true;
  }
  bool field(const Step& step) {
    if (next == values.size()) {
      end_line();
      return false;
    }
    const FieldValue& v = values[next++];
    move_to_column();
    if (step.kind == Kind::kInteger) {
      const auto* i = std::get_if<std::int64_t>(&v);
      if (i == nullptr) throw std::logic_error(value_kind_error("I"));
      append_integer(out, *i, step.width, step.has_min ? step.digits : -1);
    } else if (step.kind == Kind::kReal) {
      const auto* d = std::get_if<double>(&v);
      if (d == nullptr) throw std::logic_error(value_kind_error("F"));
      append_real(out, *d, step.width, step.digits);
    } else {
      const auto* t = std::get_if<std::string>(&v);
      if (t == nullptr) throw std::logic_error(value_kind_error("A"));
      append_text(out, *t, step.width);
    }
    column_reached();
    return true;
  }
};

// The record being read and the column reached in it: what both readers
// share.
struct RecordCursor {
  LineSource& source;
  ReadOutcome outcome;
  std::optional<std::string> record;
  std::size_t column = 0;

  explicit RecordCursor(LineSource& s) : source(s) {}

  bool next_record() {
    record = source.next_line();
    outcome.line_number = source.line_number();
    column = 0;
    if (record.has_value()) return true;
    outcome.status = ReadOutcome::Status::kEndOfFile;
    return false;
  }
  // The columns of the next `width` characters, padded with blanks.
  std::string columns(std::size_t width) const {
    std::string text = column < record->size() ? record->substr(column, width) : std::string();
    if (text.size() < width) text.append(width - text.size(), ' ');
    return text;
  }
  // The columns of a field, moving past them (A without a width takes the
  // rest of the line).
  std::string take_field(const Step& step) {
    const std::size_t width = step.width > 0 ? static_cast<std::size_t>(step.width)
                                             : (record->size() > column ? record->size() - column : 0);
    std::string text = columns(width);
    column += width;
    return text;
  }
  bool bad(const std::string& text) {
    outcome.status = ReadOutcome::Status::kBadField;
    outcome.field_text = text;
    return false;
  }
  void skip(const Step& step) { column += static_cast<std::size_t>(step.width); }
  bool new_line() { return next_record(); }
};

// Reading: fields are taken from the columns of the current record; the walk
// ends when `count` values are read, at the end of the file or at a field
// that is not a number.
struct Reader : RecordCursor {
  const int count;
  FieldValues& out;

  Reader(LineSource& s, int n, FieldValues& values) : RecordCursor(s), count(n), out(values) {}

  bool more() const { return outcome.values_read < count; }
  bool end_of_pass() { return next_record(); }
  bool literal(const Step& step) {
    column += step.text.size();
    return true;
  }
  bool field(const Step& step) {
    const std::string text = take_field(step);
    if (step.kind == Kind::kText) {
      out.emplace_back(text);
    } else if (step.kind == Kind::kInteger) {
      std::int64_t value = 0;
      if (!parse_integer_field(text, value)) return bad(text);
      out.emplace_back(value);
    } else {
      double value = 0.0;
      if (!parse_real_field(text, step.digits, value)) return bad(text);
      out.emplace_back(value);
    }
    ++outcome.values_read;
    return true;
  }
};

// Reading the columns of the fields: one pass, every field as text, every
// literal checked where the line reaches it.
struct FieldReader : RecordCursor {
  std::vector<std::string>& out;

  FieldReader(LineSource& s, std::vector<std::string>& fields) : RecordCursor(s), out(fields) {}

  bool more() const { return true; }
  bool end_of_pass() { return false; }
  bool literal(const Step& step) {
    const bool reached = column < record->size();
    const std::string found = columns(step.text.size());
    column += step.text.size();
    return !reached || found == step.text || bad(found);
  }
  bool field(const Step& step) {
    out.push_back(take_field(step));
    ++outcome.values_read;
    return true;
  }
};

}  // namespace

std::string Layout::write(const FieldValues& values) const {
  std::string out;
  append(out, values);
  return out;
}

void Layout::append(std::string& out, const FieldValues& values) const {
  if (!values.empty() && data_steps_per_pass() == 0) {
    throw std::logic_error("layout without fields given values");
  }
  const std::size_t length_before = out.size();
  Writer writer(values, out);
  try {
    walk(writer);
  } catch (...) {
    out.resize(length_before);
    throw;
  }
}

ReadOutcome Layout::read(LineSource& source, int count, FieldValues& out) const {
  Reader reader(source, count, out);
  if (!reader.next_record()) return reader.outcome;
  if (count > 0 && data_steps_per_pass() == 0) throw std::logic_error("layout without fields read");
  walk(reader);
  return reader.outcome;
}

ReadOutcome Layout::read_record(LineSource& source, FieldValues& out) const {
  return read(source, data_steps_per_pass(), out);
}

ReadOutcome Layout::read_fields(LineSource& source, std::vector<std::string>& out) const {
  FieldReader reader(source, out);
  if (!reader.next_record()) return reader.outcome;
  walk(reader);
  return reader.outcome;
}

}  // namespace darcalim
