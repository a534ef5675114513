// CHOL: square-root factorisation of a packed symmetric matrix.
//
// CHOL(a, u, n) factorises the packed symmetric matrix a (lower triangle row
// by row, n(n + 1)/2 entries) as U'U with U upper-triangular, stored packed
// the same way (column c of U holds rows 1..c). a and u may be one storage.
// Pivots below the relative tolerance count as zero: they add to the nullity.
// Fault codes: 0 done; 1 n <= 0; 2 stopped on a negative pivot or on a zero
// pivot that the rest of its row contradicts.
#pragma once

#include <cstddef>
#include <span>

namespace darcalim {

// Position (0-based) of entry (row r, column c), r <= c, of a packed upper
// triangle stored column by column, the same as the lower triangle by rows.
inline std::size_t packed_index(int r, int c) { return static_cast<std::size_t>(c * (c - 1) / 2 + r - 1); }

inline constexpr int kCholDone = 0;
inline constexpr int kCholBadOrder = 1;
inline constexpr int kCholStopped = 2;

struct CholOutcome {
  int nullity = 0;
  int fault = kCholBadOrder;
};

CholOutcome CHOL(std::span<const double> a, std::span<double> u, int n);

}  // namespace darcalim
