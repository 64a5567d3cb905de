#include "shell/pick_geometry.h"

#include <algorithm>

namespace tav {

PickBox pickBoxBetween(PixelPoint a, PixelPoint b) {
  return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

PickBox pickBoxAround(PixelPoint p, int half) {
  return {p.x - half, p.y - half, p.x + half, p.y + half};
}

bool segmentTouchesBox(PixelPoint a, PixelPoint b, const PickBox& box) {
  if (box.contains(a) || box.contains(b)) return true;
  // Liang-Barsky clipping of the segment against the box.
  const double x0 = a.x, y0 = a.y;
  const double dx = double(b.x) - a.x, dy = double(b.y) - a.y;
  double t0 = 0.0, t1 = 1.0;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x0 - box.left, box.right - x0, y0 - box.top, box.bottom - y0};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0.0) {
      if (q[i] < 0.0) return false;
      continue;
    }
    const double r = q[i] / p[i];
    if (p[i] < 0.0) {
      if (r > t1) return false;
      t0 = std::max(t0, r);
    } else {
      if (r < t0) return false;
      t1 = std::min(t1, r);
    }
  }
  return t0 <= t1;
}

bool polygonContains(std::span<const PixelPoint> outline, PixelPoint p) {
  bool inside = false;
  const std::size_t n = outline.size();
  if (n < 3) return false;
  for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
    const PixelPoint& a = outline[i];
    const PixelPoint& b = outline[j];
    if ((a.y > p.y) != (b.y > p.y)) {
      const double x = a.x + double(p.y - a.y) * (b.x - a.x) / double(b.y - a.y);
      if (p.x < x) inside = !inside;
    }
  }
  return inside;
}

}  // namespace tav
