// Bounds of the iterative estimators.
#pragma once

namespace darcalim {

// Rounds of the theta iteration of ESTMA and sweeps of ESTMAP at most: a
// series on which they do not settle keeps the last values, with no code.
inline constexpr int kMaxIterationRounds = 1000;

}  // namespace darcalim
