// Canvas for tests: records every primitive with its pen, brush and mode,
// and rasterises it into an in-memory RGB picture so tests can check pixels.
// Text is recorded and its background box painted; glyphs are not drawn.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/canvas.h"

namespace tav {

enum class DrawKind { Line, Polyline, Polygon, Rectangle, FillRect, Text, Image };

struct DrawCall {
  DrawKind kind = DrawKind::Line;
  std::vector<PixelPoint> points;  // Line: 2, Polyline/Polygon: all, Text/Image: 1
  PixelRect rect;                  // Rectangle, FillRect
  int pen = COLOUR_BLACK;          // FillRect: its colour; Text: the text colour
  Brush brush;
  DrawMode mode = DrawMode::Copy;
  std::string text;
  TextStyle style;
};

class ScriptedCanvas : public Canvas {
 public:
  // Characters are measured as (height / 2) pixels wide.
  ScriptedCanvas(int width, int height, int dpi = 96);

  int width() const override { return image_.width; }
  int height() const override { return image_.height; }
  int dpiX() const override { return dpi_; }
  int dpiY() const override { return dpi_; }

  void setPen(int colour) override { pen_ = colour; }
  void setBrush(const Brush& brush) override { brush_ = brush; }
  void setDrawMode(DrawMode mode) override { mode_ = mode; }
  void line(PixelPoint from, PixelPoint to) override;
  void polyline(std::span<const PixelPoint> points) override;
  void polygon(std::span<const PixelPoint> points) override;
  void rectangle(const PixelRect& r) override;
  void fillRect(const PixelRect& r, int colour) override;
  void text(PixelPoint at, std::string_view utf8, const TextStyle& style) override;
  TextMetrics measureText(std::string_view utf8, int height, bool bold) const override;
  void setClip(const PixelRect& r) override;
  void clearClip() override { clip_.reset(); }
  void drawImage(PixelPoint at, const RgbImage& image) override;

  const std::vector<DrawCall>& calls() const { return calls_; }
  void clearCalls() { calls_.clear(); }
  std::vector<DrawCall> callsOf(DrawKind kind) const;
  // All recorded texts, in drawing order.
  std::vector<std::string> texts() const;

  const RgbImage& image() const { return image_; }
  void setImage(const RgbImage& image) { image_ = image; }
  Rgb pixel(int x, int y) const { return image_.pixel(x, y); }
  int countPixels(Rgb colour) const;

 private:
  void record(DrawKind kind, std::span<const PixelPoint> points, PixelRect rect = {});
  void plot(int x, int y, Rgb colour);
  void penPixel(int x, int y, int& dotCounter);
  // Draws from a to b; skipFirst leaves a out, skipLast b (joints of
  // polylines and the closing edge of polygons, so XOR keeps every pixel once).
  void segment(PixelPoint a, PixelPoint b, bool skipFirst, int& dotCounter, bool skipLast = false);
  void brushSpan(int y, int x0, int x1);
  bool inClip(int x, int y) const;

  RgbImage image_;
  int dpi_;
  int pen_ = COLOUR_BLACK;
  Brush brush_;
  DrawMode mode_ = DrawMode::Copy;
  std::optional<PixelRect> clip_;
  std::vector<DrawCall> calls_;
};

}  // namespace tav
