// Child windows for tests: the handler paints into a ScriptedCanvas and a
// script of user steps (buttons, mouse, keys, scrolling) drives it.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/child_window.h"
#include "platform/scripted/scripted_canvas.h"

namespace tav {

class ScriptedChildWindow;

enum class WindowStepKind { Button, Mouse, Key, Scroll, Resize, Close, Inspect };

struct WindowStep {
  WindowStepKind kind = WindowStepKind::Button;
  int id = 0;  // Button: id; Key: key code
  MouseEvent mouse;
  ScrollEvent scroll;
  int width = 0;
  int height = 0;
  std::function<void(ScriptedChildWindow&)> inspect;

  static WindowStep button(int id);
  static WindowStep mouseEvent(const MouseEvent& event);
  // Move, press and release of a button at a pixel.
  static std::vector<WindowStep> click(PixelPoint at, MouseButton button = MouseButton::Left);
  static WindowStep key(int code);
  static WindowStep scrollBy(const ScrollEvent& event);
  static WindowStep resize(int width, int height);
  static WindowStep close();
  static WindowStep check(std::function<void(ScriptedChildWindow&)> inspect);
};

using WindowScript = std::vector<WindowStep>;

struct ClipboardRecord {
  RgbImage image;
};

class ScriptedChildWindow : public ChildWindow {
 public:
  ScriptedChildWindow(const ChildWindowSpec& spec, ChildWindowHandler& handler);

  int width() const override { return width_; }
  int height() const override { return height_; }
  void setTitle(std::string_view utf8) override { title_ = std::string(utf8); }
  void addButton(const ChildButton& button) override;
  void removeButton(int id) override;
  void enableButton(int id, bool on) override;
  void setScrollBar(ScrollAxis axis, int minimum, int maximum, int position) override;
  void setCursor(CursorShape shape) override { cursor_ = shape; }
  void repaint() override { repaintPending_ = true; }
  void drawNow(const PaintFunction& paint) override;
  RgbImage picture() const override { return canvas_.image(); }
  bool copyToClipboard() override;
  bool print(std::string_view jobTitle) override;
  void close() override { closed_ = true; }

  // Runs onOpen, the script, then a close if the window is still open.
  std::vector<std::string> run(const WindowScript& script);

  const std::string& title() const { return title_; }
  const ScriptedCanvas& canvas() const { return canvas_; }
  const std::map<int, ChildButton>& buttons() const { return buttons_; }
  bool buttonEnabled(int id) const;
  CursorShape cursor() const { return cursor_; }
  int paintCount() const { return paintCount_; }
  bool closed() const { return closed_; }
  // Clipboard and print requests, answered by the owner.
  std::function<bool(const RgbImage&)> clipboardSink;
  std::function<bool(std::string_view, const RgbImage&)> printSink;

 private:
  void paintIfPending();

  ChildWindowHandler& handler_;
  std::string title_;
  int width_;
  int height_;
  ScriptedCanvas canvas_;
  std::map<int, ChildButton> buttons_;
  std::map<int, bool> disabled_;
  CursorShape cursor_ = CursorShape::Arrow;
  bool repaintPending_ = true;
  bool closed_ = false;
  int paintCount_ = 0;
};

}  // namespace tav
