// The Qt side of the desktop conventions: standard shortcuts and key names
// in the menus, result windows over the drawing view, the help window.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTimer>

#include "platform/qt/qt_child_window.h"
#include "platform/qt/qt_help_window.h"
#include "platform/qt/qt_main_window.h"
#include "platform/qt/qt_picture_widget.h"
#include "platform/qt/qt_platform.h"
#include "qt_test_app.h"
#include "shell/command_ids.h"

namespace tav {
namespace {

struct Sink : MainWindowEvents {
  void onCommand(int) override {}
  void onKeyDown(int, bool) override {}
  void onMouse(const MouseEvent&) override {}
  void onScroll(const ScrollEvent&) override {}
  void onResize(int, int) override {}
  void onCloseRequest() override {}
  void onPaint(Canvas&) override {}
  void onPanelCommand(int, DialogEventKind, DialogControls&) override {}
};

TEST(QtDesktop, MenuItemsBindStandardKeysAndShowKeyNamesWithoutBindingThem) {
  test::qtApp();
  Sink sink;
  QtMainWindow window(sink);
  MenuEntry save = menuItem(CMD_SAVE, "&Save");
  save.shortcut = StandardShortcut::Save;
  MenuEntry off = menuItem(CMD_COORD_SNAP_OFF, "Of&f");
  off.keyHint = "F9";
  window.setMenu({submenu("&File", {save, off})});
  EXPECT_EQ(window.action(106)->shortcut(), QKeySequence(QKeySequence::Save));
  // F9 stays a key of the main window: shown after the tab, not bound.
  EXPECT_EQ(window.action(511)->text(), QStringLiteral("Of&f\tF9"));
  EXPECT_TRUE(window.action(511)->shortcut().isEmpty());
  window.setMenuItemText(511, "Off");
  EXPECT_EQ(window.menuItemText(CMD_COORD_SNAP_OFF), "Off");
  EXPECT_EQ(window.action(511)->text(), QStringLiteral("Off\tF9"));
}

struct RecordPlace : ChildWindowHandler {
  QRect place;
  void onOpen(ChildWindow& w) override {
    // Once shown and laid out.
    QTimer::singleShot(0, [this, &w] {
      QWidget* picture = dynamic_cast<QtChildWindow&>(w).pictureWidget();
      place = QRect(picture->mapToGlobal(QPoint(0, 0)), picture->size());
      w.close();
    });
  }
  void onPaint(Canvas&, ChildWindow&) override {}
};

TEST(QtDesktop, AResultWindowCoversTheDrawingViewExactly) {
  test::qtApp();
  QtPlatform platform;
  Sink sink;
  std::unique_ptr<MainWindow> main = platform.createMainWindow(sink);
  auto& window = dynamic_cast<QtMainWindow&>(*main);
  window.QMainWindow::show();
  window.resize(900, 700);
  QApplication::processEvents();
  QWidget* view = window.viewWidget();
  ChildWindowSpec spec;
  spec.width = view->width();
  spec.height = view->height();
  spec.overView = true;
  RecordPlace handler;
  ASSERT_TRUE(platform.runWindow(spec, handler));
  EXPECT_EQ(handler.place, QRect(view->mapToGlobal(QPoint(0, 0)), view->size()));
  main->close();
}

TEST(QtDesktop, HelpOpensTheManualInItsOwnWindowAtTheAnchor) {
  test::qtApp();
  QtPlatform platform;
  const std::string manual = std::string(TAVIRON_SOURCE_DIR) + "/docs/manual.html";
  EXPECT_FALSE(platform.openHelp("/nonexistent/manual.html", "cmd-601"));
  ASSERT_TRUE(platform.openHelp(manual, ""));
  QtHelpWindow* help = platform.helpWindow();
  ASSERT_NE(help, nullptr);
  QApplication::processEvents();
  const int top = help->browser()->verticalScrollBar()->value();
  // Zoom in is far down the page: the window scrolls there, by its id.
  ASSERT_TRUE(platform.openHelp(manual, "cmd-601"));
  QApplication::processEvents();
  EXPECT_EQ(platform.helpWindow(), help);  // one window, reused
  EXPECT_TRUE(help->isVisible());
  EXPECT_EQ(help->currentUrl().fragment(), QStringLiteral("cmd-601"));
  EXPECT_GT(help->browser()->verticalScrollBar()->value(), top + 1000);
  help->hide();
}

}  // namespace
}  // namespace tav
