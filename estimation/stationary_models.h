// Stationary AR(p) and ARMA(p,1) models of the standardised series.
//
// The series is taken as one long sequence with the autocorrelations
// r(k) = FACANU(k), r(0) = 1.
//
// ESTPA(p, ...) fits AR(p), p = 1..4, by the Yule-Walker equations solved by
// square-root factorisation, into FIAR(1..p, p). Codes: 0 solved; 9 negative
// value under a square root and 10 zero pivot (FIAR(., p) then keeps what it
// held before the call); 11 |phi(p)| >= 1 (the coefficients are written).
// The stationarity flag is SCHUR of FIAR(., p) as it stands after the call.
//
// ESTMA(p, ...) fits ARMA(p,1), p = 1..3, by moments into FIARMA(1..p, p)
// and theta into FIARMA(p + 1, p): the autocorrelations of lags 2..p + 1
// follow the autoregressive recursion (solved by SOLVLU, code 0 or 10), then,
// unless SCHUR flags the autoregressive part, theta and the noise ratio come
// from a fixed-point iteration of at most 1000 rounds; code 20 when theta
// leaves (-1, 1).
//
// VARB and VARBM fill the VARRES column of a model for weeks 1..NSEM from the
// coefficients as they stand (after the caller's fallback).
//
// None of them writes to a file; the caller reports failures and repairs them.
#pragma once

#include "common/parameter_store.h"
#include "common/series_statistics.h"

namespace darcalim {

struct StationaryFit {
  int code = 0;
  int flag = 0;  // 0 stationary, 1 not (SCHUR)
};

StationaryFit ESTPA(int p, const SeriesStatistics& stats, SeriesParameters& params);
StationaryFit ESTMA(int p, const SeriesStatistics& stats, SeriesParameters& params);

void VARB(int NSEM, int p, const SeriesStatistics& stats, const SeriesParameters& params,
          NoiseVariances& VARRES, int model);
void VARBM(int NSEM, int p, const SeriesStatistics& stats, const SeriesParameters& params,
           NoiseVariances& VARRES, int model);

}  // namespace darcalim
