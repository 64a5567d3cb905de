#include "platform/qt/qt_progress_window.h"

#include <QCloseEvent>
#include <QPainter>
#include <QPushButton>

#include "platform/platform.h"
#include "platform/qt/qt_canvas.h"

namespace tav {

QtProgressWindow::QtProgressWindow(const QString& title, const QString& text,
                                   const QString& buttonText, QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::WindowTitleHint | Qt::CustomizeWindowHint), text_(text) {
  setWindowTitle(title);
  setFixedSize(CLIENT_WIDTH, CLIENT_HEIGHT);
  setAttribute(Qt::WA_OpaquePaintEvent);
  if (!buttonText.isEmpty()) {
    button_ = new QPushButton(buttonText, this);
    button_->setGeometry(64, 50, 90, 22);
    connect(button_, &QPushButton::clicked, this, [this] { cancelled_ = true; });
  }
  // Centred over the owner's client area.
  if (owner != nullptr) {
    const QPoint centre = owner->mapToGlobal(owner->rect().center());
    move(centre.x() - CLIENT_WIDTH / 2, centre.y() - CLIENT_HEIGHT / 2);
  }
}

void QtProgressWindow::setProgress(int percent, const QString& text) {
  if (percent == lastPercent_) return;
  lastPercent_ = percent;
  barWidth_ = progressBarWidth(percent);
  text_ = text;
  repaint();
}

void QtProgressWindow::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::white);
  // Outline from (9, 19) to (151, 41); the bar fills from x = 10.
  p.setPen(Qt::black);
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRect(9, 19, 142, 22));
  if (barWidth_ > 0) p.fillRect(QRect(10, 20, barWidth_, 21), paletteQColor(COLOUR_AXIS));
  p.setPen(Qt::black);
  QFont f = font();
  f.setPixelSize(12);
  p.setFont(f);
  p.drawText(QPoint(10, 50 + QFontMetrics(f).ascent()), text_);
}

void QtProgressWindow::closeEvent(QCloseEvent* e) {
  // The window goes away only through progressClose.
  e->ignore();
}

}  // namespace tav
