// NDTRI: quantile of the standard normal distribution.
//
// Rational approximation 26.2.23 of Abramowitz and Stegun (absolute error
// below 4.5e-4). Given the probability P it returns the quantile X and the
// density D at X, with IER = 0; for P outside [0, 1] IER = -1 and X and D
// keep the 4-byte value nearest 0.99999E+38. P = 0 gives X = -0.999999E+38
// (4-byte), D = 0; P = 1 gives X = 0.99999E+38, D = 0.
#pragma once

namespace darcalim {

struct NormalQuantile {
  double X = 0.0;
  double D = 0.0;
  int IER = 0;
};

NormalQuantile NDTRI(double P);

}  // namespace darcalim
