#include "platform/qt/qt_canvas.h"

#include <QFontMetrics>
#include <QPaintEngine>
#include <QPolygon>
#include <cmath>
#include <vector>

#include "platform/qt/qt_text.h"

namespace tav {

namespace {

// In Xor mode colours are handed to Qt inverted and drawn with
// NotSourceXorDestination: (~(~c)) ^ d = c ^ d on the colour bits, while the
// alpha byte stays 0xFF (plain SourceXorDestination would clear it).
QColor modeColour(QColor c, DrawMode mode) {
  if (mode == DrawMode::Xor) return QColor(255 - c.red(), 255 - c.green(), 255 - c.blue());
  return c;
}

QPolygon toPolygon(std::span<const PixelPoint> points) {
  QPolygon poly;
  poly.reserve(static_cast<qsizetype>(points.size()));
  for (const PixelPoint& p : points) poly.append(QPoint(p.x, p.y));
  return poly;
}

}  // namespace

QColor toQColor(Rgb c) { return QColor(c.r, c.g, c.b); }

QColor paletteQColor(int index) { return toQColor(paletteColour(index)); }

QImage hatchTile(int pattern, int colour) {
  QImage tile(8, 8, QImage::Format_RGB32);
  const HatchPattern& bits = hatchPattern(pattern);
  const QRgb on = paletteQColor(colour).rgb();
  const QRgb off = qRgb(255, 255, 255);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) tile.setPixel(x, y, hatchBit(bits, x, y) ? on : off);
  }
  return tile;
}

QtCanvas::QtCanvas(QPainter& painter, int width, int height, int dpiX, int dpiY)
    : painter_(painter), width_(width), height_(height), dpiX_(dpiX), dpiY_(dpiY) {
  xorSupported_ =
      painter_.paintEngine() != nullptr && painter_.paintEngine()->type() == QPaintEngine::Raster;
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.setRenderHint(QPainter::TextAntialiasing, true);
  painter_.setBrushOrigin(0, 0);
  applyMode();
  applyPen();
  applyBrush();
}

void QtCanvas::setPen(int colour) {
  pen_ = colour;
  applyPen();
}

void QtCanvas::setBrush(const Brush& brush) {
  brush_ = brush;
  applyBrush();
}

void QtCanvas::setDrawMode(DrawMode mode) {
  mode_ = xorSupported_ ? mode : DrawMode::Copy;
  applyMode();
  applyPen();
  applyBrush();
}

void QtCanvas::applyMode() {
  painter_.setCompositionMode(mode_ == DrawMode::Xor ? QPainter::RasterOp_NotSourceXorDestination
                                                     : QPainter::CompositionMode_SourceOver);
}

void QtCanvas::applyPen() {
  if (pen_ == PEN_NONE) {
    painter_.setPen(Qt::NoPen);
    return;
  }
  const PenSpec spec = penForColour(pen_);
  QPen pen(modeColour(toQColor(spec.colour), mode_));
  pen.setWidth(0);  // cosmetic: one device pixel on every device
  pen.setCapStyle(Qt::FlatCap);
  pen.setJoinStyle(Qt::MiterJoin);
  if (spec.style == PenStyle::Dotted) {
    pen.setDashPattern({static_cast<qreal>(DOT_ON), static_cast<qreal>(DOT_PERIOD - DOT_ON)});
  }
  painter_.setPen(pen);
  if (spec.opaqueGaps && mode_ == DrawMode::Copy) {
    painter_.setBackgroundMode(Qt::OpaqueMode);
    painter_.setBackground(QBrush(toQColor(spec.gapColour)));
  } else {
    painter_.setBackgroundMode(Qt::TransparentMode);
  }
}

void QtCanvas::applyBrush() {
  switch (brush_.kind) {
    case BrushKind::None:
      painter_.setBrush(Qt::NoBrush);
      break;
    case BrushKind::Solid:
      painter_.setBrush(QBrush(modeColour(paletteQColor(brush_.colour), mode_)));
      break;
    case BrushKind::Hatch: {
      QImage tile = hatchTile(brush_.hatch, brush_.colour);
      if (mode_ == DrawMode::Xor) tile.invertPixels();
      painter_.setBrush(QBrush(tile));
      break;
    }
  }
}

void QtCanvas::line(PixelPoint from, PixelPoint to) {
  painter_.drawLine(QPoint(from.x, from.y), QPoint(to.x, to.y));
}

void QtCanvas::polyline(std::span<const PixelPoint> points) {
  if (points.size() < 2) return;
  painter_.drawPolyline(toPolygon(points));
}

void QtCanvas::polygon(std::span<const PixelPoint> points) {
  if (points.size() < 2) return;
  painter_.drawPolygon(toPolygon(points), Qt::OddEvenFill);
}

void QtCanvas::rectangle(const PixelRect& r) {
  if (r.width <= 0 || r.height <= 0) return;
  // A one-pixel pen around QRect(x, y, w - 1, h - 1) covers exactly the
  // w x h pixels of r.
  painter_.drawRect(QRect(r.x, r.y, r.width - 1, r.height - 1));
}

void QtCanvas::fillRect(const PixelRect& r, int colour) {
  if (r.width <= 0 || r.height <= 0) return;
  painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
  painter_.fillRect(QRect(r.x, r.y, r.width, r.height), paletteQColor(colour));
  applyMode();
}

const QFont& QtCanvas::font(int height, bool bold) const {
  const auto key = std::make_pair(height, bold);
  auto it = fonts_.find(key);
  if (it != fonts_.end()) return it->second;
  QFont f(QStringLiteral("Arial"));
  f.setStyleHint(QFont::SansSerif);
  f.setWeight(bold ? QFont::Bold : QFont::Normal);
  // Shrink the pixel size until the line height fits the requested cell.
  int pixels = std::max(1, height);
  f.setPixelSize(pixels);
  while (pixels > 1 && QFontMetrics(f, painter_.device()).height() > height) {
    f.setPixelSize(--pixels);
  }
  return fonts_.emplace(key, f).first->second;
}

TextMetrics QtCanvas::measureText(std::string_view utf8, int height, bool bold) const {
  const QFontMetrics fm(font(height, bold), painter_.device());
  TextMetrics m;
  m.width = fm.horizontalAdvance(toQString(utf8));
  m.height = std::max(height, fm.height());
  m.ascent = fm.ascent();
  return m;
}

void QtCanvas::text(PixelPoint at, std::string_view utf8, const TextStyle& style) {
  const QString s = toQString(utf8);
  const QFont& f = font(style.height, style.bold);
  const QFontMetrics fm(f, painter_.device());
  const int w = fm.horizontalAdvance(s);
  int x = at.x;
  if (style.align == TextAlign::Centre) x -= w / 2;
  if (style.align == TextAlign::Right) x -= w;
  if (style.background >= 0) fillRect({x, at.y, w, style.height}, style.background);
  const QPen savedPen = painter_.pen();
  const Qt::BGMode savedMode = painter_.backgroundMode();
  painter_.setBackgroundMode(Qt::TransparentMode);
  painter_.setFont(f);
  painter_.setPen(modeColour(paletteQColor(style.colour), mode_));
  painter_.drawText(QPoint(x, at.y + fm.ascent()), s);
  painter_.setPen(savedPen);
  painter_.setBackgroundMode(savedMode);
}

void QtCanvas::setClip(const PixelRect& r) {
  painter_.setClipRect(QRect(r.x, r.y, std::max(0, r.width), std::max(0, r.height)));
}

void QtCanvas::clearClip() { painter_.setClipping(false); }

void QtCanvas::drawImage(PixelPoint at, const RgbImage& image) {
  if (image.empty()) return;
  painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
  painter_.drawImage(QPoint(at.x, at.y), toQImage(image));
  applyMode();
}

RgbImage toRgbImage(const QImage& source) {
  const QImage image = source.convertToFormat(QImage::Format_RGB888);
  RgbImage out(image.width(), image.height());
  const std::size_t row = static_cast<std::size_t>(image.width()) * 3;
  for (int y = 0; y < image.height(); ++y) {
    const uchar* line = image.constScanLine(y);
    std::copy(line, line + row, out.rgb.begin() + static_cast<std::ptrdiff_t>(row) * y);
  }
  return out;
}

QImage toQImage(const RgbImage& image) {
  if (image.empty()) return {};
  QImage out(image.width, image.height, QImage::Format_RGB888);
  const std::size_t row = static_cast<std::size_t>(image.width) * 3;
  for (int y = 0; y < image.height; ++y) {
    const auto begin = image.rgb.begin() + static_cast<std::ptrdiff_t>(row) * y;
    std::copy(begin, begin + static_cast<std::ptrdiff_t>(row), out.scanLine(y));
  }
  return out;
}

QImage renderToImage(int width, int height, const PaintFunction& paint) {
  QImage image(std::max(1, width), std::max(1, height), QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  QtCanvas canvas(painter, image.width(), image.height());
  if (paint) paint(canvas);
  painter.end();
  return image;
}

}  // namespace tav
