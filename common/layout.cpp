#include "common/layout.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <stdexcept>
#include <system_error>

namespace darcalim {

namespace {

// ---------------------------------------------------------------- parsing --

struct Node {
  bool is_group = false;
  int repeat = 1;
  bool explicit_repeat = false;
  std::vector<Node> children;
  layout_detail::Step item;  // when not a group
};

using Kind = layout_detail::Step::Kind;

class NotationParser {
 public:
  explicit NotationParser(std::string_view s) : s_(s) {}

  std::vector<Node> parse() {
    std::vector<Node> nodes = parse_list(/*nested=*/false);
    // Outer parentheses around the whole layout are not a group.
    if (nodes.size() == 1 && nodes[0].is_group && !nodes[0].explicit_repeat) {
      std::vector<Node> inner = std::move(nodes[0].children);
      return inner;
    }
    return nodes;
  }

 private:
  [[noreturn]] void fail(const std::string& what) const {
    throw std::invalid_argument("layout \"" + std::string(s_) + "\": " + what + " at column " +
                                std::to_string(i_ + 1));
  }
  bool at_end() const { return i_ >= s_.size(); }
  char peek() const { return s_[i_]; }
  static bool is_digit(char c) { return c >= '0' && c <= '9'; }
  static char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

  void skip_separators() {
    while (!at_end() && (peek() == ',' || peek() == ' ' || peek() == '\t')) ++i_;
  }
  int number() {
    int n = 0;
    bool any = false;
    while (!at_end() && is_digit(peek())) {
      n = n * 10 + (peek() - '0');
      if (n > 100000) fail("number too large");
      ++i_;
      any = true;
    }
    if (!any) fail("number expected");
    return n;
  }

  std::vector<Node> parse_list(bool nested) {
    std::vector<Node> nodes;
    for (;;) {
      skip_separators();
      if (at_end()) {
        if (nested) fail("missing ')'");
        return nodes;
      }
      if (peek() == ')') {
        if (!nested) fail("unbalanced ')'");
        ++i_;
        return nodes;
      }
      nodes.push_back(parse_item());
    }
  }

  Node parse_item() {
    Node node;
    char c = peek();
    if (c == '\'') {
      node.item.kind = Kind::kLiteral;
      node.item.text = literal();
      return node;
    }
    if (c == '/') {
      ++i_;
      node.item.kind = Kind::kNewLine;
      return node;
    }
    int count = 1;
    bool counted = false;
    if (is_digit(c)) {
      count = number();
      counted = true;
      if (at_end()) fail("item expected after count");
      c = peek();
    }
    if (c == '(') {
      ++i_;
      node.is_group = true;
      node.repeat = count;
      node.explicit_repeat = counted;
      node.children = parse_list(/*nested=*/true);
      return node;
    }
    switch (upper(c)) {
      case 'X':
        ++i_;
        node.item.kind = Kind::kSkip;
        node.item.width = count;
        return node;
      case 'A':
      case 'I':
      case 'F': {
        Node item = descriptor();
        if (!counted || count == 1) return item;
        Node group;
        group.is_group = true;
        group.repeat = count;
        group.children.push_back(item);
        return group;
      }
      default:
        fail(std::string("unknown item '") + c + "'");
    }
  }

  std::string literal() {
    ++i_;  // opening quote
    std::string text;
    for (;;) {
      if (at_end()) fail("unterminated literal");
      char c = peek();
      ++i_;
      if (c == '\'') {
        if (!at_end() && peek() == '\'') {
          text += '\'';
          ++i_;
          continue;
        }
        return text;
      }
      text += c;
    }
  }

  Node descriptor() {
    Node node;
    layout_detail::Step& item = node.item;
    char c = upper(peek());
    ++i_;
    if (c == 'A') {
      item.kind = Kind::kText;
      item.width = (!at_end() && is_digit(peek())) ? number() : 0;
      return node;
    }
    item.width = number();
    if (item.width == 0) fail("zero field width");
    if (c == 'I') {
      item.kind = Kind::kInteger;
      if (!at_end() && peek() == '.') {
        ++i_;
        item.digits = number();
        item.has_min = true;
      }
      return node;
    }
    item.kind = Kind::kReal;
    if (at_end() || peek() != '.') fail("F needs w.d");
    ++i_;
    item.digits = number();
    return node;
  }

  std::string_view s_;
  std::size_t i_ = 0;
};

// ---------------------------------------------------------------- values --

std::string stars(int width) { return std::string(static_cast<std::size_t>(width), '*'); }

std::string right_align(const std::string& s, int width) {
  if (static_cast<int>(s.size()) >= width) return s;
  return std::string(static_cast<std::size_t>(width) - s.size(), ' ') + s;
}

std::string remove_blanks(std::string_view field) {
  std::string s;
  for (char c : field) {
    if (c != ' ' && c != '\t') s += c;
  }
  return s;
}

bool parse_integer_field(std::string_view field, std::int64_t& value) {
  std::string s = remove_blanks(field);
  if (s.empty()) {
    value = 0;
    return true;
  }
  std::size_t start = (s[0] == '+' || s[0] == '-') ? 1 : 0;
  if (start == s.size()) return false;
  std::int64_t magnitude = 0;
  auto [ptr, ec] = std::from_chars(s.data() + start, s.data() + s.size(), magnitude);
  if (ec != std::errc() || ptr != s.data() + s.size()) return false;
  value = (s[0] == '-') ? -magnitude : magnitude;
  return true;
}

// Reads a real field: sign, digits with an optional point, an optional
// exponent (E or D). Without a point the last `decimals` digits are decimals.
bool parse_real_field(std::string_view field, int decimals, double& value) {
  std::string s = remove_blanks(field);
  if (s.empty()) {
    value = 0.0;
    return true;
  }
  std::size_t i = 0;
  bool negative = false;
  if (s[i] == '+' || s[i] == '-') {
    negative = s[i] == '-';
    ++i;
  }
  std::string mantissa;
  bool point = false;
  int fraction_digits = 0;
  for (; i < s.size(); ++i) {
    char c = s[i];
    if (c >= '0' && c <= '9') {
      mantissa += c;
      if (point) ++fraction_digits;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (mantissa.empty()) return false;
  long long exponent = 0;
  if (i < s.size()) {
    char c = s[i];
    if (c == 'E' || c == 'e' || c == 'D' || c == 'd') ++i;
    else if (c != '+' && c != '-') return false;
    std::int64_t e = 0;
    if (i >= s.size() || !parse_integer_field(s.substr(i), e)) return false;
    if (e > 100000 || e < -100000) return false;
    exponent = e;
  }
  exponent -= point ? fraction_digits : decimals;
  std::string text = mantissa + "e" + std::to_string(exponent);
  double magnitude = 0.0;
  auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), magnitude);
  if (ptr != text.data() + text.size()) return false;
  if (ec == std::errc::result_out_of_range) {
    magnitude = (exponent > 0) ? HUGE_VAL : 0.0;
  } else if (ec != std::errc()) {
    return false;
  }
  value = negative ? -magnitude : magnitude;
  return true;
}

std::string value_kind_error(const char* field) {
  return std::string("layout field ") + field + " given a value of another kind";
}

}  // namespace

std::string format_real(double value, int width, int decimals) {
  if (std::isnan(value)) return width >= 3 ? right_align("NaN", width) : stars(width);
  const bool negative = std::signbit(value);
  if (std::isinf(value)) {
    if (width < 3 || (negative && width < 4)) return stars(width);
    std::string s = (width >= 8 + (negative ? 1 : 0)) ? "Infinity" : "Inf";
    return right_align(negative ? "-" + s : s, width);
  }
  // A magnitude of 10^width or more has more digits than the field: its
  // stars come at once, whatever the value (an exploding model writes 1e300).
  static constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                            1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  if (width >= 0 && width <= 22 && std::fabs(value) >= kPowersOfTen[width]) return stars(width);
  char buffer[400];
  if (decimals > 50) return stars(width);
  auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::fixed, decimals);
  if (result.ec != std::errc()) return stars(width);
  std::string_view digits(buffer, static_cast<std::size_t>(result.ptr - buffer));
  std::string s;
  s.reserve(digits.size() + 2);
  if (negative) s += '-';
  // A zero integer part is dropped only when the field has no room for it.
  const bool drop_zero = decimals > 0 && digits.size() >= 2 && digits[0] == '0' && digits[1] == '.' &&
                         static_cast<int>(digits.size() + (negative ? 1 : 0)) > width;
  s += drop_zero ? digits.substr(1) : digits;
  if (decimals == 0) s += '.';
  if (static_cast<int>(s.size()) > width) return stars(width);
  return right_align(s, width);
}

std::string format_integer(std::int64_t value, int width, int min_digits) {
  if (min_digits == 0 && value == 0) return std::string(static_cast<std::size_t>(width), ' ');
  std::string digits = std::to_string(value < 0 ? -static_cast<unsigned long long>(value)
                                                : static_cast<unsigned long long>(value));
  if (min_digits > static_cast<int>(digits.size())) {
    digits.insert(0, static_cast<std::size_t>(min_digits) - digits.size(), '0');
  }
  std::string s = (value < 0 ? "-" : "") + digits;
  if (static_cast<int>(s.size()) > width) return stars(width);
  return right_align(s, width);
}

std::string format_text(std::string_view value, int width) {
  if (width == 0) return std::string(value);
  if (static_cast<int>(value.size()) >= width) return std::string(value.substr(0, static_cast<std::size_t>(width)));
  return std::string(static_cast<std::size_t>(width) - value.size(), ' ') + std::string(value);
}

std::string free_form(const FieldValues& values) {
  if (values.empty()) return "\n";
  std::string line;
  for (const FieldValue& v : values) {
    line += ' ';
    if (const auto* text = std::get_if<std::string>(&v)) {
      line += *text;
    } else if (const auto* integer = std::get_if<std::int64_t>(&v)) {
      line += std::to_string(*integer);
    } else {
      throw std::logic_error("free-form records hold texts and integers only");
    }
  }
  return line + "\n";
}

// ---------------------------------------------------------------- Layout --

Layout::Layout(std::string_view notation) {
  const std::vector<Node> nodes = NotationParser(notation).parse();
  // Expand repeat counts so that one pass of the layout is a flat list of
  // steps; reversion starts at the expansion of the last outermost group.
  // A layout whose repeat counts expand it beyond any record of the files is
  // refused before its expansion takes unbounded memory.
  // (Empty groups count as items, so that a repeated empty group is bounded too.)
  constexpr std::size_t kMaxItems = 100000;
  std::size_t items = 0;
  auto expand = [this, notation, &items](auto& self, const std::vector<Node>& list, bool outermost) -> void {
    for (const Node& node : list) {
      if (++items > kMaxItems) {
        throw std::invalid_argument("layout \"" + std::string(notation) + "\": more than 100000 items");
      }
      if (node.is_group) {
        if (outermost) reversion_ = steps_.size();
        for (int r = 0; r < node.repeat; ++r) self(self, node.children, false);
        continue;
      }
      steps_.push_back(node.item);
    }
  };
  expand(expand, nodes, true);
  // Values left at the end of a pass go on from the reversion point: without
  // a data field after it, a write would never end.
  bool reversion_has_data = false;
  for (std::size_t i = reversion_; i < steps_.size(); ++i) reversion_has_data = reversion_has_data || is_data(steps_[i]);
  if (data_steps_per_pass() > 0 && !reversion_has_data) {
    throw std::invalid_argument("layout \"" + std::string(notation) + "\": its last group holds no data field");
  }
}

int Layout::data_steps_per_pass() const {
  int n = 0;
  for (const Step& s : steps_) n += is_data(s) ? 1 : 0;
  return n;
}

std::string Layout::write(const FieldValues& values) const {
  if (!values.empty() && data_steps_per_pass() == 0) {
    throw std::logic_error("layout without fields given values");
  }
  std::string out;
  std::string line;
  std::size_t column = 0;
  std::size_t next = 0;
  auto put = [&](const std::string& text) {
    if (line.size() < column) line.append(column - line.size(), ' ');
    line.replace(column, text.size(), text);
    column += text.size();
  };
  auto end_line = [&] {
    out += line;
    out += '\n';
    line.clear();
    column = 0;
  };
  std::size_t pos = 0;
  for (;;) {
    if (pos == steps_.size()) {
      end_line();
      if (next == values.size()) return out;
      pos = reversion_;
      continue;
    }
    const Step& step = steps_[pos++];
    switch (step.kind) {
      case Kind::kLiteral:
        put(step.text);
        break;
      case Kind::kSkip:
        column += static_cast<std::size_t>(step.width);
        break;
      case Kind::kNewLine:
        end_line();
        break;
      case Kind::kInteger:
      case Kind::kReal:
      case Kind::kText: {
        if (next == values.size()) {
          end_line();
          return out;
        }
        const FieldValue& v = values[next++];
        if (step.kind == Kind::kInteger) {
          const auto* i = std::get_if<std::int64_t>(&v);
          if (i == nullptr) throw std::logic_error(value_kind_error("I"));
          put(format_integer(*i, step.width, step.has_min ? step.digits : -1));
        } else if (step.kind == Kind::kReal) {
          const auto* d = std::get_if<double>(&v);
          if (d == nullptr) throw std::logic_error(value_kind_error("F"));
          put(format_real(*d, step.width, step.digits));
        } else {
          const auto* t = std::get_if<std::string>(&v);
          if (t == nullptr) throw std::logic_error(value_kind_error("A"));
          put(format_text(*t, step.width));
        }
        break;
      }
    }
  }
}

ReadOutcome Layout::read(LineSource& source, int count, FieldValues& out) const {
  ReadOutcome outcome;
  std::optional<std::string> record = source.next_line();
  outcome.line_number = source.line_number();
  if (!record) {
    outcome.status = ReadOutcome::Status::kEndOfFile;
    return outcome;
  }
  if (count > 0 && data_steps_per_pass() == 0) throw std::logic_error("layout without fields read");
  std::size_t column = 0;
  std::size_t pos = 0;
  auto next_record = [&]() -> bool {
    record = source.next_line();
    outcome.line_number = source.line_number();
    column = 0;
    return record.has_value();
  };
  while (outcome.values_read < count) {
    if (pos == steps_.size()) {
      if (!next_record()) {
        outcome.status = ReadOutcome::Status::kEndOfFile;
        return outcome;
      }
      pos = reversion_;
      continue;
    }
    const Step& step = steps_[pos++];
    if (step.kind == Kind::kLiteral) {
      column += step.text.size();
      continue;
    }
    if (step.kind == Kind::kSkip) {
      column += static_cast<std::size_t>(step.width);
      continue;
    }
    if (step.kind == Kind::kNewLine) {
      if (!next_record()) {
        outcome.status = ReadOutcome::Status::kEndOfFile;
        return outcome;
      }
      continue;
    }
    std::size_t width = step.width > 0 ? static_cast<std::size_t>(step.width)
                                       : (record->size() > column ? record->size() - column : 0);
    std::string field = column < record->size() ? record->substr(column, width) : std::string();
    if (field.size() < width) field.append(width - field.size(), ' ');
    column += width;
    if (step.kind == Kind::kText) {
      out.emplace_back(field);
    } else if (step.kind == Kind::kInteger) {
      std::int64_t value = 0;
      if (!parse_integer_field(field, value)) {
        outcome.status = ReadOutcome::Status::kBadField;
        outcome.field_text = field;
        return outcome;
      }
      out.emplace_back(value);
    } else {
      double value = 0.0;
      if (!parse_real_field(field, step.digits, value)) {
        outcome.status = ReadOutcome::Status::kBadField;
        outcome.field_text = field;
        return outcome;
      }
      out.emplace_back(value);
    }
    ++outcome.values_read;
  }
  return outcome;
}

ReadOutcome Layout::read_record(LineSource& source, FieldValues& out) const {
  return read(source, data_steps_per_pass(), out);
}

}  // namespace darcalim
