#include "estimation/linalg/schur_stationarity.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>
#include <numbers>
#include <random>
#include <ostream>
#include <string>
#include <vector>

namespace darcalim {
namespace {

using Root = std::complex<double>;

// phi of the autoregression whose characteristic polynomial
// x^p - phi1 x^(p-1) - ... - phi_p has the given roots (complex ones listed
// with their conjugates). The autoregression is stationary exactly when every
// root lies inside the unit circle.
ArCoefficients coefficients_from_roots(const std::vector<Root>& roots) {
  std::vector<Root> poly{1.0};
  for (const Root& root : roots) {
    std::vector<Root> next(poly.size() + 1, 0.0);
    for (std::size_t i = 0; i < poly.size(); ++i) {
      next[i] += poly[i];
      next[i + 1] -= poly[i] * root;
    }
    poly = next;
  }
  ArCoefficients phi;
  for (std::size_t i = 1; i < poly.size(); ++i) phi(static_cast<int>(i)) = -poly[i].real();
  return phi;
}

std::vector<Root> pair(double modulus, double angle) {
  return {std::polar(modulus, angle), std::polar(modulus, -angle)};
}

std::vector<Root> join(std::vector<Root> a, const std::vector<Root>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

struct RootCase {
  std::string name;
  std::vector<Root> roots;
  bool stationary;
};

void PrintTo(const RootCase& c, std::ostream* os) { *os << c.name; }

class SchurOnKnownRoots : public testing::TestWithParam<RootCase> {};

TEST_P(SchurOnKnownRoots, FlagsExactlyTheRootsOutsideTheUnitCircle) {
  const RootCase& c = GetParam();
  const int p = static_cast<int>(c.roots.size());
  EXPECT_EQ(SCHUR(coefficients_from_roots(c.roots), p), c.stationary ? kStationary : kNotStationary);
}

INSTANTIATE_TEST_SUITE_P(
    Orders1To4, SchurOnKnownRoots,
    testing::Values(
        RootCase{"ar1_inside", {0.7}, true}, RootCase{"ar1_outside", {-1.2}, false},
        RootCase{"ar2_real_inside", {0.9, -0.5}, true}, RootCase{"ar2_real_outside", {1.1, 0.2}, false},
        RootCase{"ar2_pair_inside", pair(0.95, 2.0), true}, RootCase{"ar2_pair_outside", pair(1.05, 0.4), false},
        RootCase{"ar3_real_inside", {0.9, -0.8, 0.3}, true},
        RootCase{"ar3_real_one_outside", {0.5, -1.3, 0.1}, false},
        // These two are judged wrongly by (phi1 - phi3) phi3 - phi2 < 1, the
        // sign-reversed form of the third condition.
        RootCase{"ar3_pair_inside", join({0.5}, pair(0.8, 1.0)), true},
        RootCase{"ar3_pair_outside", join({-0.8}, pair(1.1, 1.0)), false},
        RootCase{"ar4_real_inside", {0.9, -0.9, 0.5, -0.2}, true},
        RootCase{"ar4_real_one_outside", {0.9, -0.9, 1.2, -0.2}, false},
        RootCase{"ar4_pairs_inside", join(pair(0.9, 0.5), pair(0.8, 2.5)), true},
        RootCase{"ar4_pair_outside", join(pair(0.9, 0.5), pair(1.1, 2.5)), false},
        RootCase{"ar4_mixed_inside", join({0.95, -0.3}, pair(0.9, 1.5)), true},
        RootCase{"ar4_mixed_outside", join({0.95, -0.3}, pair(1.2, 1.5)), false},
        // All four roots inside, but clustered: the last pivot of the
        // Schur-Cohn matrix is below 0.000243948 of its entry, counted as
        // zero, and the set is judged not stationary.
        RootCase{"ar4_clustered_inside", join(pair(0.9038, std::numbers::pi - 0.1347), {-0.8081, -0.636}), false}),
    [](const testing::TestParamInfo<RootCase>& case_info) { return case_info.param.name; });

struct CoefficientCase {
  std::string name;
  std::array<double, 4> phi;
  int p;
  int flag;
};

void PrintTo(const CoefficientCase& c, std::ostream* os) { *os << c.name; }

class SchurEdges : public testing::TestWithParam<CoefficientCase> {};

TEST_P(SchurEdges, AppliesStrictInequalities) {
  const CoefficientCase& c = GetParam();
  ArCoefficients phi;
  for (int i = 1; i <= c.p; ++i) phi(i) = c.phi[static_cast<std::size_t>(i - 1)];
  EXPECT_EQ(SCHUR(phi, c.p), c.flag);
}

INSTANTIATE_TEST_SUITE_P(
    Boundaries, SchurEdges,
    testing::Values(CoefficientCase{"sum_equal_to_one", {0.5, 0.5}, 2, kNotStationary},
                    CoefficientCase{"last_beyond_one", {0.0, -1.5}, 2, kNotStationary},
                    CoefficientCase{"last_exactly_one", {1.0}, 1, kNotStationary},
                    CoefficientCase{"last_exactly_minus_one", {0.0, 0.0, 0.0, -1.0}, 4, kNotStationary},
                    CoefficientCase{"pure_third_lag", {0.0, 0.0, 0.9}, 3, kStationary},
                    CoefficientCase{"white_noise_order_4", {0.0, 0.0, 0.0, 0.0}, 4, kStationary}),
    [](const testing::TestParamInfo<CoefficientCase>& case_info) { return case_info.param.name; });

// Random roots kept away from the unit circle. At order 4 the roots inside
// are drawn no larger than 0.5: with larger ones clustered together the
// Schur-Cohn matrix comes so close to singular that CHOL's relative tolerance
// counts a pivot as zero (see ar4_clustered_inside above); the tolerance can
// only turn "stationary" into "not stationary", so roots outside are drawn
// freely.
TEST(Schur, AgreesWithTheRootsOfRandomOrderThreeAndFourPolynomials) {
  std::mt19937 rng(20240611);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  std::uniform_real_distribution<double> angle(0.0, std::numbers::pi);
  for (int trial = 0; trial < 4000; ++trial) {
    const int p = 3 + trial % 2;
    const double largest_inside = p == 3 ? 0.97 : 0.5;
    auto draw_modulus = [&] { return unit(rng) < 0.7 ? largest_inside * unit(rng) : 1.03 + 0.6 * unit(rng); };
    const int pairs = (trial / 2) % (p / 2 + 1);
    std::vector<Root> roots;
    for (int k = 0; k < pairs; ++k) roots = join(roots, pair(draw_modulus(), angle(rng)));
    while (static_cast<int>(roots.size()) < p) roots.push_back(draw_modulus() * (rng() % 2 ? 1.0 : -1.0));
    const bool inside = std::all_of(roots.begin(), roots.end(), [](Root z) { return std::abs(z) < 1.0; });
    ASSERT_EQ(SCHUR(coefficients_from_roots(roots), p), inside ? kStationary : kNotStationary)
        << "trial " << trial;
  }
}

}  // namespace
}  // namespace darcalim
