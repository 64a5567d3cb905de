// The main window on Qt: menu bar from the menu table, the 3D panel above
// the drawing view, the view with its scroll bars, the prompt line and the
// "OK"/"STOP" buttons below it.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <map>
#include <memory>
#include <vector>

#include "platform/main_window.h"

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QScrollBar;

namespace tav {

class QtControlSet;
class QtPictureWidget;

class QtMainWindow : public QMainWindow, public MainWindow {
  Q_OBJECT
 public:
  explicit QtMainWindow(MainWindowEvents& events);
  ~QtMainWindow() override;

  void show() override;
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

  int viewWidth() const override;
  int viewHeight() const override;
  void requestRepaint() override;
  void drawOnView(const PaintFunction& paint) override;
  void setOverlay(const PaintFunction& paint) override;
  void clearOverlay() override;
  void updateOverlay() override;
  RgbImage viewPicture() const override;
  void setViewCursor(CursorShape shape) override;
  void setScrollRange(ScrollAxis axis, int minimum, int maximum) override;
  void setScrollPosition(ScrollAxis axis, int position) override;
  int scrollPosition(ScrollAxis axis) const override;
  void showStartupPicture() override;
  void hideStartupPicture() override;

  void setPromptText(std::string_view utf8) override;
  std::string promptText() const override;
  void showCommandButtons(bool on) override;
  bool commandButtonsShown() const override;

  DialogControls* createPanel(const DialogTemplate& panel) override;
  DialogControls* panel() override;
  void destroyPanel() override;

  void postCommand(int id) override;
  void postKey(int key) override;
  void close() override;

  // For tests and the view's image export.
  QtPictureWidget* viewWidget() const { return view_; }
  QAction* action(int id) const;
  QPushButton* commandButton(int id) const;
  QWidget* panelWidget() const { return panel_; }
  QLabel* promptLabel() const { return prompt_; }
  // Delivers a key as if pressed (virtual-key code).
  void deliverKey(int key, bool ctrl);

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  void addEntries(QMenu* menu, const std::vector<MenuEntry>& entries);
  void command(int id);
  QScrollBar* scrollBar(ScrollAxis axis) const;

  MainWindowEvents& events_;
  bool alive_ = true;  // false once closed: no more events
  bool startupShowing_ = false;
  bool userActed_ = false;  // since the start-up picture was shown
  QtPictureWidget* view_ = nullptr;
  QScrollBar* scrollH_ = nullptr;
  QScrollBar* scrollV_ = nullptr;
  QWidget* panelHost_ = nullptr;
  QWidget* panel_ = nullptr;
  QtControlSet* panelControls_ = nullptr;
  QWidget* bottom_ = nullptr;
  QLabel* prompt_ = nullptr;
  QPushButton* okButton_ = nullptr;
  QPushButton* stopButton_ = nullptr;
  std::vector<QMenu*> topMenus_;
  std::map<int, QAction*> actions_;
  std::map<int, QString> keyHints_;  // shown after a tab in the shortcut column
};

}  // namespace tav
