#include "platform/scripted/scripted_canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace tav {

namespace {

// Number of UTF-8 code points.
int characterCount(std::string_view s) {
  int n = 0;
  for (char c : s) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
  }
  return n;
}

}  // namespace

ScriptedCanvas::ScriptedCanvas(int width, int height, int dpi)
    : image_(std::max(1, width), std::max(1, height)), dpi_(dpi) {}

void ScriptedCanvas::record(DrawKind kind, std::span<const PixelPoint> points, PixelRect rect) {
  DrawCall call;
  call.kind = kind;
  call.points.assign(points.begin(), points.end());
  call.rect = rect;
  call.pen = pen_;
  call.brush = brush_;
  call.mode = mode_;
  calls_.push_back(std::move(call));
}

bool ScriptedCanvas::inClip(int x, int y) const {
  if (x < 0 || y < 0 || x >= image_.width || y >= image_.height) return false;
  return !clip_ || clip_->contains({x, y});
}

void ScriptedCanvas::plot(int x, int y, Rgb colour) {
  if (!inClip(x, y)) return;
  if (mode_ == DrawMode::Xor) {
    const Rgb d = image_.pixel(x, y);
    image_.setPixel(
        x, y,
        {static_cast<std::uint8_t>(d.r ^ colour.r), static_cast<std::uint8_t>(d.g ^ colour.g),
         static_cast<std::uint8_t>(d.b ^ colour.b)});
  } else {
    image_.setPixel(x, y, colour);
  }
}

void ScriptedCanvas::penPixel(int x, int y, int& dotCounter) {
  if (pen_ == PEN_NONE) return;
  const PenSpec pen = penForColour(pen_);
  if (pen.style == PenStyle::Solid || dotCounter % DOT_PERIOD < DOT_ON) {
    plot(x, y, pen.colour);
  } else if (pen.opaqueGaps && mode_ == DrawMode::Copy) {
    plot(x, y, pen.gapColour);
  }
  ++dotCounter;
}

void ScriptedCanvas::segment(PixelPoint a, PixelPoint b, bool skipFirst, int& dotCounter,
                             bool skipLast) {
  // Bresenham, both end points included.
  int x = a.x;
  int y = a.y;
  const int dx = std::abs(b.x - a.x);
  const int dy = -std::abs(b.y - a.y);
  const int sx = a.x < b.x ? 1 : -1;
  const int sy = a.y < b.y ? 1 : -1;
  int err = dx + dy;
  bool first = true;
  for (;;) {
    const bool last = x == b.x && y == b.y;
    if (!(first && skipFirst) && !(last && skipLast)) penPixel(x, y, dotCounter);
    first = false;
    if (last) break;
    const int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y += sy;
    }
  }
}

void ScriptedCanvas::line(PixelPoint from, PixelPoint to) {
  const PixelPoint pts[2] = {from, to};
  record(DrawKind::Line, pts);
  int dots = 0;
  segment(from, to, false, dots, true);
}

void ScriptedCanvas::polyline(std::span<const PixelPoint> points) {
  if (points.size() < 2) return;
  record(DrawKind::Polyline, points);
  int dots = 0;
  for (std::size_t i = 0; i + 1 < points.size(); ++i) {
    segment(points[i], points[i + 1], false, dots, true);
  }
}

void ScriptedCanvas::brushSpan(int y, int x0, int x1) {
  for (int x = x0; x <= x1; ++x) {
    switch (brush_.kind) {
      case BrushKind::None:
        return;
      case BrushKind::Solid:
        plot(x, y, paletteColour(brush_.colour));
        break;
      case BrushKind::Hatch:
        plot(x, y,
             hatchBit(hatchPattern(brush_.hatch), x, y) ? paletteColour(brush_.colour)
                                                        : paletteColour(COLOUR_WHITE));
        break;
    }
  }
}

void ScriptedCanvas::polygon(std::span<const PixelPoint> points) {
  if (points.size() < 2) return;
  record(DrawKind::Polygon, points);
  if (brush_.kind != BrushKind::None && points.size() >= 3) {
    // Even-odd fill of the pixels whose centres lie inside.
    int top = points[0].y;
    int bottom = points[0].y;
    for (const PixelPoint& p : points) {
      top = std::min(top, p.y);
      bottom = std::max(bottom, p.y);
    }
    top = std::max(top, 0);
    bottom = std::min(bottom, image_.height - 1);
    std::vector<double> xs;
    for (int y = top; y <= bottom; ++y) {
      const double cy = y + 0.5;
      xs.clear();
      for (std::size_t i = 0; i < points.size(); ++i) {
        const PixelPoint a = points[i];
        const PixelPoint b = points[(i + 1) % points.size()];
        if ((a.y <= cy) == (b.y <= cy)) continue;
        xs.push_back(a.x + (cy - a.y) * (b.x - a.x) / static_cast<double>(b.y - a.y));
      }
      std::sort(xs.begin(), xs.end());
      for (std::size_t k = 0; k + 1 < xs.size(); k += 2) {
        const int x0 = static_cast<int>(std::ceil(xs[k] - 0.5));
        const int x1 = static_cast<int>(std::ceil(xs[k + 1] - 0.5)) - 1;
        brushSpan(y, std::max(x0, 0), std::min(x1, image_.width - 1));
      }
    }
  }
  int dots = 0;
  for (std::size_t i = 0; i < points.size(); ++i) {
    const PixelPoint a = points[i];
    const PixelPoint b = points[(i + 1) % points.size()];
    // Each edge stops before its end point, so every vertex is drawn once.
    segment(a, b, false, dots, true);
  }
}

void ScriptedCanvas::rectangle(const PixelRect& r) {
  if (r.width <= 0 || r.height <= 0) return;
  record(DrawKind::Rectangle, {}, r);
  for (int y = r.y + 1; y < r.bottom() - 1; ++y) brushSpan(y, r.x + 1, r.right() - 2);
  const PixelPoint corners[4] = {
      {r.x, r.y}, {r.right() - 1, r.y}, {r.right() - 1, r.bottom() - 1}, {r.x, r.bottom() - 1}};
  int dots = 0;
  segment(corners[0], corners[1], false, dots);
  if (r.height > 1) segment(corners[1], corners[2], true, dots);
  if (r.height > 1 && r.width > 1) segment(corners[2], corners[3], true, dots);
  if (r.height > 2 && r.width > 1) {
    // Left edge without both corners.
    for (int y = r.bottom() - 2; y > r.y; --y) penPixel(r.x, y, dots);
  }
}

void ScriptedCanvas::fillRect(const PixelRect& r, int colour) {
  DrawCall call;
  call.kind = DrawKind::FillRect;
  call.rect = r;
  call.pen = colour;
  calls_.push_back(std::move(call));
  const Rgb c = paletteColour(colour);
  const DrawMode saved = mode_;
  mode_ = DrawMode::Copy;
  for (int y = std::max(r.y, 0); y < std::min(r.bottom(), image_.height); ++y) {
    for (int x = std::max(r.x, 0); x < std::min(r.right(), image_.width); ++x) plot(x, y, c);
  }
  mode_ = saved;
}

TextMetrics ScriptedCanvas::measureText(std::string_view utf8, int height, bool) const {
  TextMetrics m;
  m.width = characterCount(utf8) * std::max(1, height / 2);
  m.height = height;
  m.ascent = height * 3 / 4;
  return m;
}

void ScriptedCanvas::text(PixelPoint at, std::string_view utf8, const TextStyle& style) {
  DrawCall call;
  call.kind = DrawKind::Text;
  call.points.push_back(at);
  call.pen = style.colour;
  call.text = std::string(utf8);
  call.style = style;
  call.mode = mode_;
  calls_.push_back(std::move(call));
  if (style.background < 0) return;
  const int w = measureText(utf8, style.height, style.bold).width;
  int x = at.x;
  if (style.align == TextAlign::Centre) x -= w / 2;
  if (style.align == TextAlign::Right) x -= w;
  const Rgb bg = paletteColour(style.background);
  for (int y = at.y; y < at.y + style.height; ++y) {
    for (int px = x; px < x + w; ++px) plot(px, y, bg);
  }
}

void ScriptedCanvas::setClip(const PixelRect& r) { clip_ = r; }

void ScriptedCanvas::drawImage(PixelPoint at, const RgbImage& image) {
  DrawCall call;
  call.kind = DrawKind::Image;
  call.points.push_back(at);
  call.rect = {at.x, at.y, image.width, image.height};
  calls_.push_back(std::move(call));
  const DrawMode saved = mode_;
  mode_ = DrawMode::Copy;
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) plot(at.x + x, at.y + y, image.pixel(x, y));
  }
  mode_ = saved;
}

std::vector<DrawCall> ScriptedCanvas::callsOf(DrawKind kind) const {
  std::vector<DrawCall> out;
  for (const DrawCall& c : calls_) {
    if (c.kind == kind) out.push_back(c);
  }
  return out;
}

std::vector<std::string> ScriptedCanvas::texts() const {
  std::vector<std::string> out;
  for (const DrawCall& c : calls_) {
    if (c.kind == DrawKind::Text) out.push_back(c.text);
  }
  return out;
}

int ScriptedCanvas::countPixels(Rgb colour) const {
  int n = 0;
  for (int y = 0; y < image_.height; ++y) {
    for (int x = 0; x < image_.width; ++x) n += image_.pixel(x, y) == colour ? 1 : 0;
  }
  return n;
}

}  // namespace tav
