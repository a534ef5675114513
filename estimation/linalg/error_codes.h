// Error codes of the estimators, as written in the failure lines of the run
// report.
#pragma once

namespace darcalim {

inline constexpr int kSolved = 0;
inline constexpr int kNegativeNoise = 8;      // the noise ratio came out negative
inline constexpr int kNegativeRoot = 9;       // negative value under a square root
inline constexpr int kZeroPivot = 10;         // zero pivot in a solver
inline constexpr int kLastCoefficientOut = 11;  // |phi(p)| >= 1
inline constexpr int kThetaOut = 20;          // moving-average coefficient left (-1, 1)

}  // namespace darcalim
