#include "common/layout_notation.h"

#include <stdexcept>
#include <string>

namespace darcalim::layout_detail {

namespace {

struct Node {
  bool is_group = false;
  int repeat = 1;
  bool explicit_repeat = false;
  std::vector<Node> children;
  Step item;  // when not a group
};

using Kind = Step::Kind;

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
    Step& item = node.item;
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

}  // namespace

ExpandedLayout expand_notation(std::string_view notation) {
  const std::vector<Node> nodes = NotationParser(notation).parse();
  ExpandedLayout out;
  // Expand repeat counts so that one pass of the layout is a flat list of
  // steps; reversion starts at the expansion of the last outermost group.
  // A layout whose repeat counts expand it beyond any record of the files is
  // refused before its expansion takes unbounded memory.
  // (Empty groups count as items, so that a repeated empty group is bounded too.)
  constexpr std::size_t kMaxItems = 100000;
  std::size_t items = 0;
  auto expand = [&out, notation, &items](auto& self, const std::vector<Node>& list, bool outermost) -> void {
    for (const Node& node : list) {
      if (++items > kMaxItems) {
        throw std::invalid_argument("layout \"" + std::string(notation) + "\": more than 100000 items");
      }
      if (node.is_group) {
        if (outermost) out.reversion = out.steps.size();
        for (int r = 0; r < node.repeat; ++r) self(self, node.children, false);
        continue;
      }
      out.steps.push_back(node.item);
    }
  };
  expand(expand, nodes, true);
  return out;
}

}  // namespace darcalim::layout_detail
