// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace dorvan_marker {

// Texts kept once each and numbered in the order they were first added, so that
// thousands of pieces that share a few names and sizes carry small numbers instead of
// copies, and two numbers are equal exactly when their texts are.
class TextTable {
 public:
  TextTable() = default;
  TextTable(const TextTable&) = delete;  // the index holds views into texts_
  TextTable& operator=(const TextTable&) = delete;
  TextTable(TextTable&&) = default;
  TextTable& operator=(TextTable&&) = default;

  // The number of text, added when new.
  std::uint32_t Add(std::string_view text);
  std::string_view operator[](std::uint32_t number) const { return views_[number]; }
  std::size_t size() const noexcept { return texts_.size(); }

 private:
  std::deque<std::string> texts_;        // a deque never moves what it holds
  std::vector<std::string_view> views_;  // of texts_, for quick access
  std::unordered_map<std::string_view, std::uint32_t> numbers_;
};

// The placements as both host files need them, resolved once per import. What
// GetPlacementSizeAndPiece gives depends on nothing but the placement's piece record, so
// each piece record is resolved once, when a placement first lays it, and per piece only
// numbers into tables of distinct texts are kept.
struct PlacementTable {
  static constexpr std::uint32_t kNone = UINT32_MAX;

  struct Piece {
    std::uint32_t size = kNone;  // in sizes: the size text as GetPlacementSizeAndPiece gives it
    std::uint32_t name = kNone;  // in names: the piece name after NormalizeName
    std::uint32_t article = 0;   // the position in "VART" of the article its size comes from
    int code = 16;               // piece code from its "IFLG" (PieceCode), before any placement's origin
    bool Resolved() const noexcept { return size != kNone; }  // laid by a placement
  };

  std::vector<Piece> pieces;            // by position in "IBA"
  std::vector<std::uint32_t> piece_of;  // by position in "IGEO": the position of its piece record
  TextTable sizes;
  TextTable names;

  std::string_view SizeOfPiece(std::size_t p) const { return sizes[pieces[p].size]; }
  std::string_view NameOfPiece(std::size_t p) const { return names[pieces[p].name]; }
  std::string_view NameOf(std::size_t placement) const { return NameOfPiece(piece_of[placement]); }
  // Equal exactly when the two placements' piece names are.
  std::uint32_t NameNumberOf(std::size_t placement) const { return pieces[piece_of[placement]].name; }
};

}  // namespace dorvan_marker
