#include "platform/qt/qt_picture_widget.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <cmath>

#include "platform/qt/qt_canvas.h"

namespace tav {

QtPictureWidget::QtPictureWidget(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  setFocusPolicy(Qt::ClickFocus);
}

void QtPictureWidget::invalidate() {
  // A request made while the picture is being drawn is that same drawing.
  if (!painting_) dirty_ = true;
  update();
}

QSize QtPictureWidget::deviceSize() const {
  const double ratio = devicePixelRatioF();
  return {std::max(1, static_cast<int>(std::ceil(width() * ratio))),
          std::max(1, static_cast<int>(std::ceil(height() * ratio)))};
}

void QtPictureWidget::rebuild() {
  const QSize want = deviceSize();
  if (picture_.size() != want || picture_.devicePixelRatio() != devicePixelRatioF()) {
    picture_ = QImage(want, QImage::Format_RGB32);
    picture_.setDevicePixelRatio(devicePixelRatioF());
  }
  picture_.fill(Qt::white);
  dirty_ = false;
  if (!paintPicture || painting_) return;
  painting_ = true;  // a repaint request from inside the callback waits
  QPainter painter(&picture_);
  QtCanvas canvas(painter, std::max(1, width()), std::max(1, height()));
  paintPicture(canvas);
  painter.end();
  painting_ = false;
}

const QImage& QtPictureWidget::picture() {
  if (dirty_ || picture_.size() != deviceSize()) rebuild();
  return picture_;
}

void QtPictureWidget::drawNow(const PaintFunction& paint) {
  picture();
  QPainter painter(&picture_);
  QtCanvas canvas(painter, std::max(1, width()), std::max(1, height()));
  if (paint) paint(canvas);
  painter.end();
  update();
}

void QtPictureWidget::setOverlay(PaintFunction paint) {
  overlay_ = std::move(paint);
  update();
}

void QtPictureWidget::clearOverlay() {
  overlay_ = nullptr;
  update();
}

void QtPictureWidget::clearDecoration() {
  decoration_ = QImage();
  update();
}

void QtPictureWidget::setDecoration(const QImage& image) {
  decoration_ = image;
  update();
}

void QtPictureWidget::compose(QPainter& painter) {
  painter.drawImage(0, 0, picture());
  if (!decoration_.isNull()) {
    painter.drawImage((width() - decoration_.width()) / 2, (height() - decoration_.height()) / 2,
                      decoration_);
  }
  if (overlay_) {
    QtCanvas canvas(painter, width(), height());
    overlay_(canvas);
  }
}

QImage QtPictureWidget::composed() {
  QImage image(picture().size(), QImage::Format_RGB32);
  image.setDevicePixelRatio(picture_.devicePixelRatio());
  QPainter painter(&image);
  compose(painter);
  painter.end();
  return image;
}

void QtPictureWidget::paintEvent(QPaintEvent*) {
  // Compose off-screen so the overlay's XOR works on any backing store.
  QPainter painter(this);
  painter.drawImage(0, 0, composed());
}

void QtPictureWidget::resizeEvent(QResizeEvent*) {
  dirty_ = true;
  if (resized) resized(width(), height());
}

void QtPictureWidget::sendMouse(QMouseEvent* e, MouseAction action) {
  if (!mouse) return;
  MouseEvent m;
  m.action = action;
  switch (e->button()) {
    case Qt::LeftButton:
      m.button = MouseButton::Left;
      break;
    case Qt::RightButton:
      m.button = MouseButton::Right;
      break;
    case Qt::MiddleButton:
      m.button = MouseButton::Middle;
      break;
    default:
      m.button = MouseButton::None;
      break;
  }
  const QPoint p = e->position().toPoint();
  m.pos = {p.x(), p.y()};
  m.ctrl = (e->modifiers() & Qt::ControlModifier) != 0;
  m.shift = (e->modifiers() & Qt::ShiftModifier) != 0;
  mouse(m);
}

void QtPictureWidget::mouseMoveEvent(QMouseEvent* e) { sendMouse(e, MouseAction::Move); }
void QtPictureWidget::mousePressEvent(QMouseEvent* e) { sendMouse(e, MouseAction::Press); }
void QtPictureWidget::mouseReleaseEvent(QMouseEvent* e) { sendMouse(e, MouseAction::Release); }
void QtPictureWidget::mouseDoubleClickEvent(QMouseEvent* e) {
  sendMouse(e, MouseAction::DoubleClick);
}

void QtPictureWidget::wheelEvent(QWheelEvent* e) {
  if (!wheel) {
    QWidget::wheelEvent(e);
    return;
  }
  const QPoint p = e->position().toPoint();
  const int delta = e->angleDelta().y();
  if (delta != 0) wheel({{p.x(), p.y()}, delta});
  e->accept();
}

void QtPictureWidget::leaveEvent(QEvent*) {
  if (mouseLeft) mouseLeft();
}

}  // namespace tav
