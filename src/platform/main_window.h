// What the shell needs from the main window: the menu bar built from a menu
// table, the drawing view with scroll bars, overlay and cursor, the prompt
// line, the "OK"/"STOP" command buttons and the modeless 3D panel. Every
// user action arrives at a MainWindowEvents sink.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/canvas.h"
#include "platform/dialog.h"
#include "platform/input_events.h"

namespace tav {

// Command numbers of the two command buttons.
constexpr int CMD_BUTTON_OK = 20998;
constexpr int CMD_BUTTON_STOP = 20999;

enum class MenuEntryKind { Item, Separator, Submenu };

// The desktop's standard key sequences (Ctrl+N, Ctrl+O, ... as the desktop
// defines them) that a menu item answers to.
enum class StandardShortcut { None, New, Open, Save, SaveAs, Print, Undo, Redo, Quit };

// One entry of the menu table. Text uses '&' before the mnemonic letter.
struct MenuEntry {
  MenuEntryKind kind = MenuEntryKind::Item;
  int id = 0;  // items only
  std::string text;
  std::vector<MenuEntry> entries;  // submenus only
  bool enabled = true;
  bool checked = false;
  StandardShortcut shortcut = StandardShortcut::None;
  // A key shown in the menu's shortcut column without being bound by the
  // menu ("F9": the key reaches the main window as any key does).
  std::string keyHint;
};

MenuEntry menuItem(int id, std::string text, bool enabled = true);
MenuEntry menuSeparator();
MenuEntry submenu(std::string text, std::vector<MenuEntry> entries);

// Receives the user's actions. Called on the UI thread from processEvents.
class MainWindowEvents {
 public:
  virtual ~MainWindowEvents() = default;
  // Menu items, the command buttons (CMD_BUTTON_OK/STOP) and posted commands.
  virtual void onCommand(int id) = 0;
  // A menu of the bar is about to open: refresh enabled/checked states.
  virtual void onMenuOpening() {}
  // Key down anywhere in the main window (keys.h codes).
  virtual void onKeyDown(int key, bool ctrl) = 0;
  // Mouse in the drawing view (client pixels of the view).
  virtual void onMouse(const MouseEvent& event) = 0;
  virtual void onMouseLeave() {}
  virtual void onWheel(const WheelEvent& /*event*/) {}
  virtual void onScroll(const ScrollEvent& event) = 0;
  // The drawing view got a new client size.
  virtual void onResize(int width, int height) = 0;
  // The user asked to close the main window; the shell decides.
  virtual void onCloseRequest() = 0;
  // Rebuild the whole picture of the drawing view.
  virtual void onPaint(Canvas& canvas) = 0;
  // Events of the 3D panel's controls.
  virtual void onPanelCommand(int id, DialogEventKind kind, DialogControls& panel) = 0;
};

class MainWindow {
 public:
  virtual ~MainWindow() = default;

  virtual void show() = 0;  // maximised
  virtual void setTitle(std::string_view utf8) = 0;

  // Menu bar.
  virtual void setMenu(const std::vector<MenuEntry>& topMenus) = 0;
  virtual void setMenuItemEnabled(int id, bool on) = 0;
  virtual void setMenuItemChecked(int id, bool on) = 0;
  virtual void setMenuItemText(int id, std::string_view utf8) = 0;
  virtual bool menuItemEnabled(int id) const = 0;
  virtual bool menuItemChecked(int id) const = 0;
  virtual std::string menuItemText(int id) const = 0;
  // A hidden item takes no row in its menu.
  virtual void setMenuItemVisible(int id, bool on) = 0;
  virtual bool menuItemVisible(int id) const = 0;
  // Tooltip and status-bar text of an item (empty: none).
  virtual void setMenuItemTip(int id, std::string_view utf8) = 0;
  virtual std::string menuItemTip(int id) const = 0;
  // Top-level menu by position (0 = first).
  virtual void setTopMenuEnabled(int position, bool on) = 0;
  virtual bool topMenuEnabled(int position) const = 0;

  // Drawing view.
  virtual int viewWidth() const = 0;
  virtual int viewHeight() const = 0;
  // The picture is rebuilt through onPaint soon (not inside this call).
  virtual void requestRepaint() = 0;
  // Draws onto the kept picture at once (incremental drawing).
  virtual void drawOnView(const PaintFunction& paint) = 0;
  // Overlay drawn on top of the picture on every screen update and never
  // merged into it: cross-hair, rubber bands, drag previews. Hiding it
  // leaves the picture unchanged.
  virtual void setOverlay(const PaintFunction& paint) = 0;
  virtual void clearOverlay() = 0;
  virtual void updateOverlay() = 0;          // the overlay's state changed
  virtual RgbImage viewPicture() const = 0;  // picture without overlay
  virtual void setViewCursor(CursorShape shape) = 0;
  virtual void setScrollRange(ScrollAxis axis, int minimum, int maximum) = 0;
  virtual void setScrollPosition(ScrollAxis axis, int position) = 0;
  virtual int scrollPosition(ScrollAxis axis) const = 0;
  // The start-up picture, centred over the view. It stays through the
  // repaints of start-up and goes with the first repaint after the user's
  // first action (key, click, menu command, scrolling).
  virtual void showStartupPicture() = 0;
  // Takes the start-up picture away at once (a project was opened).
  virtual void hideStartupPicture() {}

  // Prompt line: the left of the status bar at the window's foot.
  virtual void setPromptText(std::string_view utf8) = 0;
  virtual std::string promptText() const = 0;
  // "OK" and "STOP" below the view; they send CMD_BUTTON_OK / CMD_BUTTON_STOP.
  virtual void showCommandButtons(bool on) = 0;
  virtual bool commandButtonsShown() const = 0;

  // The modeless 3D panel above the view, built from a template; its events
  // go to MainWindowEvents::onPanelCommand. Returns its controls, or null
  // when it cannot be built. Creating it again replaces it.
  virtual DialogControls* createPanel(const DialogTemplate& panel) = 0;
  virtual DialogControls* panel() = 0;
  virtual void destroyPanel() = 0;

  // Queued: delivered through the sink after the current event returns.
  virtual void postCommand(int id) = 0;
  virtual void postKey(int key) = 0;

  // Closes and destroys the window (no further events); then quit the platform.
  virtual void close() = 0;
};

}  // namespace tav
