#include "platform/offset_canvas.h"

#include <algorithm>

namespace tav {

PixelRect intersectRects(const PixelRect& r, const PixelRect& within) {
  const int x0 = std::max(r.x, within.x), y0 = std::max(r.y, within.y);
  const int x1 = std::min(r.right(), within.right()), y1 = std::min(r.bottom(), within.bottom());
  return {x0, y0, std::max(0, x1 - x0), std::max(0, y1 - y0)};
}

OffsetCanvas::OffsetCanvas(Canvas& base, const PixelRect& area) : base_(base), area_(area) {
  base_.setClip(area_);
}

OffsetCanvas::~OffsetCanvas() { base_.clearClip(); }

const std::vector<PixelPoint>& OffsetCanvas::shifted(std::span<const PixelPoint> points) {
  scratch_.clear();
  for (const PixelPoint& p : points) scratch_.push_back(shift(p));
  return scratch_;
}

void OffsetCanvas::line(PixelPoint from, PixelPoint to) { base_.line(shift(from), shift(to)); }

void OffsetCanvas::polyline(std::span<const PixelPoint> points) { base_.polyline(shifted(points)); }

void OffsetCanvas::polygon(std::span<const PixelPoint> points) { base_.polygon(shifted(points)); }

void OffsetCanvas::rectangle(const PixelRect& r) { base_.rectangle(shift(r)); }

void OffsetCanvas::fillRect(const PixelRect& r, int colour) {
  const PixelRect inside = intersectRects(shift(r), area_);
  if (inside.width > 0 && inside.height > 0) base_.fillRect(inside, colour);
}

void OffsetCanvas::text(PixelPoint at, std::string_view utf8, const TextStyle& style) {
  base_.text(shift(at), utf8, style);
}

void OffsetCanvas::setClip(const PixelRect& r) { base_.setClip(intersectRects(shift(r), area_)); }

void OffsetCanvas::drawImage(PixelPoint at, const RgbImage& image) {
  base_.drawImage(shift(at), image);
}

}  // namespace tav
