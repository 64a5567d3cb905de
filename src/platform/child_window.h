// Windows with their own painting and push buttons created at run time
// (reverberation graph, map, ray and impulse-response windows, listings).
// The window keeps its last picture; paint requests rebuild it through the
// handler's onPaint. Buttons sit on top of the picture.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/canvas.h"
#include "platform/input_events.h"

namespace tav {

struct ChildButton {
  int id = 0;
  std::string label;
  PixelRect rect;        // client pixels
  bool pressed = false;  // shown held down (the current choice of a group)
};

struct ChildWindowSpec {
  std::string title;
  int width = 640;  // client size in pixels
  int height = 480;
  bool resizable = true;
  bool horizontalScrollBar = false;
  bool verticalScrollBar = false;
  // Placed exactly over the main window's drawing view, with the view's
  // size (result windows that stand in for the model picture).
  bool overView = false;
  std::vector<ChildButton> buttons;
};

// What a handler may do with its window.
class ChildWindow {
 public:
  virtual ~ChildWindow() = default;
  virtual int width() const = 0;  // client size, without scroll bars
  virtual int height() const = 0;
  virtual void setTitle(std::string_view utf8) = 0;
  virtual void addButton(const ChildButton& button) = 0;  // replaces one of the same id
  virtual void removeButton(int id) = 0;
  virtual void enableButton(int id, bool on) = 0;
  virtual void setScrollBar(ScrollAxis axis, int minimum, int maximum, int position) = 0;
  virtual void setCursor(CursorShape shape) = 0;
  // Rebuilds the picture through onPaint (soon, not inside this call).
  virtual void repaint() = 0;
  // Draws over the kept picture now (e.g. an XOR marker) and shows it.
  virtual void drawNow(const PaintFunction& paint) = 0;
  // The current picture (buttons excluded).
  virtual RgbImage picture() const = 0;
  virtual bool copyToClipboard() = 0;
  // Lets the user choose a printer and prints the picture fitted to a page.
  // False when cancelled or failed.
  virtual bool print(std::string_view jobTitle) = 0;
  // Ends runWindow after the current handler call.
  virtual void close() = 0;
};

class ChildWindowHandler {
 public:
  virtual ~ChildWindowHandler() = default;
  virtual void onOpen(ChildWindow&) {}
  virtual void onPaint(Canvas& canvas, ChildWindow& window) = 0;
  virtual void onButton(int /*id*/, ChildWindow&) {}
  virtual void onMouse(const MouseEvent&, ChildWindow&) {}
  virtual void onKey(int /*key*/, ChildWindow&) {}  // keys.h codes
  virtual void onScroll(const ScrollEvent&, ChildWindow&) {}
  virtual void onResize(int /*width*/, int /*height*/, ChildWindow&) {}
  // Close box or Escape. Return true to let the window close.
  virtual bool onClose(ChildWindow&) { return true; }
};

}  // namespace tav
