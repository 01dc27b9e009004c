// SPDX-License-Identifier: MIT
#include "platform/kept_storage.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <thread>
#include <vector>

namespace {

using dorvan_marker::KeptStorage;

// Each test keeps containers of an element type of its own: what one keeps is not seen by
// another, nor by the library's own kept tables.
template <int N>
struct Cell {
  int value = 0;
};

TEST(KeptStorage, GivesTheKeptRoomToATakeThatFitsIt) {
  using Cells = std::vector<Cell<1>>;
  using Kept = KeptStorage<Cells>;
  EXPECT_EQ(Kept::Take(10).capacity(), 0u) << "nothing kept yet";

  Cells given(100);
  const Cell<1>* room = given.data();
  Kept::Give(std::move(given));
  EXPECT_EQ(Kept::Take(200).capacity(), 0u) << "too small: a new one, and the kept one stays";
  Cells taken = Kept::Take(100);
  EXPECT_EQ(taken.data(), room) << "the same memory";
  EXPECT_TRUE(taken.empty()) << "without the old contents";
  EXPECT_EQ(Kept::Take(1).capacity(), 0u) << "taken once only";
}

TEST(KeptStorage, KeepsTheLargestAndNothingBeyondTheLimit) {
  using Cells = std::vector<Cell<2>>;
  using Kept = KeptStorage<Cells>;
  Cells large(1000);
  const Cell<2>* room = large.data();
  Kept::Give(std::move(large));
  Kept::Give(Cells(10));  // smaller than the kept one: freed
  EXPECT_EQ(Kept::Take(5).data(), room);

  Kept::Give(Cells(10));
  Kept::Give(Cells(Kept::kLimitBytes / sizeof(Cell<2>) + 1));  // beyond the limit: freed
  EXPECT_EQ(Kept::Take(5).capacity(), 10u);
}

TEST(KeptStorage, HandsEachContainerToOneThreadAtATime) {
  using Cells = std::vector<Cell<3>>;
  using Kept = KeptStorage<Cells>;
  std::atomic<int> clashes{0};
  auto work = [&clashes](int mark) {
    for (int i = 0; i < 2000; ++i) {
      Cells cells = Kept::Take(64);
      cells.assign(64, Cell<3>{mark});
      for (const Cell<3>& cell : cells) {
        if (cell.value != mark) ++clashes;  // another thread wrote into the same memory
      }
      Kept::Give(std::move(cells));
    }
  };
  std::thread other(work, 2);
  work(1);
  other.join();
  EXPECT_EQ(clashes.load(), 0);
}

}  // namespace
