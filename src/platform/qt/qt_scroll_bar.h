// Scroll-bar actions as ScrollEvents.
#pragma once

#include <functional>

#include "platform/input_events.h"

class QScrollBar;

namespace tav {

// Line and page actions are reported as they happen, the thumb where it is
// released (with its position).
void connectScrollBar(QScrollBar* bar, ScrollAxis axis,
                      std::function<void(const ScrollEvent&)> sink);

}  // namespace tav
