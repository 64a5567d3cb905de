// The Qt canvas and the scripted rasteriser draw the same pixels for the
// primitives the views use, with the palette's exact colours.
#include <gtest/gtest.h>

#include <QImage>
#include <functional>
#include <vector>

#include "platform/qt/qt_canvas.h"
#include "platform/scripted/scripted_canvas.h"
#include "qt_test_app.h"

namespace tav {
namespace {

constexpr int W = 64;
constexpr int H = 48;

Rgb rgbAt(const QImage& image, int x, int y) {
  const QRgb p = image.pixel(x, y);
  return {static_cast<std::uint8_t>(qRed(p)), static_cast<std::uint8_t>(qGreen(p)),
          static_cast<std::uint8_t>(qBlue(p))};
}

// Draws with the Qt canvas and with the scripted one; both pictures.
struct Both {
  QImage qt;
  RgbImage scripted;
  void expectPixel(int x, int y, Rgb want) const {
    EXPECT_EQ(rgbAt(qt, x, y), want) << "qt at " << x << "," << y;
    EXPECT_EQ(scripted.pixel(x, y), want) << "scripted at " << x << "," << y;
  }
};

Both drawBoth(const PaintFunction& paint) {
  test::qtApp();
  Both b;
  b.qt = renderToImage(W, H, paint);
  ScriptedCanvas canvas(W, H);
  paint(canvas);
  b.scripted = canvas.image();
  return b;
}

const Rgb WHITE = paletteColour(COLOUR_WHITE);

struct Probe {
  int x, y;
  Rgb want;
};
// A pixel that must show palette colour `colour`.
Probe at(int x, int y, int colour) { return {x, y, paletteColour(colour)}; }

struct PrimitiveCase {
  const char* name;
  std::function<void(Canvas&)> paint;
  std::vector<Probe> probes;
  bool samePicture = true;  // text glyphs differ between the canvases
};

void PrintTo(const PrimitiveCase& c, std::ostream* os) { *os << c.name; }

class CanvasPrimitive : public ::testing::TestWithParam<PrimitiveCase> {};

TEST_P(CanvasPrimitive, SamePixelsOnBothCanvases) {
  const Both b = drawBoth(GetParam().paint);
  for (const Probe& p : GetParam().probes) b.expectPixel(p.x, p.y, p.want);
  if (!GetParam().samePicture) return;
  int differing = 0;
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x)
      if (!(rgbAt(b.qt, x, y) == b.scripted.pixel(x, y)) && ++differing <= 5)
        ADD_FAILURE() << "pixel " << x << "," << y << " differs";
  EXPECT_EQ(differing, 0);
}

const RgbImage SMALL_IMAGE = [] {
  RgbImage small(3, 2, {1, 2, 3});
  small.setPixel(2, 1, {200, 100, 50});
  return small;
}();

INSTANTIATE_TEST_SUITE_P(
    Table, CanvasPrimitive,
    ::testing::Values(
        // The end point of a line is left out, as in classic line drawing.
        PrimitiveCase{"SolidLinesWithoutTheirEndPoint",
                      [](Canvas& c) {
                        c.setPen(9);
                        c.line({5, 10}, {40, 10});
                        c.setPen(21);
                        c.line({50, 2}, {50, 30});
                        c.setPen(0);
                        c.line({2, 40}, {30, 26});
                      },
                      {at(5, 10, 9), at(39, 10, 9), at(40, 10, COLOUR_WHITE),
                       at(50, 30, COLOUR_WHITE), at(2, 40, 0), at(30, 26, COLOUR_WHITE)}},
        // Without a brush the triangle is only outlined.
        PrimitiveCase{"PolygonFilledAndOutlined",
                      [](Canvas& c) {
                        c.setPen(21);
                        c.setBrush(Brush::solid(25));
                        c.polygon(std::vector<PixelPoint>{{10, 10}, {30, 10}, {30, 30}, {10, 30}});
                        c.setPen(19);
                        c.setBrush(Brush::none());
                        c.polygon(std::vector<PixelPoint>{{35, 45}, {60, 45}, {35, 20}});
                      },
                      {at(11, 11, 25), at(30, 20, 21), at(20, 30, 21), at(31, 20, COLOUR_WHITE),
                       at(39, 41, COLOUR_WHITE), at(35, 30, 19)}},
        PrimitiveCase{"RectanglesCoverExactlyTheirPixels",
                      [](Canvas& c) {
                        c.setPen(0);
                        c.setBrush(Brush::solid(28));
                        c.rectangle({10, 5, 20, 12});
                        c.fillRect({40, 5, 6, 4}, 23);
                      },
                      {at(29, 16, 0), at(30, 16, COLOUR_WHITE), at(29, 17, COLOUR_WHITE),
                       at(15, 10, 28), at(45, 8, 23), at(46, 8, COLOUR_WHITE)}},
        PrimitiveCase{"ClipLimitsDrawingUntilCleared",
                      [](Canvas& c) {
                        c.setClip({10, 10, 10, 10});
                        c.fillRect({0, 0, W, H}, 23);
                        c.clearClip();
                        c.setPen(21);
                        c.line({0, 30}, {5, 30});
                      },
                      {at(10, 10, 23), at(19, 19, 23), at(20, 19, COLOUR_WHITE),
                       at(9, 10, COLOUR_WHITE), at(3, 30, 21)}},
        // The text's background box starts at the text cell's corner.
        PrimitiveCase{"TextBackgroundAndImages",
                      [](Canvas& c) {
                        TextStyle style;
                        style.colour = 21;
                        style.background = 30;
                        c.fillRect({0, 0, W, H}, 5);
                        c.text({2, 2}, "XY", style);
                        c.drawImage({40, 40}, SMALL_IMAGE);
                      },
                      {Probe{40, 40, Rgb{1, 2, 3}}, Probe{42, 41, Rgb{200, 100, 50}}, at(43, 41, 5),
                       at(2, 2, COLOUR_WHITE)},
                      false},
        // Colour 32 and above: one pixel on, one in opaque white, from the
        // first pixel on; nothing of the grey shows through the gaps.
        PrimitiveCase{"DottedPenAlternatesWithOpaqueWhite",
                      [](Canvas& c) {
                        c.fillRect({0, 0, W, H}, 5);
                        c.setPen(COLOUR_HIGHLIGHT);
                        c.line({4, 20}, {30, 20});
                      },
                      {at(4, 20, 32), at(5, 20, COLOUR_WHITE), at(28, 20, 32),
                       at(29, 20, COLOUR_WHITE), at(30, 20, 5), at(4, 21, 5)}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CanvasBoth, HatchBrushFollowsItsPatternFromTheOrigin) {
  const Both b = drawBoth([](Canvas& c) {
    c.setPen(0);
    c.setBrush(Brush::hatched(3, 14));
    c.rectangle({0, 0, 40, 40});
  });
  for (int y = 1; y < 39; ++y)
    for (int x = 1; x < 39; ++x)
      b.expectPixel(x, y, hatchBit(hatchPattern(3), x, y) ? paletteColour(14) : WHITE);
}

TEST(CanvasBoth, XorDrawnTwiceLeavesThePictureUnchanged) {
  const auto scene = [](Canvas& c) {
    c.setPen(9);
    c.setBrush(Brush::solid(26));
    c.polygon(std::vector<PixelPoint>{{5, 5}, {40, 8}, {20, 30}});
    c.fillRect({45, 0, 19, 48}, 13);
  };
  const auto rubber = [](Canvas& c) {
    c.setDrawMode(DrawMode::Xor);
    c.setPen(COLOUR_WHITE);
    c.line({0, 20}, {63, 20});
    c.polyline(std::vector<PixelPoint>{{10, 0}, {10, 47}, {60, 47}});
    c.setDrawMode(DrawMode::Copy);
  };
  const Both before = drawBoth(scene);
  const Both once = drawBoth([&](Canvas& c) {
    scene(c);
    rubber(c);
  });
  const Both twice = drawBoth([&](Canvas& c) {
    scene(c);
    rubber(c);
    rubber(c);
  });
  EXPECT_EQ(toRgbImage(twice.qt).rgb, toRgbImage(before.qt).rgb);
  EXPECT_EQ(twice.scripted.rgb, before.scripted.rgb);
  // Once: white XOR white background gives black; XOR on colour 13 inverts it.
  once.expectPixel(2, 20, {0, 0, 0});
  const Rgb c13 = paletteColour(13);
  once.expectPixel(50, 20,
                   {static_cast<std::uint8_t>(255 - c13.r), static_cast<std::uint8_t>(255 - c13.g),
                    static_cast<std::uint8_t>(255 - c13.b)});
}

TEST(QtCanvas, TextMetricsAndGlyphs) {
  test::qtApp();
  int width = 0;
  const QImage image = renderToImage(120, 30, [&](Canvas& c) {
    width = c.textWidth("Taviron", 16);
    c.text({4, 4}, "Taviron", TextStyle{});
  });
  EXPECT_GT(width, 20);
  EXPECT_NE(toRgbImage(image).rgb, RgbImage(120, 30, WHITE).rgb);  // glyphs were drawn
  // Nothing above the cell.
  for (int x = 0; x < 120; ++x) EXPECT_EQ(rgbAt(image, x, 0), WHITE);
}

}  // namespace
}  // namespace tav
