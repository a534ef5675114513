#include "limits/ranking_revision.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "common/model_catalogue.h"

namespace darcalim {
namespace {

constexpr int kWeek = 2;  // the week revised; week 1 holds only fillers
constexpr int kNsem = 2;

struct Placed {
  int position;
  int model;
  double error;
};

struct RevisionCase {
  std::string name;
  int NANOS;
  std::vector<Placed> placed;
  std::vector<int> expected;  // the models found at the placed positions, in the same order
};

void PrintTo(const RevisionCase& c, std::ostream* os) { *os << c.name; }

// The week's ranking: the placed models at their positions, every other
// model in ascending number order at the free positions. A filler at
// position p has the error 100 * 1.1^p, 10 % above the position before it,
// so no filler ever moves ahead of anything and every scan that reaches a
// filler stops there.
class Revision {
 public:
  explicit Revision(const RevisionCase& c) : NP_(JoinedList(c.NANOS).total()) {
    for (int w = 1; w <= kNsem; ++w) {
      std::vector<bool> used(static_cast<std::size_t>(NP_ + 1), false);
      std::vector<bool> taken(static_cast<std::size_t>(NP_ + 1), false);
      if (w == kWeek) {
        for (const Placed& p : c.placed) {
          (*ranking_)(p.position, w) = p.model;
          error(p.model, w) = p.error;
          used[static_cast<std::size_t>(p.model)] = true;
          taken[static_cast<std::size_t>(p.position)] = true;
        }
      }
      int m = 1;
      for (int position = 1; position <= NP_; ++position) {
        if (taken[static_cast<std::size_t>(position)]) continue;
        while (used[static_cast<std::size_t>(m)]) ++m;
        (*ranking_)(position, w) = m;
        error(m, w) = 100.0 * std::pow(1.1, position);
        ++m;
      }
    }
    VERCONSZONAL(
        *ranking_, [this](int model, int w) { return error(model, w); }, c.NANOS, kNsem, *revised_);
  }

  int NP() const { return NP_; }
  int before(int position, int w) const { return (*ranking_)(position, w); }
  int after(int position, int w) const { return (*revised_)(position, w); }

 private:
  double& error(int m, int w) { return errors_[static_cast<std::size_t>(w - 1)][static_cast<std::size_t>(m)]; }
  double error(int m, int w) const { return errors_[static_cast<std::size_t>(w - 1)][static_cast<std::size_t>(m)]; }

  int NP_;
  std::unique_ptr<JoinedRanking> ranking_ = std::make_unique<JoinedRanking>();
  std::unique_ptr<JoinedRanking> revised_ = std::make_unique<JoinedRanking>();
  std::array<std::array<double, kMaxModels + 1>, kNsem> errors_{};
};

class RankingRevision : public ::testing::TestWithParam<RevisionCase> {};

TEST_P(RankingRevision, MovesOrdinaryModelsAheadOfSpecialOnes) {
  const RevisionCase& c = GetParam();
  const Revision r(c);
  std::vector<bool> placed(static_cast<std::size_t>(r.NP() + 1), false);
  for (std::size_t i = 0; i < c.placed.size(); ++i) {
    const int position = c.placed[i].position;
    placed[static_cast<std::size_t>(position)] = true;
    EXPECT_EQ(r.after(position, kWeek), c.expected[i]) << "position " << position;
  }
  for (int position = 1; position <= r.NP(); ++position) {
    EXPECT_EQ(r.after(position, 1), r.before(position, 1)) << "week 1, position " << position;
    if (!placed[static_cast<std::size_t>(position)]) {
      EXPECT_EQ(r.after(position, kWeek), r.before(position, kWeek)) << "position " << position;
    }
  }
}

// Models 1 to 4 are ordinary in both numberings; 46, 92, 93, 139 and 140 are
// the benchmarks of the 140 joined models, 24 and 70 two of their -RO models;
// 8, 16 and 17 are benchmarks of the 26 models of a short history, where 24
// is ordinary.
INSTANTIATE_TEST_SUITE_P(
    Cases, RankingRevision,
    ::testing::Values(
        // 1.04 is 4 % worse and moves ahead; 1.06 is 6 % worse than the
        // benchmark and stops the scan.
        RevisionCase{"BenchmarkLosesToTheModelWithinFivePerCent", 25,
                     {{3, 46, 1.00}, {4, 1, 1.04}, {5, 2, 1.06}},
                     {1, 46, 2}},
        // Every ordinary model within 5 % moves, in its order.
        RevisionCase{"SeveralModelsMoveAhead", 25,
                     {{1, 92, 2.00}, {2, 3, 2.02}, {3, 4, 2.04}, {4, 1, 2.10}, {5, 2, 2.12}},
                     {3, 4, 1, 92, 2}},
        // (1.05 - 1) / 1 = 0.050000000000000044 and 1 / 20 = 0.05 lie at or
        // below the 4-byte 0.05 (0.0500000007...), as does 0.0500000005.
        RevisionCase{"DifferenceOfFivePerCentIn8BytesMoves", 25,
                     {{3, 46, 1.00}, {4, 1, 1.05}}, {1, 46}},
        RevisionCase{"ExactlyOneTwentiethMoves", 25, {{3, 46, 20.0}, {4, 1, 21.0}}, {1, 46}},
        RevisionCase{"DifferenceBelowThe4ByteFivePerCentMoves", 25,
                     {{3, 46, 1.0}, {4, 1, 1.0500000005}}, {1, 46}},
        RevisionCase{"DifferenceAboveThe4ByteFivePerCentStops", 25,
                     {{3, 46, 1.0}, {4, 1, 1.0500001}}, {46, 1}},
        // A -RO model is revised like a benchmark.
        RevisionCase{"MonthStartModelLosesItsPlace", 25,
                     {{2, 24, 2.00}, {3, 1, 2.08}}, {1, 24}},
        // Special models met on the way keep their places, whatever their
        // error: the ordinary model behind them moves ahead of all of them.
        RevisionCase{"ScanPassesOverSpecialModels", 25,
                     {{3, 46, 1.00}, {4, 70, 5.00}, {5, 93, 9.00}, {6, 1, 1.03}},
                     {1, 46, 70, 93}},
        RevisionCase{"SpecialModelLastKeepsItsPlace", 25, {{140, 46, 1.0}}, {46}},
        RevisionCase{"SpecialModelFollowedOnlyBySpecialModelsKeepsItsPlace", 25,
                     {{136, 46, 1.0}, {137, 92, 1.0}, {138, 93, 1.0}, {139, 139, 1.0}, {140, 140, 1.0}},
                     {46, 92, 93, 139, 140}},
        // Position 140 is never examined.
        RevisionCase{"LastPositionIsNeverMovedAhead", 25, {{139, 46, 1.0}, {140, 1, 1.0}}, {46, 1}},
        RevisionCase{"LastPositionIsNeverReachedPastSpecialModels", 25,
                     {{138, 46, 1.0}, {139, 92, 1.0}, {140, 1, 1.0}}, {46, 92, 1}},
        // A zero error makes the difference undefined: nothing moves.
        RevisionCase{"ZeroErrorOfTheSpecialModelChangesNothing", 25,
                     {{3, 46, 0.0}, {4, 1, 0.0}}, {46, 1}},
        // With 20 years and more the scan passes over a benchmark 10 % worse
        // and moves the ordinary model behind it; with 19 years the worse
        // benchmark stops the scan of the first one, and the ordinary model
        // only moves ahead of the worse benchmark when that one is revised.
        RevisionCase{"LongHistoryPassesOverAWorseBenchmark", 20,
                     {{2, 46, 1.00}, {3, 92, 1.10}, {4, 1, 1.01}}, {1, 46, 92}},
        RevisionCase{"ShortHistoryStopsAtAWorseBenchmark", 19,
                     {{2, 8, 1.00}, {3, 16, 1.10}, {4, 1, 1.01}}, {8, 1, 16}},
        RevisionCase{"ShortHistoryPassesOverABenchmarkWithinFivePerCent", 19,
                     {{2, 8, 1.00}, {3, 16, 1.02}, {4, 1, 1.03}}, {1, 8, 16}},
        RevisionCase{"ShortHistoryRevisesNoMonthStartNumbers", 19, {{2, 24, 1.00}, {3, 1, 1.01}}, {24, 1}},
        RevisionCase{"ShortHistoryBenchmarkLosesItsPlace", 19, {{5, 17, 1.00}, {6, 2, 1.04}}, {2, 17}},
        RevisionCase{"ShortHistoryLastPositionIsNeverMovedAhead", 19, {{25, 8, 1.0}, {26, 1, 1.0}}, {8, 1}}),
    [](const ::testing::TestParamInfo<RevisionCase>& p) { return p.param.name; });

}  // namespace
}  // namespace darcalim
