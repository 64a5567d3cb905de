// A widget that keeps its picture in an image: the picture is rebuilt by a
// paint callback when invalidated, may be drawn on incrementally, and is
// shown with an overlay on top (cross-hair, rubber bands) that never enters
// the picture.
#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

#include "platform/canvas.h"
#include "platform/input_events.h"

namespace tav {

class QtPictureWidget : public QWidget {
  Q_OBJECT
 public:
  explicit QtPictureWidget(QWidget* parent = nullptr);

  std::function<void(Canvas&)> paintPicture;
  std::function<void(const MouseEvent&)> mouse;
  std::function<void()> mouseLeft;
  std::function<void(int width, int height)> resized;
  std::function<void(const WheelEvent&)> wheel;

  void invalidate();  // rebuilt at the next screen update
  void drawNow(const PaintFunction& paint);
  void setOverlay(PaintFunction paint);
  void clearOverlay();
  void updateOverlay() { update(); }
  // Shown centred over the picture until cleared.
  void setDecoration(const QImage& image);
  void clearDecoration();
  // The picture without overlay, rebuilt first if needed, in device pixels
  // (its devicePixelRatio is the screen's; drawing is in logical pixels).
  const QImage& picture();
  // Picture with overlay and decoration, as on screen.
  QImage composed();

 protected:
  void paintEvent(QPaintEvent*) override;
  void resizeEvent(QResizeEvent*) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void leaveEvent(QEvent*) override;
  void wheelEvent(QWheelEvent* e) override;

 private:
  void rebuild();
  // The picture's size in device pixels for the widget's size and ratio.
  QSize deviceSize() const;
  void compose(QPainter& painter);
  void sendMouse(QMouseEvent* e, MouseAction action);

  QImage picture_;
  QImage decoration_;
  PaintFunction overlay_;
  bool dirty_ = true;
  bool painting_ = false;
};

}  // namespace tav
