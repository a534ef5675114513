// Fixed-size tables of the data model, indexed from 1.
//
// Every table of a run has a size fixed by the limits of the data model
// (100 years, 53 weeks, 140 models, ...). Array<T, N1, N2, ...> holds such a
// table in one block, zero-initialised, with the first index running fastest
// (so a column such as FIAR(., p) is contiguous). Indices start at 1, as the
// tables are described by year, week, month, model, lag or window.
//
// Every access is checked: an index outside 1..N throws std::out_of_range,
// so a fault in the index arithmetic stops the run with a message instead of
// reading or writing a neighbouring table.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <stdexcept>
#include <string>

namespace darcalim {

// Tag of the constructor that leaves a table's entries unset, for work
// tables that are filled before they are read.
struct Unset {};
inline constexpr Unset kUnset{};

template <typename T, int... Extents>
class Array {
  static_assert(sizeof...(Extents) >= 1, "an Array has at least one index");
  static_assert(((Extents > 0) && ...), "every extent is positive");

 public:
  static constexpr int kRank = sizeof...(Extents);
  static constexpr std::array<int, static_cast<std::size_t>(kRank)> kExtents{Extents...};
  static constexpr std::size_t kSize = (static_cast<std::size_t>(Extents) * ...);

  Array() : data_{} {}
  explicit Array(Unset) {}

  template <typename... Index>
  T& operator()(Index... index) {
    return data_[offset(index...)];
  }
  template <typename... Index>
  const T& operator()(Index... index) const {
    return data_[offset(index...)];
  }

  // Extent of dimension d (1-based).
  static constexpr int extent(int d) { return kExtents[static_cast<std::size_t>(d - 1)]; }

  void fill(const T& value) { data_.fill(value); }
  T* data() { return data_.data(); }
  const T* data() const { return data_.data(); }

  friend bool operator==(const Array& a, const Array& b) { return a.data_ == b.data_; }

 private:
  template <typename... Index>
  static std::size_t offset(Index... index) {
    static_assert(sizeof...(Index) == kRank, "one index per dimension");
    const long long idx[] = {static_cast<long long>(index)...};
    std::size_t off = 0;
    std::size_t stride = 1;
    for (int d = 0; d < kRank; ++d) {
      const long long i = idx[d];
      const int n = kExtents[static_cast<std::size_t>(d)];
      if (i < 1 || i > n) [[unlikely]] index_fault(i, n, d + 1);
      off += static_cast<std::size_t>(i - 1) * stride;
      stride *= static_cast<std::size_t>(n);
    }
    return off;
  }

  [[noreturn, gnu::cold, gnu::noinline]] static void index_fault(long long i, int n, int dimension) {
    throw std::out_of_range("table index " + std::to_string(i) + " outside 1.." + std::to_string(n) +
                            " in dimension " + std::to_string(dimension));
  }

  std::array<T, kSize> data_;
};

}  // namespace darcalim
