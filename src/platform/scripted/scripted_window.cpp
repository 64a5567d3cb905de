#include "platform/scripted/scripted_window.h"

namespace tav {

WindowStep WindowStep::button(int id) {
  WindowStep s;
  s.kind = WindowStepKind::Button;
  s.id = id;
  return s;
}

WindowStep WindowStep::mouseEvent(const MouseEvent& event) {
  WindowStep s;
  s.kind = WindowStepKind::Mouse;
  s.mouse = event;
  return s;
}

std::vector<WindowStep> WindowStep::click(PixelPoint at, MouseButton button) {
  return {mouseEvent({MouseAction::Move, MouseButton::None, at, false, false}),
          mouseEvent({MouseAction::Press, button, at, false, false}),
          mouseEvent({MouseAction::Release, button, at, false, false})};
}

WindowStep WindowStep::key(int code) {
  WindowStep s;
  s.kind = WindowStepKind::Key;
  s.id = code;
  return s;
}

WindowStep WindowStep::scrollBy(const ScrollEvent& event) {
  WindowStep s;
  s.kind = WindowStepKind::Scroll;
  s.scroll = event;
  return s;
}

WindowStep WindowStep::resize(int width, int height) {
  WindowStep s;
  s.kind = WindowStepKind::Resize;
  s.width = width;
  s.height = height;
  return s;
}

WindowStep WindowStep::close() {
  WindowStep s;
  s.kind = WindowStepKind::Close;
  return s;
}

WindowStep WindowStep::check(std::function<void(ScriptedChildWindow&)> inspect) {
  WindowStep s;
  s.kind = WindowStepKind::Inspect;
  s.inspect = std::move(inspect);
  return s;
}

ScriptedChildWindow::ScriptedChildWindow(const ChildWindowSpec& spec, ChildWindowHandler& handler)
    : handler_(handler),
      title_(spec.title),
      width_(std::max(1, spec.width)),
      height_(std::max(1, spec.height)),
      canvas_(width_, height_) {
  for (const ChildButton& b : spec.buttons) addButton(b);
}

void ScriptedChildWindow::addButton(const ChildButton& button) {
  buttons_[button.id] = button;
  disabled_.erase(button.id);
}

void ScriptedChildWindow::removeButton(int id) {
  buttons_.erase(id);
  disabled_.erase(id);
}

void ScriptedChildWindow::enableButton(int id, bool on) {
  if (buttons_.count(id) != 0) disabled_[id] = !on;
}

bool ScriptedChildWindow::buttonEnabled(int id) const {
  if (buttons_.count(id) == 0) return false;
  auto it = disabled_.find(id);
  return it == disabled_.end() || !it->second;
}

void ScriptedChildWindow::setScrollBar(ScrollAxis, int, int, int) {}

void ScriptedChildWindow::paintIfPending() {
  if (!repaintPending_ || closed_) return;
  repaintPending_ = false;
  canvas_ = ScriptedCanvas(width_, height_);
  ++paintCount_;
  handler_.onPaint(canvas_, *this);
}

void ScriptedChildWindow::drawNow(const PaintFunction& paint) {
  paintIfPending();
  if (paint) paint(canvas_);
}

bool ScriptedChildWindow::copyToClipboard() {
  paintIfPending();
  return clipboardSink ? clipboardSink(canvas_.image()) : false;
}

bool ScriptedChildWindow::print(std::string_view jobTitle) {
  paintIfPending();
  return printSink ? printSink(jobTitle, canvas_.image()) : false;
}

std::vector<std::string> ScriptedChildWindow::run(const WindowScript& script) {
  std::vector<std::string> problems;
  handler_.onOpen(*this);
  paintIfPending();
  for (const WindowStep& step : script) {
    if (closed_) break;
    switch (step.kind) {
      case WindowStepKind::Button:
        if (!buttonEnabled(step.id)) {
          problems.push_back("button " + std::to_string(step.id) + " is absent or disabled");
          break;
        }
        handler_.onButton(step.id, *this);
        break;
      case WindowStepKind::Mouse:
        handler_.onMouse(step.mouse, *this);
        break;
      case WindowStepKind::Key:
        handler_.onKey(step.id, *this);
        break;
      case WindowStepKind::Scroll:
        handler_.onScroll(step.scroll, *this);
        break;
      case WindowStepKind::Resize:
        width_ = std::max(1, step.width);
        height_ = std::max(1, step.height);
        repaintPending_ = true;
        handler_.onResize(width_, height_, *this);
        break;
      case WindowStepKind::Close:
        if (handler_.onClose(*this)) closed_ = true;
        break;
      case WindowStepKind::Inspect:
        if (step.inspect) step.inspect(*this);
        break;
    }
    paintIfPending();
  }
  if (!closed_) {
    if (!handler_.onClose(*this))
      problems.push_back("the script ended while the window refused to close");
    closed_ = true;
  }
  return problems;
}

}  // namespace tav
