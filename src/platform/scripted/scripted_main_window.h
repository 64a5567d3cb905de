// The main window for tests: keeps menu state, title, prompt, buttons and
// scroll bars in memory, paints the view into a ScriptedCanvas, and hands
// scripted user actions to the MainWindowEvents sink.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/main_window.h"
#include "platform/scripted/scripted_canvas.h"
#include "platform/scripted/scripted_dialog.h"

namespace tav {

struct MenuItemState {
  std::string text;
  bool enabled = true;
  bool checked = false;
  int topMenu = -1;  // position of the top-level menu that holds it
  bool visible = true;
  std::string tip;
  StandardShortcut shortcut = StandardShortcut::None;
  std::string keyHint;
};

class ScriptedMainWindow : public MainWindow {
 public:
  ScriptedMainWindow(MainWindowEvents& events, int viewWidth, int viewHeight);
  ~ScriptedMainWindow() override {
    if (destroyed) destroyed();
  }
  // Called from the destructor (the platform forgets the window).
  std::function<void()> destroyed;

  void show() override { shown_ = true; }
  void setTitle(std::string_view utf8) override;

  void setMenu(const std::vector<MenuEntry>& topMenus) override;
  void setMenuItemEnabled(int id, bool on) override;
  void setMenuItemChecked(int id, bool on) override;
  void setMenuItemText(int id, std::string_view utf8) override;
  bool menuItemEnabled(int id) const override;
  bool menuItemChecked(int id) const override;
  std::string menuItemText(int id) const override;
  void setMenuItemVisible(int id, bool on) override;
  bool menuItemVisible(int id) const override;
  void setMenuItemTip(int id, std::string_view utf8) override;
  std::string menuItemTip(int id) const override;
  void setTopMenuEnabled(int position, bool on) override;
  bool topMenuEnabled(int position) const override;

  int viewWidth() const override { return width_; }
  int viewHeight() const override { return height_; }
  void requestRepaint() override {
    if (!painting_) repaintPending_ = true;
  }
  void drawOnView(const PaintFunction& paint) override;
  void setOverlay(const PaintFunction& paint) override { overlay_ = paint; }
  void clearOverlay() override { overlay_ = nullptr; }
  void updateOverlay() override {}
  RgbImage viewPicture() const override;
  void setViewCursor(CursorShape shape) override { cursor_ = shape; }
  void setScrollRange(ScrollAxis axis, int minimum, int maximum) override;
  void setScrollPosition(ScrollAxis axis, int position) override;
  int scrollPosition(ScrollAxis axis) const override;
  void showStartupPicture() override { startupShown_ = true; }

  void setPromptText(std::string_view utf8) override;
  std::string promptText() const override { return prompt_; }
  void showCommandButtons(bool on) override { buttons_ = on; }
  bool commandButtonsShown() const override { return buttons_; }

  DialogControls* createPanel(const DialogTemplate& panel) override;
  DialogControls* panel() override { return panel_.get(); }
  void destroyPanel() override { panel_.reset(); }

  void postCommand(int id) override;
  void postKey(int key) override;
  void close() override { closed_ = true; }

  // --- for the platform and tests ---
  MainWindowEvents& events() { return events_; }
  bool closed() const { return closed_; }
  bool shown() const { return shown_; }
  // Rebuilds the picture through onPaint when a repaint is pending (as a
  // screen update would).
  void paintIfPending();
  bool repaintPending() const { return repaintPending_; }
  // Changes the view size and tells the sink.
  void resizeView(int width, int height);
  // The picture's canvas (primitives since the last full repaint plus
  // incremental drawing) and the overlay drawn over a copy of the picture.
  const ScriptedCanvas& picture() const { return picture_; }
  ScriptedCanvas overlayPicture() const;
  int paintCount() const { return paintCount_; }
  CursorShape cursor() const { return cursor_; }
  bool startupShown() const { return startupShown_; }
  const std::string& title() const { return title_; }
  const std::vector<std::string>& titles() const { return titles_; }
  const std::vector<std::string>& prompts() const { return prompts_; }
  bool hasMenuItem(int id) const { return items_.count(id) != 0; }
  const MenuItemState* menuItem(int id) const;
  // The item bound to a standard shortcut (0: none).
  int itemWithShortcut(StandardShortcut shortcut) const;
  const std::vector<MenuEntry>& menu() const { return menu_; }
  ScriptedDialogControls* panelControls() { return panel_.get(); }
  // Posted commands and keys, taken by the platform before the script.
  std::deque<std::function<void()>>& posted() { return posted_; }

 private:
  void collect(const std::vector<MenuEntry>& entries, int topMenu);

  MainWindowEvents& events_;
  int width_;
  int height_;
  ScriptedCanvas picture_;
  PaintFunction overlay_;
  bool repaintPending_ = true;
  bool painting_ = false;
  int paintCount_ = 0;
  bool shown_ = false;
  bool closed_ = false;
  bool startupShown_ = false;
  bool buttons_ = false;
  CursorShape cursor_ = CursorShape::Arrow;
  std::string title_;
  std::vector<std::string> titles_;
  std::string prompt_;
  std::vector<std::string> prompts_;
  std::vector<MenuEntry> menu_;
  std::map<int, MenuItemState> items_;
  std::vector<bool> topEnabled_;
  int scrollMin_[2] = {-50, -50};
  int scrollMax_[2] = {50, 50};
  int scrollPos_[2] = {0, 0};
  std::unique_ptr<ScriptedDialogControls> panel_;
  std::deque<std::function<void()>> posted_;
};

}  // namespace tav
