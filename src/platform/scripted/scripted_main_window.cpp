#include "platform/scripted/scripted_main_window.h"

#include <algorithm>

namespace tav {

ScriptedMainWindow::ScriptedMainWindow(MainWindowEvents& events, int viewWidth, int viewHeight)
    : events_(events),
      width_(std::max(1, viewWidth)),
      height_(std::max(1, viewHeight)),
      picture_(width_, height_) {}

void ScriptedMainWindow::setTitle(std::string_view utf8) {
  title_ = std::string(utf8);
  titles_.push_back(title_);
}

void ScriptedMainWindow::collect(const std::vector<MenuEntry>& entries, int topMenu) {
  for (const MenuEntry& e : entries) {
    if (e.kind == MenuEntryKind::Submenu) {
      collect(e.entries, topMenu);
    } else if (e.kind == MenuEntryKind::Item) {
      items_[e.id] = {e.text, e.enabled, e.checked, topMenu, true, {}, e.shortcut, e.keyHint};
    }
  }
}

void ScriptedMainWindow::setMenu(const std::vector<MenuEntry>& topMenus) {
  menu_ = topMenus;
  items_.clear();
  topEnabled_.assign(topMenus.size(), true);
  for (std::size_t i = 0; i < topMenus.size(); ++i) {
    const MenuEntry& top = topMenus[i];
    if (top.kind == MenuEntryKind::Item) {
      items_[top.id] = {top.text, top.enabled, top.checked,  static_cast<int>(i),
                        true,     {},          top.shortcut, top.keyHint};
    } else {
      collect(top.entries, static_cast<int>(i));
    }
  }
}

void ScriptedMainWindow::setMenuItemEnabled(int id, bool on) {
  auto it = items_.find(id);
  if (it != items_.end()) it->second.enabled = on;
}

void ScriptedMainWindow::setMenuItemChecked(int id, bool on) {
  auto it = items_.find(id);
  if (it != items_.end()) it->second.checked = on;
}

void ScriptedMainWindow::setMenuItemText(int id, std::string_view utf8) {
  auto it = items_.find(id);
  if (it != items_.end()) it->second.text = std::string(utf8);
}

bool ScriptedMainWindow::menuItemEnabled(int id) const {
  auto it = items_.find(id);
  return it != items_.end() && it->second.enabled;
}

bool ScriptedMainWindow::menuItemChecked(int id) const {
  auto it = items_.find(id);
  return it != items_.end() && it->second.checked;
}

std::string ScriptedMainWindow::menuItemText(int id) const {
  auto it = items_.find(id);
  return it != items_.end() ? it->second.text : std::string();
}

void ScriptedMainWindow::setMenuItemVisible(int id, bool on) {
  auto it = items_.find(id);
  if (it != items_.end()) it->second.visible = on;
}

bool ScriptedMainWindow::menuItemVisible(int id) const {
  auto it = items_.find(id);
  return it != items_.end() && it->second.visible;
}

void ScriptedMainWindow::setMenuItemTip(int id, std::string_view utf8) {
  auto it = items_.find(id);
  if (it != items_.end()) it->second.tip = std::string(utf8);
}

std::string ScriptedMainWindow::menuItemTip(int id) const {
  auto it = items_.find(id);
  return it != items_.end() ? it->second.tip : std::string();
}

int ScriptedMainWindow::itemWithShortcut(StandardShortcut shortcut) const {
  if (shortcut == StandardShortcut::None) return 0;
  for (const auto& [id, item] : items_)
    if (item.shortcut == shortcut) return id;
  return 0;
}

const MenuItemState* ScriptedMainWindow::menuItem(int id) const {
  auto it = items_.find(id);
  return it != items_.end() ? &it->second : nullptr;
}

void ScriptedMainWindow::setTopMenuEnabled(int position, bool on) {
  if (position >= 0 && position < static_cast<int>(topEnabled_.size())) {
    topEnabled_[static_cast<std::size_t>(position)] = on;
  }
}

bool ScriptedMainWindow::topMenuEnabled(int position) const {
  return position >= 0 && position < static_cast<int>(topEnabled_.size()) &&
         topEnabled_[static_cast<std::size_t>(position)];
}

void ScriptedMainWindow::paintIfPending() {
  if (!repaintPending_ || closed_) return;
  repaintPending_ = false;
  picture_ = ScriptedCanvas(width_, height_);
  ++paintCount_;
  painting_ = true;
  events_.onPaint(picture_);
  painting_ = false;
}

void ScriptedMainWindow::drawOnView(const PaintFunction& paint) {
  paintIfPending();
  if (paint) paint(picture_);
}

RgbImage ScriptedMainWindow::viewPicture() const { return picture_.image(); }

ScriptedCanvas ScriptedMainWindow::overlayPicture() const {
  ScriptedCanvas canvas(width_, height_);
  canvas.setImage(picture_.image());
  if (overlay_) overlay_(canvas);
  return canvas;
}

void ScriptedMainWindow::resizeView(int width, int height) {
  width_ = std::max(1, width);
  height_ = std::max(1, height);
  repaintPending_ = true;
  events_.onResize(width_, height_);
}

void ScriptedMainWindow::setScrollRange(ScrollAxis axis, int minimum, int maximum) {
  const int a = axis == ScrollAxis::Horizontal ? 0 : 1;
  scrollMin_[a] = minimum;
  scrollMax_[a] = std::max(minimum, maximum);
  scrollPos_[a] = std::clamp(scrollPos_[a], scrollMin_[a], scrollMax_[a]);
}

void ScriptedMainWindow::setScrollPosition(ScrollAxis axis, int position) {
  const int a = axis == ScrollAxis::Horizontal ? 0 : 1;
  scrollPos_[a] = std::clamp(position, scrollMin_[a], scrollMax_[a]);
}

int ScriptedMainWindow::scrollPosition(ScrollAxis axis) const {
  return scrollPos_[axis == ScrollAxis::Horizontal ? 0 : 1];
}

void ScriptedMainWindow::setPromptText(std::string_view utf8) {
  prompt_ = std::string(utf8);
  prompts_.push_back(prompt_);
}

DialogControls* ScriptedMainWindow::createPanel(const DialogTemplate& panel) {
  panel_.reset();
  if (!checkDialogTemplate(panel).empty()) return nullptr;
  panel_ = std::make_unique<ScriptedDialogControls>(panel);
  return panel_.get();
}

void ScriptedMainWindow::postCommand(int id) {
  posted_.push_back([this, id] {
    if (!closed_) events_.onCommand(id);
  });
}

void ScriptedMainWindow::postKey(int key) {
  posted_.push_back([this, key] {
    if (!closed_) events_.onKeyDown(key, false);
  });
}

}  // namespace tav
