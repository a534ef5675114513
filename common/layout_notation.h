// The field notation of the record layouts, parsed and expanded.
//
// A notation such as "(2X,'AR(',I1,')',A,4(2X,F8.3))" becomes one flat list
// of steps for one pass of the layout, repeat counts expanded, with the
// position where writing or reading goes on when values remain at the end of
// a pass (the start of the last outermost group, or 0). Items: 'text' (a quote
// inside written twice), nX, Aw, A, Iw, Iw.m, Fw.d, a repeat count before A,
// I and F, n(...) groups, and /; they may be separated by commas or blanks,
// and the outer parentheses are optional.
//
// A malformed notation, or one that expands beyond 100000 items, throws
// std::invalid_argument (a fault of the program, not of its input).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace darcalim::layout_detail {

// One item of a layout expanded for one pass.
struct Step {
  enum class Kind { kLiteral, kSkip, kNewLine, kInteger, kReal, kText };
  Kind kind = Kind::kLiteral;
  int width = 0;       // w of A/I/F (0: A without width), n of nX
  int digits = 0;      // d of Fw.d, m of Iw.m
  bool has_min = false;
  std::string text;    // literal text
};

struct ExpandedLayout {
  std::vector<Step> steps;
  std::size_t reversion = 0;  // first step of the last outermost group
};

ExpandedLayout expand_notation(std::string_view notation);

}  // namespace darcalim::layout_detail
