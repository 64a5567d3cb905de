// The stroke font: reading font bytes defensively, the built-in font, and
// the strokes of a text laid along the in-plane axes of a view.
#include "edit/stroke_font.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <string>
#include <vector>

#include "edit/standard_font.h"
#include "font_bytes.h"
#include "resources/builtin_resources.h"
#include "support/near.h"

using namespace tav;
using tav::edittest::FontBytes;
using tav::edittest::smallFont;

namespace {

struct Bounds {
  double lo[3] = {1e30, 1e30, 1e30};
  double hi[3] = {-1e30, -1e30, -1e30};
};
Bounds boundsOf(const ModelObject& o) {
  Bounds b;
  for (const Node& n : o.nodes) {
    const double v[3] = {n.x, n.y, n.z};
    for (int k = 0; k < 3; ++k)
      b.lo[k] = std::min(b.lo[k], v[k]), b.hi[k] = std::max(b.hi[k], v[k]);
  }
  return b;
}

const Vec3d X{1, 0, 0}, Y{0, 1, 0}, Z{0, 0, 1};

}  // namespace

TEST(StrokeFont, RecordBitsDecodeToPenAndSignedCoordinates) {
  EXPECT_EQ(decodeStrokeRecord(0xFFFF), (StrokeRecord{3, -1, -1}));
  EXPECT_EQ(decodeStrokeRecord(0x0000), (StrokeRecord{0, 0, 0}));
  // pen 2, x = -64 (0x40), y = 63 (0x3F)
  EXPECT_EQ(decodeStrokeRecord(0x7F02), (StrokeRecord{2, -64, 63}));
  // pen 1, x = 63, y = -64
  EXPECT_EQ(decodeStrokeRecord(static_cast<std::uint16_t>(1 | (0x3F << 2) | (0x40 << 9))),
            (StrokeRecord{1, 63, -64}));
}

TEST(StrokeFont, HandBuiltFontGivesExactNodesAndEntries) {
  const auto bytes = smallFont().bytes();
  const auto font = StrokeFont::load(bytes);
  ASSERT_TRUE(font);
  EXPECT_TRUE(font->hasGlyph('L'));
  EXPECT_FALSE(font->hasGlyph('A'));
  ASSERT_EQ(font->glyph('D').size(), 4u);
  EXPECT_EQ(font->glyph('D').back(), (StrokeRecord{3, 4, 0}));

  // Height 8 makes a font unit one metre. "L D": L, a blank of 6, D.
  const auto o = textToStrokes(*font, "L D", {10, 20, 0}, X, Y, 8.0);
  EXPECT_EQ(o->shape, SHAPE_TEXT);
  EXPECT_EQ(o->flags, OF_CREATED);
  // D starts after L's advance 5 and the blank's 6.
  const std::vector<Node> nodes{{10, 28, 0}, {10, 20, 0}, {14, 20, 0},
                                {22, 20, 0}, {24, 20, 0}, {22, 22, 0}};
  EXPECT_EQ(o->nodes, nodes);
  const std::vector<IndexEntry> expected{{0, 0}, {1, 1}, {1, 2}, {0, 3}, {1, 4}, {2, 5}};
  EXPECT_EQ(o->indices, expected);

  // Characters without a glyph take no room; an empty text gives no strokes.
  const auto skipped = textToStrokes(*font,
                                     "L\x80\x01"
                                     "D",
                                     {0, 0, 0}, X, Y, 8.0);
  ASSERT_EQ(skipped->nodeCount(), 6u);
  EXPECT_TRUE(tavtest::near(skipped->nodes[3], {6, 0, 0}));
  EXPECT_EQ(textToStrokes(*font, "", {0, 0, 0}, X, Y, 8.0)->nodeCount(), 0u);
}

TEST(StrokeFont, TextAlongTurnedAxes) {
  const auto font = StrokeFont::load(smallFont().bytes());
  ASSERT_TRUE(font);
  // XY view, angle 90 degrees: u = (0, 1, 0), w = (-1, 0, 0); height 4, s = 0.5.
  const auto o = textToStrokes(*font, "LL", {1, 2, 3}, Y, X * -1.0, 4.0);
  ASSERT_EQ(o->nodeCount(), 6u);
  EXPECT_TRUE(tavtest::near(o->nodes[0], {1 - 4, 2, 3}));        // (0, 8) -> 4 m up the w axis
  EXPECT_TRUE(tavtest::near(o->nodes[2], {1, 2 + 2, 3}));        // (4, 0)
  EXPECT_TRUE(tavtest::near(o->nodes[3], {1 - 4, 2 + 2.5, 3}));  // second L after advance 5 x 0.5
  // XZ view, angle 30 degrees: u = cos H + sin V, w = -sin H + cos V.
  const double c = std::cos(std::numbers::pi / 6), s = std::sin(std::numbers::pi / 6);
  const Vec3d u{c, 0, s}, w{-s, 0, c};
  const auto t = textToStrokes(*font, "L", {0, 5, 0}, u, w, 8.0);
  ASSERT_EQ(t->nodeCount(), 3u);
  EXPECT_TRUE(tavtest::near(t->nodes[0], {-8 * s, 5, 8 * c}));
  EXPECT_TRUE(tavtest::near(t->nodes[2], {4 * c, 5, 4 * s}));
}

TEST(StrokeFont, CorruptFontsAreRefused) {
  const FontBytes good = smallFont();
  ASSERT_TRUE(StrokeFont::load(good.bytes()));
  EXPECT_FALSE(StrokeFont::load({}));

  // Shorter than the glyph table and the record offset.
  auto bytes = good.bytes();
  EXPECT_FALSE(StrokeFont::load(std::span(bytes).first(523)));
  // Odd record area.
  bytes.push_back(0);
  EXPECT_FALSE(StrokeFont::load(bytes));

  // An index beyond the records, and a negative index other than -1.
  FontBytes f = smallFont();
  f.first['Q'] = static_cast<std::int16_t>(f.records.size());
  EXPECT_FALSE(StrokeFont::load(f.bytes()));
  f = smallFont();
  f.first['Q'] = -2;
  EXPECT_FALSE(StrokeFont::load(f.bytes()));

  // The last glyph runs off the end without its end record.
  f = smallFont();
  f.records.pop_back();
  EXPECT_FALSE(StrokeFont::load(f.bytes()));

  // A glyph that starts by drawing from nowhere.
  f = smallFont();
  f.glyph('X', {FontBytes::rec(1, 2, 2), FontBytes::rec(3, 3, 0)});
  EXPECT_FALSE(StrokeFont::load(f.bytes()));

  // A glyph of only an end record is an empty glyph with an advance.
  f = smallFont();
  f.glyph('-', {FontBytes::rec(3, 7, 0)});
  const auto font = StrokeFont::load(f.bytes());
  ASSERT_TRUE(font);
  const auto o = textToStrokes(*font, "-L", {0, 0, 0}, X, Y, 8.0);
  ASSERT_EQ(o->nodeCount(), 3u);
  EXPECT_TRUE(tavtest::near(o->nodes[0], {7, 8, 0}));
}

TEST(StrokeFont, BuiltInFontLoadsAndCoversTheText) {
  ASSERT_GT(standardFontData().size(), FONT_RECORDS_OFFSET) << "built without a Hershey font";
  const auto font = loadStandardFont();
  ASSERT_TRUE(font);
  for (int c = 33; c <= 126; ++c) EXPECT_TRUE(font->hasGlyph(static_cast<std::uint8_t>(c))) << c;
  // Letters of the messages and prompts: é, ü, ø, ², and the ´ apostrophe.
  for (unsigned char c : {0xE9, 0xFC, 0xF8, 0xB2, 0xB4}) EXPECT_TRUE(font->hasGlyph(c)) << int(c);

  // A capital is exactly the text height tall, standing on the baseline.
  const auto a = textToStrokes(*font, "A", {1, 2, 3}, X, Y, 2.0);
  ASSERT_GT(a->nodeCount(), 2u);
  Bounds b = boundsOf(*a);
  EXPECT_NEAR(b.lo[1], 2.0, 1e-5);
  EXPECT_NEAR(b.hi[1], 4.0, 1e-5);
  EXPECT_NEAR(b.hi[2] - b.lo[2], 0.0, 1e-6);
  EXPECT_GE(b.lo[0], 1.0 - 1e-6);

  // A lower-case x is lower than a capital; g reaches below the baseline.
  EXPECT_LT(boundsOf(*textToStrokes(*font, "x", {0, 0, 0}, X, Y, 8.0)).hi[1], 7.0);
  EXPECT_LT(boundsOf(*textToStrokes(*font, "g", {0, 0, 0}, X, Y, 8.0)).lo[1], -1.0);
}

TEST(StrokeFont, EveryTruncationOfTheBuiltInFontIsRefused) {
  const auto data = standardFontData();
  ASSERT_TRUE(StrokeFont::load(data));
  for (std::size_t size = 0; size < data.size(); ++size)
    ASSERT_FALSE(StrokeFont::load(data.first(size))) << size;
}

TEST(StrokeFont, VeryLongTextStopsAtTheNodeLimitOnAGlyphBoundary) {
  const auto font = StrokeFont::load(smallFont().bytes());
  ASSERT_TRUE(font);
  const std::string text(MAX_OBJECT_NODES, 'L');  // three nodes each
  const auto o = textToStrokes(*font, text, {0, 0, 0}, X, Y, 1.0);
  EXPECT_EQ(o->nodeCount(), MAX_OBJECT_NODES / 3 * 3);
  EXPECT_EQ(o->indexCount(), o->nodeCount());
  EXPECT_EQ(o->indices.back().ref, o->nodeCount() - 1);
}
