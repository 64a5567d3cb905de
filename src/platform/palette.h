// The 64-colour palette of the drawing code and the pen and brush rules
// that go with it. Everything that draws names colours by palette index.
#pragma once

#include <array>
#include <cstdint>

namespace tav {

struct Rgb {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

constexpr int PALETTE_SIZE = 64;

// Colour indices with a fixed role.
constexpr int COLOUR_BLACK = 0;
constexpr int COLOUR_GRID = 5;
constexpr int COLOUR_NODE_MARKER = 19;
constexpr int COLOUR_AXIS = 21;
constexpr int COLOUR_RED = 23;
constexpr int COLOUR_WHITE = 30;      // also the view background
constexpr int COLOUR_HIGHLIGHT = 32;  // dotted red: selected objects
constexpr int COLOUR_FIRST_DOTTED = 32;

// Index outside 0..63 gives black.
Rgb paletteColour(int index);

enum class PenStyle { Solid, Dotted };

// Pen rule: 0 is the black pen; 1..31 solid, one pixel wide; 32..63 dotted
// with the gaps painted opaque white.
struct PenSpec {
  Rgb colour;
  PenStyle style = PenStyle::Solid;
  bool opaqueGaps = false;  // dotted pens: gaps painted in gapColour
  Rgb gapColour{255, 255, 255};
};
PenSpec penForColour(int index);

// Dotted pens: pixel n along a line is drawn in the pen colour when
// (n % DOT_PERIOD) < DOT_ON, else in the gap colour.
constexpr int DOT_ON = 1;
constexpr int DOT_PERIOD = 2;

// The 16 hatch patterns "LEV_00".."LEV_15": 8 rows of 8 bits, bit 7 of a
// row is its leftmost pixel; a set bit is drawn in the brush colour, a clear
// bit in white. Patterns repeat from the canvas origin. Index 0 is the
// sparsest, 15 the densest.
constexpr int HATCH_COUNT = 16;
using HatchPattern = std::array<std::uint8_t, 8>;
// Index outside 0..15 gives pattern 0.
const HatchPattern& hatchPattern(int index);
inline bool hatchBit(const HatchPattern& p, int x, int y) {
  return (p[static_cast<unsigned>(y) & 7u] >> (7 - (static_cast<unsigned>(x) & 7u))) & 1u;
}

}  // namespace tav
