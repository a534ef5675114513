// Sorting helpers shared by the rankings and the sample quantiles.
//
// Arrays are passed as spans of their first N entries and read as 1-based
// positions (entry i of the table is element i - 1 of the span).
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace darcalim {

// ORDENA: ascending ranks of X(1..N) as counting gives them (found by a sort
// when no value is NaN). The caller presets RANK and
// ORDER to 1. On return RANK(i) is the rank of X(i) (1 = smallest; of equal
// values the one with the smaller index ranks first) and ORDER(k) the index
// of the value of rank k. A difference that is not below zero (an unordered
// one included) counts as not smaller.
void ORDENA(int N, std::span<const double> X, std::span<int> RANK, std::span<int> ORDER);

// ESCO7: index heap sort of X(1..N) by the 4-byte keys X(i) * S.
// With M = N the indices end in ascending order of the keys in INDX(1..N)
// and FIRST = INDX(1); with M < N the sort stops once the M largest keys hold
// positions N - M + 1..N, FIRST being the index at N - M + 1 and SECOND the
// one at N - M + 2. Equal keys keep the order these steps give them.
// N = 1 returns the single index. M = 1 with N > 1 would read beyond INDX
// and is rejected (std::invalid_argument), as are N < 1 and M outside 1..N.
struct Esco7Result {
  int FIRST = 0;
  int SECOND = 0;
};
Esco7Result ESCO7(int N, std::span<const float> X, std::span<std::int16_t> INDX, float S, int M);

// The values X(1..N) in ascending order, exactly as reading them through the
// indices of ESCO7 (S = 1, M = N) gives them, for callers that read only the
// values. Keys that compare equal are then the same value, so any correct
// sort gives them; where that fails (a NaN, or a zero of negative sign beside
// other zeros) the values are read through ESCO7 itself, which holds at most
// 32767 of them (std::length_error beyond). No values give none.
std::vector<float> ascending_values(std::span<const float> X);

}  // namespace darcalim
