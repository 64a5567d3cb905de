// Drawing surface for views, windows, dialogs' paint areas and printer pages.
// Pens and brushes are palette-indexed (palette.h). Coordinates are integer
// pixels with y growing downwards; callers clamp to +-32767.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/palette.h"

namespace tav {

struct PixelPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

// Covers the pixels x .. x+width-1, y .. y+height-1.
struct PixelRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  int right() const { return x + width; }    // exclusive
  int bottom() const { return y + height; }  // exclusive
  bool contains(PixelPoint p) const {
    return p.x >= x && p.x < right() && p.y >= y && p.y < bottom();
  }
  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

enum class BrushKind { None, Solid, Hatch };

struct Brush {
  BrushKind kind = BrushKind::None;
  int colour = COLOUR_WHITE;  // Solid: fill colour; Hatch: colour of the set bits
  int hatch = 0;              // Hatch: pattern 0..15
  static Brush none() { return {}; }
  static Brush solid(int colour) { return {BrushKind::Solid, colour, 0}; }
  static Brush hatched(int pattern, int colour = COLOUR_BLACK) {
    return {BrushKind::Hatch, colour, pattern};
  }
  friend bool operator==(const Brush&, const Brush&) = default;
};

// Copy paints; Xor combines pen/brush colour with the picture bit by bit, so
// drawing the same thing twice restores the picture (rubber bands).
enum class DrawMode { Copy, Xor };

enum class TextAlign { Left, Centre, Right };

struct TextStyle {
  int colour = COLOUR_BLACK;
  int background = -1;  // palette index of an opaque background box, -1 transparent
  int height = 16;      // cell height in pixels
  TextAlign align = TextAlign::Left;
  bool bold = false;
};

struct TextMetrics {
  int width = 0;
  int height = 0;  // cell height
  int ascent = 0;
};

// Packed 8-bit RGB, rows top to bottom, 3 bytes per pixel, no padding.
struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;
  RgbImage() = default;
  RgbImage(int w, int h, Rgb fill = {255, 255, 255});
  bool empty() const { return width <= 0 || height <= 0; }
  Rgb pixel(int x, int y) const;
  void setPixel(int x, int y, Rgb c);
};

class Canvas {
 public:
  virtual ~Canvas() = default;

  virtual int width() const = 0;
  virtual int height() const = 0;
  // Device resolution; screens report 96.
  virtual int dpiX() const { return 96; }
  virtual int dpiY() const { return 96; }

  virtual void setPen(int colour) = 0;
  virtual void setBrush(const Brush& brush) = 0;
  virtual void setDrawMode(DrawMode mode) = 0;

  // Lines leave out their end point (a polyline its last point), so joined
  // segments and XOR drawing touch every pixel once.
  virtual void line(PixelPoint from, PixelPoint to) = 0;
  virtual void polyline(std::span<const PixelPoint> points) = 0;
  // Filled with the brush (even-odd rule), outlined with the pen; closed.
  virtual void polygon(std::span<const PixelPoint> points) = 0;
  // Outline in the pen inside r, interior filled with the brush.
  virtual void rectangle(const PixelRect& r) = 0;
  // Fills r with one colour; ignores pen, brush and draw mode.
  virtual void fillRect(const PixelRect& r, int colour) = 0;
  // `at` is the top-left corner of the text cell (Left), its top-centre
  // (Centre) or top-right (Right). Text is UTF-8.
  virtual void text(PixelPoint at, std::string_view utf8, const TextStyle& style) = 0;
  virtual TextMetrics measureText(std::string_view utf8, int height, bool bold = false) const = 0;
  // Later drawing is limited to r (intersected with the surface).
  virtual void setClip(const PixelRect& r) = 0;
  virtual void clearClip() = 0;
  // Copies an RGB picture with its top-left corner at `at`, unscaled.
  virtual void drawImage(PixelPoint at, const RgbImage& image) = 0;

  // Conveniences over the primitives.
  void clear(int colour = COLOUR_WHITE) { fillRect({0, 0, width(), height()}, colour); }
  int textWidth(std::string_view utf8, int height = 16) const {
    return measureText(utf8, height).width;
  }
};

using PaintFunction = std::function<void(Canvas&)>;

// setPen(PEN_NONE): lines, polylines and the outlines of polygons and
// rectangles are left out (seamless fills, e.g. the cells of a map).
constexpr int PEN_NONE = -1;

}  // namespace tav
