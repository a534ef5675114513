// The choice of the best model of every week of the year.
//
// For week t the models are ranked by their combined RQEMQ of the week
// (ascending, ties to the lower model number). The chosen model is the
// first-ranked one with two corrections:
//  - a benchmark (SAZONAL, CONSTANTE and their transformed twins) keeps first
//    place only when the best real model after its run of benchmarks is more
//    than 5 % worse (BESTMOD);
//  - on a week that is not the first of a month, a -RO model, built for month
//    starts, is passed over.
// RANKMOD(., t) is the ranking with the chosen model moved to first place.
#pragma once

#include <span>
#include <string>

#include "common/evaluation_tables.h"
#include "common/model_list.h"

namespace darcalim {

// E_UMA_DAS_QUATRO and E_RO over 14-character names.
bool E_UMA_DAS_QUATRO(const std::string& name);
bool E_RO(const std::string& name);

// The ranking of one week: ORDER(i) is the model at rank i and E(i) its error.
struct WeekRanking {
  std::span<const int> ORDER;    // ranks 1..NMOD at indices 0..NMOD-1
  std::span<const double> E;     // errors by rank
  const ModelList& models;
  int NMOD = 0;
};

// BESTMOD from rank IPOS (which it may advance): the chosen model.
int BESTMOD(int& IPOS, const WeekRanking& ranking, bool FIRST);

// The choice of week t: MODBRUTO, MODESCOLHIDO, their names and RANKMOD.
void choose_week_model(const WeekRanking& ranking, int t, bool FIRST, WeeklyChoice& choice);

}  // namespace darcalim
