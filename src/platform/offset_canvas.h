// A rectangle of another canvas used as a canvas of its own: coordinates are
// relative to the rectangle's top-left corner and drawing is clipped to it.
// The map window draws the model view into the area beside its legend.
#pragma once

#include "platform/canvas.h"

namespace tav {

class OffsetCanvas : public Canvas {
 public:
  OffsetCanvas(Canvas& base, const PixelRect& area);
  ~OffsetCanvas() override;
  OffsetCanvas(const OffsetCanvas&) = delete;
  OffsetCanvas& operator=(const OffsetCanvas&) = delete;

  int width() const override { return area_.width; }
  int height() const override { return area_.height; }
  int dpiX() const override { return base_.dpiX(); }
  int dpiY() const override { return base_.dpiY(); }
  void setPen(int colour) override { base_.setPen(colour); }
  void setBrush(const Brush& brush) override { base_.setBrush(brush); }
  void setDrawMode(DrawMode mode) override { base_.setDrawMode(mode); }
  void line(PixelPoint from, PixelPoint to) override;
  void polyline(std::span<const PixelPoint> points) override;
  void polygon(std::span<const PixelPoint> points) override;
  void rectangle(const PixelRect& r) override;
  void fillRect(const PixelRect& r, int colour) override;
  void text(PixelPoint at, std::string_view utf8, const TextStyle& style) override;
  TextMetrics measureText(std::string_view utf8, int height, bool bold = false) const override {
    return base_.measureText(utf8, height, bold);
  }
  void setClip(const PixelRect& r) override;
  void clearClip() override { base_.setClip(area_); }
  void drawImage(PixelPoint at, const RgbImage& image) override;

 private:
  PixelPoint shift(PixelPoint p) const { return {p.x + area_.x, p.y + area_.y}; }
  PixelRect shift(const PixelRect& r) const {
    return {r.x + area_.x, r.y + area_.y, r.width, r.height};
  }
  const std::vector<PixelPoint>& shifted(std::span<const PixelPoint> points);

  Canvas& base_;
  PixelRect area_;
  std::vector<PixelPoint> scratch_;
};

// The part of r inside `within` (width or height 0 when they do not meet).
PixelRect intersectRects(const PixelRect& r, const PixelRect& within);

}  // namespace tav
