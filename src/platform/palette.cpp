#include "platform/palette.h"

namespace tav {

namespace {

constexpr std::array<Rgb, PALETTE_SIZE> PALETTE = {{
    {0, 0, 0},
    {128, 128, 128},
    {144, 144, 144},
    {160, 160, 160},
    {176, 176, 176},
    {192, 192, 192},
    {208, 208, 208},
    {224, 224, 224},
    {240, 240, 240},
    {225, 0, 0},
    {234, 175, 0},
    {213, 213, 0},
    {106, 213, 0},
    {10, 192, 192},
    {0, 0, 213},
    {213, 0, 213},
    {238, 0, 0},
    {255, 191, 0},
    {239, 239, 16},
    {0, 230, 0},
    {0, 224, 224},
    {0, 0, 255},
    {255, 0, 255},
    {255, 0, 0},
    {255, 221, 179},
    {255, 255, 0},
    {213, 255, 170},
    {0, 255, 255},
    {172, 244, 255},
    {255, 191, 255},
    {255, 255, 255},
    {0, 128, 128},
    {255, 0, 0},
    {0, 0, 0},
    {0, 0, 0},
    {0, 0, 0},
    {0, 0, 0},
    {0, 0, 0},
    // Blue-to-red scale of the maps.
    {0, 0, 32},
    {0, 0, 64},
    {0, 0, 96},
    {0, 0, 128},
    {0, 0, 164},
    {0, 0, 195},
    {0, 0, 255},
    {0, 59, 255},
    {0, 104, 255},
    {0, 158, 255},
    {0, 195, 255},
    {0, 231, 255},
    {0, 255, 255},
    {0, 255, 225},
    {0, 255, 176},
    {0, 255, 122},
    {0, 255, 0},
    {164, 255, 0},
    {219, 255, 0},
    {255, 255, 0},
    {255, 225, 0},
    {255, 195, 0},
    {255, 164, 0},
    {255, 110, 0},
    {255, 55, 0},
    {255, 0, 0},
}};

// Ordered-dither density ramp: pattern k sets 4 * (k + 1) of the 64 pixels,
// each pattern containing every pixel of the sparser ones.
constexpr std::array<HatchPattern, HATCH_COUNT> HATCHES = {{
    {{0x88, 0x00, 0x00, 0x00, 0x88, 0x00, 0x00, 0x00}},  // LEV_00
    {{0x88, 0x00, 0x22, 0x00, 0x88, 0x00, 0x22, 0x00}},  // LEV_01
    {{0xAA, 0x00, 0x22, 0x00, 0xAA, 0x00, 0x22, 0x00}},  // LEV_02
    {{0xAA, 0x00, 0xAA, 0x00, 0xAA, 0x00, 0xAA, 0x00}},  // LEV_03
    {{0xAA, 0x44, 0xAA, 0x00, 0xAA, 0x44, 0xAA, 0x00}},  // LEV_04
    {{0xAA, 0x44, 0xAA, 0x11, 0xAA, 0x44, 0xAA, 0x11}},  // LEV_05
    {{0xAA, 0x55, 0xAA, 0x11, 0xAA, 0x55, 0xAA, 0x11}},  // LEV_06
    {{0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55}},  // LEV_07
    {{0xEE, 0x55, 0xAA, 0x55, 0xEE, 0x55, 0xAA, 0x55}},  // LEV_08
    {{0xEE, 0x55, 0xBB, 0x55, 0xEE, 0x55, 0xBB, 0x55}},  // LEV_09
    {{0xFF, 0x55, 0xBB, 0x55, 0xFF, 0x55, 0xBB, 0x55}},  // LEV_10
    {{0xFF, 0x55, 0xFF, 0x55, 0xFF, 0x55, 0xFF, 0x55}},  // LEV_11
    {{0xFF, 0xDD, 0xFF, 0x55, 0xFF, 0xDD, 0xFF, 0x55}},  // LEV_12
    {{0xFF, 0xDD, 0xFF, 0x77, 0xFF, 0xDD, 0xFF, 0x77}},  // LEV_13
    {{0xFF, 0xFF, 0xFF, 0x77, 0xFF, 0xFF, 0xFF, 0x77}},  // LEV_14
    {{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},  // LEV_15
}};

}  // namespace

Rgb paletteColour(int index) {
  if (index < 0 || index >= PALETTE_SIZE) return PALETTE[COLOUR_BLACK];
  return PALETTE[static_cast<std::size_t>(index)];
}

PenSpec penForColour(int index) {
  PenSpec pen;
  pen.colour = paletteColour(index);
  if (index >= COLOUR_FIRST_DOTTED && index < PALETTE_SIZE) {
    pen.style = PenStyle::Dotted;
    pen.opaqueGaps = true;
    pen.gapColour = paletteColour(COLOUR_WHITE);
  }
  return pen;
}

const HatchPattern& hatchPattern(int index) {
  if (index < 0 || index >= HATCH_COUNT) return HATCHES[0];
  return HATCHES[static_cast<std::size_t>(index)];
}

}  // namespace tav
