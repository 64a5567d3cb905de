#include "platform/palette.h"

#include <gtest/gtest.h>

namespace tav {
namespace {

TEST(Palette, MapScaleRunsFromBlueToRed) {
  // The map colours 38..63: blue rises first, then green, then red, and the
  // blue falls away at the end.
  EXPECT_GT(paletteColour(44).b, paletteColour(38).b);
  EXPECT_EQ(paletteColour(63).b, 0);
  // Out of range draws black instead of reading outside the table.
  EXPECT_EQ(paletteColour(-1), (Rgb{0, 0, 0}));
  EXPECT_EQ(paletteColour(64), (Rgb{0, 0, 0}));
}

TEST(Palette, PenRules) {
  // Colours 0..31 draw solid lines, 32 and above dotted with opaque white gaps.
  for (int i : {31, 32}) {
    const PenSpec pen = penForColour(i);
    EXPECT_EQ(pen.style, i == 32 ? PenStyle::Dotted : PenStyle::Solid) << i;
    EXPECT_EQ(pen.opaqueGaps, i == 32) << i;
    EXPECT_EQ(pen.colour, paletteColour(i)) << i;
  }
  EXPECT_EQ(penForColour(32).gapColour, (Rgb{255, 255, 255}));
}

TEST(Palette, HatchPatternsGrowInDensity) {
  for (int k = 0; k < HATCH_COUNT; ++k) {
    int count = 0;
    for (int y = 0; y < 8; ++y) {
      for (int x = 0; x < 8; ++x) {
        const bool on = hatchBit(hatchPattern(k), x, y);
        count += on ? 1 : 0;
        // Every pixel of the sparser pattern stays set in the denser one.
        if (k > 0 && hatchBit(hatchPattern(k - 1), x, y)) {
          EXPECT_TRUE(on) << k << " " << x << "," << y;
        }
      }
    }
    EXPECT_EQ(count, 4 * (k + 1)) << k;
  }
  // Bit 7 of a row is its leftmost pixel; patterns repeat every 8 pixels.
  const HatchPattern& p = hatchPattern(0);
  EXPECT_EQ(hatchBit(p, 0, 0), ((p[0] >> 7) & 1) != 0);
  EXPECT_EQ(hatchBit(p, 8, 8), hatchBit(p, 0, 0));
  EXPECT_EQ(hatchBit(p, -8, 0), hatchBit(p, 0, 0));
  EXPECT_EQ(&hatchPattern(99), &hatchPattern(0));
}

}  // namespace
}  // namespace tav
