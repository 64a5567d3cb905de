#include "platform/qt/builtin_art.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace tav {

namespace {

// Loudspeaker cabinet with its cone and three wave arcs, in a 64-unit box.
void drawGlyph(QPainter& p) {
  p.setRenderHint(QPainter::Antialiasing, true);
  // Room corner: floor and two walls.
  p.setPen(QPen(QColor(0, 128, 128), 2.5));
  p.drawLine(QPointF(6, 58), QPointF(58, 58));
  p.drawLine(QPointF(6, 58), QPointF(6, 6));
  // Cabinet.
  p.setPen(QPen(QColor(20, 20, 20), 2));
  p.setBrush(QColor(60, 60, 70));
  p.drawRoundedRect(QRectF(12, 16, 20, 34), 3, 3);
  // Cone and tweeter.
  p.setBrush(QColor(200, 200, 210));
  p.drawEllipse(QPointF(22, 40), 7, 7);
  p.drawEllipse(QPointF(22, 24), 3.5, 3.5);
  // Wave fronts.
  p.setBrush(Qt::NoBrush);
  const QColor waves[3] = {QColor(255, 110, 0), QColor(255, 191, 0), QColor(0, 158, 255)};
  for (int i = 0; i < 3; ++i) {
    p.setPen(QPen(waves[i], 3, Qt::SolidLine, Qt::RoundCap));
    const double r = 10.0 + 8.0 * i;
    p.drawArc(QRectF(32 - r, 33 - r, 2 * r, 2 * r), -50 * 16, 100 * 16);
  }
}

}  // namespace

QImage iconImage(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.scale(size / 64.0, size / 64.0);
  drawGlyph(p);
  p.end();
  return image;
}

QIcon applicationIcon() {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 128, 256})
    icon.addPixmap(QPixmap::fromImage(iconImage(size)));
  return icon;
}

QImage startupPicture() {
  constexpr int W = 420;
  constexpr int H = 240;
  QImage image(W, H, QImage::Format_RGB32);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing, true);
  QLinearGradient sky(0, 0, 0, H);
  sky.setColorAt(0, QColor(10, 40, 90));
  sky.setColorAt(1, QColor(0, 128, 128));
  p.fillRect(image.rect(), sky);
  // A hall in perspective on the right: floor grid converging to a
  // vanishing point, with map colours on the audience area.
  const QPointF vanish(340, 60);
  const double floorLeft = 220;
  const double floorRight = 460;
  auto at = [&](double u, double t) {
    return QPointF(vanish.x() + (u - vanish.x()) * t, vanish.y() + (H - vanish.y()) * t);
  };
  const QColor ramp[5] = {QColor(255, 55, 0), QColor(255, 164, 0), QColor(219, 255, 0),
                          QColor(0, 255, 176), QColor(0, 104, 255)};
  for (int k = 0; k < 5; ++k) {
    const double t0 = 1.0 - k * 0.15;
    const double t1 = t0 - 0.15;
    QPainterPath cell;
    cell.moveTo(at(290, t0));
    cell.lineTo(at(410, t0));
    cell.lineTo(at(410, t1));
    cell.lineTo(at(290, t1));
    cell.closeSubpath();
    QColor c = ramp[k];
    c.setAlpha(150);
    p.fillPath(cell, c);
  }
  p.setPen(QPen(QColor(172, 244, 255, 120), 1));
  for (int i = 0; i <= 8; ++i) {
    p.drawLine(at(floorLeft + i * (floorRight - floorLeft) / 8, 1.0), vanish);
  }
  for (int j = 0; j < 6; ++j) {
    const double t = 1.0 - j * 0.15;
    p.drawLine(at(floorLeft, t), at(floorRight, t));
  }
  // The glyph and the name on the left.
  p.save();
  p.translate(24, 14);
  p.scale(1.7, 1.7);
  drawGlyph(p);
  p.restore();
  QFont title(QStringLiteral("Arial"));
  title.setPixelSize(32);
  title.setBold(true);
  p.setFont(title);
  p.setPen(Qt::white);
  p.drawText(QRect(20, 132, 220, 40), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("Taviron 2.90"));
  QFont sub(QStringLiteral("Arial"));
  sub.setPixelSize(13);
  p.setFont(sub);
  p.setPen(QColor(255, 221, 179));
  p.drawText(QRect(22, 176, 200, 40), Qt::AlignLeft | Qt::AlignTop,
             QStringLiteral("Room acoustics and\nsound reinforcement design"));
  p.end();
  return image;
}

}  // namespace tav
