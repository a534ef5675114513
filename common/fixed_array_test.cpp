#include "common/fixed_array.h"

#include <gtest/gtest.h>

namespace darcalim {
namespace {

TEST(FixedArray, IndicesStartAtOneAndTheFirstRunsFastest) {
  Array<int, 3, 2> a;
  EXPECT_EQ(a(3, 2), 0);
  a(2, 1) = 5;
  a(1, 2) = 7;
  EXPECT_EQ(a.data()[1], 5);
  EXPECT_EQ(a.data()[3], 7);
  EXPECT_EQ((Array<int, 3, 2>::extent(2)), 2);
}

TEST(FixedArray, AnIndexOutsideTheTableThrows) {
  Array<double, 4, 53> a;
  EXPECT_THROW(a(0, 1), std::out_of_range);
  EXPECT_THROW(a(5, 1), std::out_of_range);
  EXPECT_THROW(a(1, 54), std::out_of_range);
}

}  // namespace
}  // namespace darcalim
