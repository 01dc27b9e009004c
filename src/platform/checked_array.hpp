// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "dorvan_marker/error.hpp"

namespace dorvan_marker {

// Raises the library's invalid-argument error for an index outside an array of `size`.
[[noreturn]] void ThrowIndexOutside(std::size_t index, std::size_t size);

// A growable array whose every access by index is checked: an index outside the array
// raises InvalidArgumentError instead of reading past the end. This is the contract the
// whole library relies on for files whose references point anywhere.
template <typename T>
class CheckedArray {
 public:
  CheckedArray() = default;
  CheckedArray(std::initializer_list<T> items) : items_(items) {}
  explicit CheckedArray(std::vector<T> items) : items_(std::move(items)) {}

  std::size_t size() const noexcept { return items_.size(); }
  bool empty() const noexcept { return items_.empty(); }

  T& operator[](std::size_t index) {
    if (index >= items_.size()) ThrowIndexOutside(index, items_.size());
    return items_[index];
  }
  const T& operator[](std::size_t index) const {
    if (index >= items_.size()) ThrowIndexOutside(index, items_.size());
    return items_[index];
  }

  void push_back(T item) { items_.push_back(std::move(item)); }
  void clear() noexcept { items_.clear(); }
  void reserve(std::size_t n) { items_.reserve(n); }

  auto begin() const noexcept { return items_.begin(); }
  auto end() const noexcept { return items_.end(); }
  auto begin() noexcept { return items_.begin(); }
  auto end() noexcept { return items_.end(); }

  const std::vector<T>& items() const noexcept { return items_; }
  friend bool operator==(const CheckedArray& a, const CheckedArray& b) { return a.items_ == b.items_; }

 private:
  std::vector<T> items_;
};

// An array of narrow strings in the marker's code page: the lists of sizes and names.
using CStringArray = CheckedArray<std::string>;

}  // namespace dorvan_marker
