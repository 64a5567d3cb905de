#include "platform/qt/qt_scroll_bar.h"

#include <QScrollBar>

namespace tav {

namespace {

ScrollAction toScrollAction(int action, bool* known) {
  *known = true;
  switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
      return ScrollAction::LineBack;
    case QAbstractSlider::SliderSingleStepAdd:
      return ScrollAction::LineForward;
    case QAbstractSlider::SliderPageStepSub:
      return ScrollAction::PageBack;
    case QAbstractSlider::SliderPageStepAdd:
      return ScrollAction::PageForward;
    default:
      *known = false;
      return ScrollAction::Thumb;
  }
}

}  // namespace

void connectScrollBar(QScrollBar* bar, ScrollAxis axis,
                      std::function<void(const ScrollEvent&)> sink) {
  QObject::connect(bar, &QScrollBar::actionTriggered, bar, [bar, axis, sink](int action) {
    bool known = false;
    const ScrollAction a = toScrollAction(action, &known);
    if (known) sink({axis, a, bar->sliderPosition()});
  });
  QObject::connect(bar, &QScrollBar::sliderReleased, bar, [bar, axis, sink] {
    sink({axis, ScrollAction::Thumb, bar->sliderPosition()});
  });
}

}  // namespace tav
