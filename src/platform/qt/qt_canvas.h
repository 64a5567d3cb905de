// Canvas on a QPainter: widgets, QImage pictures and printer pages.
#pragma once

#include <QFont>
#include <QImage>
#include <QPainter>
#include <map>

#include "platform/canvas.h"

namespace tav {

QColor toQColor(Rgb c);
QColor paletteQColor(int index);
// 8x8 tile of a hatch pattern: set bits in `colour`, clear bits white.
QImage hatchTile(int pattern, int colour);

class QtCanvas : public Canvas {
 public:
  // The painter must stay active for the canvas's life. width/height are the
  // drawable size in device pixels.
  QtCanvas(QPainter& painter, int width, int height, int dpiX = 96, int dpiY = 96);

  int width() const override { return width_; }
  int height() const override { return height_; }
  int dpiX() const override { return dpiX_; }
  int dpiY() const override { return dpiY_; }

  void setPen(int colour) override;
  void setBrush(const Brush& brush) override;
  void setDrawMode(DrawMode mode) override;
  void line(PixelPoint from, PixelPoint to) override;
  void polyline(std::span<const PixelPoint> points) override;
  void polygon(std::span<const PixelPoint> points) override;
  void rectangle(const PixelRect& r) override;
  void fillRect(const PixelRect& r, int colour) override;
  void text(PixelPoint at, std::string_view utf8, const TextStyle& style) override;
  TextMetrics measureText(std::string_view utf8, int height, bool bold) const override;
  void setClip(const PixelRect& r) override;
  void clearClip() override;
  void drawImage(PixelPoint at, const RgbImage& image) override;

 private:
  void applyPen();
  void applyBrush();
  void applyMode();
  const QFont& font(int height, bool bold) const;

  QPainter& painter_;
  int width_;
  int height_;
  int dpiX_;
  int dpiY_;
  int pen_ = COLOUR_BLACK;
  Brush brush_;
  DrawMode mode_ = DrawMode::Copy;
  bool xorSupported_;
  mutable std::map<std::pair<int, bool>, QFont> fonts_;
};

// Converts between QImage and the platform's RGB buffer.
RgbImage toRgbImage(const QImage& image);
QImage toQImage(const RgbImage& image);

// A picture of width x height on white, drawn by paint, as Format_RGB32.
QImage renderToImage(int width, int height, const PaintFunction& paint);

}  // namespace tav
