// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <cstddef>
#include <memory>
#include <utility>

namespace dorvan_marker {

// The room of one large container kept from one import to the next. An import needs a
// few tables of about the marker's size (its text, the ends of its fields, its records,
// the placement lines); freed at its end, their memory may go back to the system (glibc
// does so when the free top of its heap is large), and the next import then faults every
// page of it in again, some 0.3 ms on a marker of 0.23 MB. Kept, it is reused as it is.
//
// One container per type is kept, the largest given, and none of more than kLimitBytes:
// a library that holds on to a large marker's tables between imports would hold memory
// its host may want. Larger blocks are freed as before; glibc keeps blocks of their size
// in its heap by itself once one has been freed (it raises its thresholds then), which
// is what the kept storage does for the smaller ones. Safe to use from several threads:
// a container is taken by one of them.
template <typename Container>
class KeptStorage {
 public:
  static constexpr std::size_t kLimitBytes = std::size_t{512} << 10;

  // An empty container, with room for `size` elements when the kept one has it (the kept
  // one is then taken); otherwise a new one without room.
  static Container Take(std::size_t size) {
    std::unique_ptr<Container> kept(Slot().exchange(nullptr));
    if (kept == nullptr) return Container();
    if (kept->capacity() < size) {
      Keep(std::move(kept));
      return Container();
    }
    kept->clear();
    return std::move(*kept);
  }

  // Keeps container's room for a later Take, unless a larger one is kept already or it
  // is larger than kLimitBytes.
  static void Give(Container&& container) {
    if (container.capacity() == 0 || container.capacity() * sizeof(typename Container::value_type) > kLimitBytes) {
      return;
    }
    Keep(std::make_unique<Container>(std::move(container)));
  }

 private:
  static void Keep(std::unique_ptr<Container> offered) {
    std::unique_ptr<Container> kept(Slot().exchange(nullptr));
    if (kept != nullptr && kept->capacity() >= offered->capacity()) offered = std::move(kept);
    Container* expected = nullptr;
    // Another thread may have kept one meanwhile: then this one goes.
    if (Slot().compare_exchange_strong(expected, offered.get())) offered.release();
  }

  // The kept container; what is left in it when the program ends is freed then.
  struct Holder {
    std::atomic<Container*> slot{nullptr};
    ~Holder() { delete slot.load(); }
  };
  static std::atomic<Container*>& Slot() {
    static Holder holder;
    return holder.slot;
  }
};

}  // namespace dorvan_marker
