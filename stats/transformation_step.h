// The preparation of the series with transformation, run once per pass by
// the case input after the history has been read, validated and scaled.
//
// By the pass's option run.CASO.TIPOTRANS:
//  - 1 and 3 (logarithm): LAMBDA(t) = 0 for the NSEM weeks;
//  - 2 and 4 (Box-Cox): the run report receives
//    "  VAZOES SEMANAIS COM TRANSFORMACAO " and the option's label, then an
//    empty line; the Box-Cox report (named after the run report, extension
//    BCX) is opened for rewriting; BOXCOX chooses LAMBDA and LIMBC;
//  - 0: LAMBDA is left at 1.
// With a zero flow in the history (run.zero_flow) under any option from 1
// to 4 no exponent is chosen: the console receives "Vazao Nula. ... Nao sera
// considerada a opcao c\ transformacao", the run report the "*** ATENCAO ***"
// note, LAMBDA(t) = 1 for every week, and the Box-Cox report, under options 2
// and 4, is opened and left unwritten. The logarithm of a zero flow is thus
// never taken.
// Then, for every option, TRANS builds run.transformed from the history.
//
// Failure: BOXCOX stops the run (RunStop) on an unsuitable exponent.
#pragma once

#include "common/run.h"

namespace darcalim {

void prepare_transformation(Run& run);

}  // namespace darcalim
