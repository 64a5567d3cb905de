// Mouse, scroll and cursor types shared by the main window and child windows.
#pragma once

#include "platform/canvas.h"

namespace tav {

enum class MouseButton { None, Left, Right, Middle };
enum class MouseAction { Move, Press, Release, DoubleClick };

struct MouseEvent {
  MouseAction action = MouseAction::Move;
  MouseButton button = MouseButton::None;
  PixelPoint pos;  // client pixels
  bool ctrl = false;
  bool shift = false;
};

// A turn of the mouse wheel over the drawing view. delta is in eighths of a
// degree as most wheels report it: +120 is one notch away from the user.
struct WheelEvent {
  PixelPoint pos;  // client pixels
  int delta = 0;
};

enum class ScrollAxis { Horizontal, Vertical };

// Line/Page Back = left or up, Forward = right or down. Thumb carries the
// position where the user released the thumb.
enum class ScrollAction { LineBack, LineForward, PageBack, PageForward, Thumb };

struct ScrollEvent {
  ScrollAxis axis = ScrollAxis::Horizontal;
  ScrollAction action = ScrollAction::LineBack;
  int position = 0;  // Thumb only
};

// Hidden: no system cursor (the view draws its own cross-hair).
enum class CursorShape { Arrow, Cross, Hidden, Wait };

}  // namespace tav
