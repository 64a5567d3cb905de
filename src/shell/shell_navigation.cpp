// Navigation beside the described keys: the mouse wheel zooms about the
// pointer and a middle-button drag pans, in the parallel views; afterwards
// the cross-hair's point and the coordinate fields follow the new view.
#include "shell/shell.h"
#include "view/view_zoom.h"

namespace tav {

void Shell::onWheel(const WheelEvent& event) {
  if (event.delta == 0) return;
  mousePixel_ = event.pos;
  if (!zoomAtPixel(view_, event.pos.x, event.pos.y, wheelZoomFactor(event.delta))) return;
  redrawAll();
  retrackCursor();
}

bool Shell::panWithMiddleButton(const MouseEvent& event) {
  switch (event.action) {
    case MouseAction::Press:
    case MouseAction::DoubleClick:
      if (event.button != MouseButton::Middle) return false;
      panning_ = true;
      panFrom_ = event.pos;
      return true;
    case MouseAction::Release:
      if (event.button != MouseButton::Middle || !panning_) return false;
      panning_ = false;
      return true;
    case MouseAction::Move:
      if (!panning_) return false;
      if (panByPixels(view_, event.pos.x - panFrom_.x, event.pos.y - panFrom_.y)) redrawAll();
      panFrom_ = event.pos;
      mousePixel_ = event.pos;
      retrackCursor();
      return true;
  }
  return false;
}

void Shell::retrackCursor() {
  if (!input_.cursorInView || !canDraw()) return;
  trackMouse(mousePixel_);
}

}  // namespace tav
