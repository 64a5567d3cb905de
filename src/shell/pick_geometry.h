// Pixel geometry of picking: boxes, segments crossing them and points in
// polygons.
#pragma once

#include <span>

#include "platform/canvas.h"

namespace tav {

// A box of pixels, both corners included.
struct PickBox {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool contains(PixelPoint p) const {
    return p.x >= left && p.x <= right && p.y >= top && p.y <= bottom;
  }
};

// The box spanned by two corners in any order.
PickBox pickBoxBetween(PixelPoint a, PixelPoint b);
// The square of +-half pixels around a point.
PickBox pickBoxAround(PixelPoint p, int half);

// True when the segment from a to b has a point inside the box.
bool segmentTouchesBox(PixelPoint a, PixelPoint b, const PickBox& box);

// Even-odd rule; a closed outline (the last point joins the first).
bool polygonContains(std::span<const PixelPoint> outline, PixelPoint p);

}  // namespace tav
