// The Qt canvas and the scripted rasteriser draw the same pixels for the
// primitives the views use, with the palette's exact colours.
#include <gtest/gtest.h>

#include <QImage>
#include <memory>
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

class CanvasBoth : public ::testing::Test {
 protected:
  void expectPixel(const Both& b, int x, int y, Rgb want) {
    EXPECT_EQ(rgbAt(b.qt, x, y), want) << "qt at " << x << "," << y;
    EXPECT_EQ(b.scripted.pixel(x, y), want) << "scripted at " << x << "," << y;
  }
  void expectSame(const Both& b) {
    int differing = 0;
    for (int y = 0; y < H; ++y) {
      for (int x = 0; x < W; ++x) {
        if (!(rgbAt(b.qt, x, y) == b.scripted.pixel(x, y))) {
          if (++differing <= 5) ADD_FAILURE() << "pixel " << x << "," << y << " differs";
        }
      }
    }
    EXPECT_EQ(differing, 0);
  }
};

TEST_F(CanvasBoth, SolidLinesInPaletteColours) {
  const Both b = drawBoth([](Canvas& c) {
    c.setPen(9);
    c.line({5, 10}, {40, 10});
    c.setPen(21);
    c.line({50, 2}, {50, 30});
    c.setPen(0);
    c.line({2, 40}, {30, 26});
  });
  expectPixel(b, 5, 10, paletteColour(9));
  expectPixel(b, 20, 10, paletteColour(9));
  expectPixel(b, 39, 10, paletteColour(9));
  // The end point is left out, as in classic line drawing.
  expectPixel(b, 40, 10, paletteColour(30));
  expectPixel(b, 20, 11, paletteColour(30));
  expectPixel(b, 50, 2, paletteColour(21));
  expectPixel(b, 50, 29, paletteColour(21));
  expectPixel(b, 50, 30, paletteColour(30));
  expectPixel(b, 2, 40, paletteColour(0));
  expectPixel(b, 30, 26, paletteColour(30));
  expectSame(b);
}

TEST_F(CanvasBoth, DottedPenAlternatesWithOpaqueWhite) {
  const Both b = drawBoth([](Canvas& c) {
    c.fillRect({0, 0, W, H}, 5);  // grey under the line
    c.setPen(COLOUR_HIGHLIGHT);
    c.line({4, 20}, {30, 20});
  });
  int red = 0;
  int white = 0;
  for (int x = 4; x < 30; ++x) {
    const Rgb p = rgbAt(b.qt, x, 20);
    if (p == paletteColour(32)) ++red;
    if (p == paletteColour(30)) ++white;
    EXPECT_EQ(p, b.scripted.pixel(x, 20)) << x;
  }
  // Dots and gaps alternate; no grey shows through the gaps.
  EXPECT_GE(red, 12);
  EXPECT_GE(white, 12);
  EXPECT_EQ(red + white, 26);
  expectPixel(b, 4, 21, paletteColour(5));
}

TEST_F(CanvasBoth, PolygonFilledWithBrushOutlinedWithPenAndWithoutBrushOnlyOutlined) {
  const std::vector<PixelPoint> square = {{10, 10}, {30, 10}, {30, 30}, {10, 30}};
  const std::vector<PixelPoint> tri = {{35, 45}, {60, 45}, {35, 20}};
  const Both b = drawBoth([&](Canvas& c) {
    c.setPen(21);
    c.setBrush(Brush::solid(25));
    c.polygon(square);
    c.setPen(19);
    c.setBrush(Brush::none());
    c.polygon(tri);
  });
  expectPixel(b, 20, 20, paletteColour(25));
  expectPixel(b, 11, 11, paletteColour(25));
  expectPixel(b, 10, 20, paletteColour(21));
  expectPixel(b, 30, 20, paletteColour(21));
  expectPixel(b, 20, 10, paletteColour(21));
  expectPixel(b, 20, 30, paletteColour(21));
  expectPixel(b, 31, 20, paletteColour(30));
  expectPixel(b, 20, 31, paletteColour(30));
  expectPixel(b, 39, 41, paletteColour(30));  // inside the triangle: not filled
  expectPixel(b, 35, 30, paletteColour(19));
  expectPixel(b, 45, 45, paletteColour(19));
  expectSame(b);
}

TEST_F(CanvasBoth, RectangleCoversExactlyItsPixels) {
  const Both b = drawBoth([](Canvas& c) {
    c.setPen(0);
    c.setBrush(Brush::solid(28));
    c.rectangle({10, 5, 20, 12});
    c.fillRect({40, 5, 6, 4}, 23);
  });
  expectPixel(b, 10, 5, paletteColour(0));
  expectPixel(b, 29, 16, paletteColour(0));
  expectPixel(b, 30, 16, paletteColour(30));
  expectPixel(b, 29, 17, paletteColour(30));
  expectPixel(b, 15, 10, paletteColour(28));
  expectPixel(b, 40, 5, paletteColour(23));
  expectPixel(b, 45, 8, paletteColour(23));
  expectPixel(b, 46, 8, paletteColour(30));
  expectPixel(b, 45, 9, paletteColour(30));
  expectSame(b);
}

TEST_F(CanvasBoth, HatchBrushFollowsItsPatternFromTheOrigin) {
  const Both b = drawBoth([](Canvas& c) {
    c.setPen(0);
    c.setBrush(Brush::hatched(3, 14));
    c.rectangle({0, 0, 40, 40});
  });
  for (int y = 1; y < 39; ++y) {
    for (int x = 1; x < 39; ++x) {
      const Rgb want = hatchBit(hatchPattern(3), x, y) ? paletteColour(14) : paletteColour(30);
      EXPECT_EQ(rgbAt(b.qt, x, y), want) << x << "," << y;
      EXPECT_EQ(b.scripted.pixel(x, y), want) << x << "," << y;
    }
  }
}

TEST_F(CanvasBoth, XorDrawnTwiceLeavesThePictureUnchanged) {
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
  expectPixel(once, 2, 20, {0, 0, 0});
  const Rgb c13 = paletteColour(13);
  expectPixel(once, 50, 20,
              {static_cast<std::uint8_t>(255 - c13.r), static_cast<std::uint8_t>(255 - c13.g),
               static_cast<std::uint8_t>(255 - c13.b)});
}

TEST_F(CanvasBoth, ClipLimitsDrawing) {
  const Both b = drawBoth([](Canvas& c) {
    c.setClip({10, 10, 10, 10});
    c.fillRect({0, 0, W, H}, 23);
    c.clearClip();
    c.setPen(21);
    c.line({0, 30}, {5, 30});
  });
  expectPixel(b, 10, 10, paletteColour(23));
  expectPixel(b, 19, 19, paletteColour(23));
  expectPixel(b, 20, 19, paletteColour(30));
  expectPixel(b, 9, 10, paletteColour(30));
  expectPixel(b, 3, 30, paletteColour(21));
}

TEST_F(CanvasBoth, TextBackgroundAndImages) {
  RgbImage small(3, 2, {1, 2, 3});
  small.setPixel(2, 1, {200, 100, 50});
  const Both b = drawBoth([&](Canvas& c) {
    TextStyle style;
    style.colour = 21;
    style.background = 30;
    c.fillRect({0, 0, W, H}, 5);
    c.text({2, 2}, "XY", style);
    c.drawImage({40, 40}, small);
  });
  expectPixel(b, 40, 40, {1, 2, 3});
  expectPixel(b, 42, 41, {200, 100, 50});
  expectPixel(b, 43, 41, paletteColour(5));
  // The background box starts at the text cell's corner.
  expectPixel(b, 2, 2, paletteColour(30));
}

TEST(QtCanvas, TextMetricsAndGlyphs) {
  test::qtApp();
  int width = 0;
  const QImage image = renderToImage(120, 30, [&](Canvas& c) {
    width = c.textWidth("Taviron", 16);
    TextStyle style;
    style.colour = 0;
    c.text({4, 4}, "Taviron", style);
  });
  EXPECT_GT(width, 20);
  EXPECT_LT(width, 110);
  int dark = 0;
  for (int y = 0; y < 30; ++y) {
    for (int x = 0; x < 120; ++x) dark += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
  }
  EXPECT_GT(dark, 20);  // glyphs were drawn
  // Nothing above the cell.
  for (int x = 0; x < 120; ++x) EXPECT_EQ(rgbAt(image, x, 0), paletteColour(30));
}

}  // namespace
}  // namespace tav
