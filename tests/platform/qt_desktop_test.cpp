// The Qt main window as a desktop user expects it: standard shortcuts and
// key names in the menus' shortcut column, tooltips, hidden items, the
// prompt in the status bar, command buttons that follow the window's edge,
// the mouse wheel, result windows over the view and the help window.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTextBrowser>
#include <QWheelEvent>

#include "platform/qt/qt_child_window.h"
#include "platform/qt/qt_help_window.h"
#include "platform/qt/qt_main_window.h"
#include "platform/qt/qt_picture_widget.h"
#include "platform/qt/qt_platform.h"
#include "qt_test_app.h"

namespace tav {
namespace {

struct Sink : MainWindowEvents {
  std::vector<WheelEvent> wheels;
  void onCommand(int) override {}
  void onKeyDown(int, bool) override {}
  void onMouse(const MouseEvent&) override {}
  void onWheel(const WheelEvent& e) override { wheels.push_back(e); }
  void onScroll(const ScrollEvent&) override {}
  void onResize(int, int) override {}
  void onCloseRequest() override {}
  void onPaint(Canvas&) override {}
  void onPanelCommand(int, DialogEventKind, DialogControls&) override {}
};

MenuEntry withShortcut(MenuEntry e, StandardShortcut s) {
  e.shortcut = s;
  return e;
}

MenuEntry withHint(MenuEntry e, std::string hint) {
  e.keyHint = std::move(hint);
  return e;
}

TEST(QtDesktop, MenuShortcutsKeyHintsTipsAndHiddenItems) {
  test::qtApp();
  Sink sink;
  QtMainWindow window(sink);
  window.setMenu(
      {submenu("&File", {withShortcut(menuItem(104, "&New"), StandardShortcut::New),
                         withShortcut(menuItem(102, "&Save as..."), StandardShortcut::SaveAs),
                         menuItem(110, "")}),
       submenu("&Options", {withHint(menuItem(511, "Of&f"), "F9")})});
  EXPECT_EQ(window.action(104)->shortcut(), QKeySequence(QKeySequence::New));
  EXPECT_FALSE(window.action(102)->shortcut().isEmpty());
  // The key name stands in the shortcut column (after a tab) and binds nothing:
  // F9 stays a key of the main window.
  EXPECT_EQ(window.action(511)->text(), QStringLiteral("Of&f\tF9"));
  EXPECT_TRUE(window.action(511)->shortcut().isEmpty());
  EXPECT_EQ(window.menuItemText(511), "Of&f");
  window.setMenuItemText(511, "Off");
  EXPECT_EQ(window.action(511)->text(), QStringLiteral("Off\tF9"));

  window.setMenuItemVisible(110, false);
  EXPECT_FALSE(window.action(110)->isVisible());
  EXPECT_FALSE(window.menuItemVisible(110));
  window.setMenuItemTip(104, "Starts an empty project");
  EXPECT_EQ(window.action(104)->statusTip(), QStringLiteral("Starts an empty project"));
  EXPECT_EQ(window.action(104)->toolTip(), QStringLiteral("Starts an empty project"));
  EXPECT_EQ(window.menuItemTip(104), "Starts an empty project");
}

TEST(QtDesktop, PromptInTheStatusBarButtonsFollowTheEdgeWheelReachesTheSink) {
  test::qtApp();
  Sink sink;
  QtMainWindow window(sink);
  window.QMainWindow::show();
  window.resize(800, 600);
  window.setPromptText("MOVE > Basepoint :");
  EXPECT_TRUE(window.statusBar()->isAncestorOf(window.promptLabel()));
  EXPECT_EQ(window.promptLabel()->text(), QStringLiteral("MOVE > Basepoint :"));
  window.showCommandButtons(true);
  auto centreOfButtons = [&] {
    QApplication::processEvents();
    const QPoint ok = window.commandButton(CMD_BUTTON_OK)->mapTo(&window, QPoint(0, 0));
    const QPoint stop = window.commandButton(CMD_BUTTON_STOP)->mapTo(&window, QPoint(40, 0));
    EXPECT_EQ(ok.y(), stop.y());
    return (ok.x() + stop.x()) / 2;
  };
  EXPECT_NEAR(centreOfButtons(), 400, 2);
  window.resize(1000, 600);
  EXPECT_NEAR(centreOfButtons(), 500, 2);

  QWheelEvent wheel(QPointF(30, 40), window.viewWidget()->mapToGlobal(QPointF(30, 40)), QPoint(),
                    QPoint(0, -240), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(window.viewWidget(), &wheel);
  ASSERT_EQ(sink.wheels.size(), 1u);
  EXPECT_EQ(sink.wheels[0].delta, -240);
  EXPECT_EQ(sink.wheels[0].pos, (PixelPoint{30, 40}));
  window.close();
}

struct RecordPlace : ChildWindowHandler {
  QPoint topLeft;
  QSize size;
  void onOpen(ChildWindow& w) override {
    auto& qt = dynamic_cast<QtChildWindow&>(w);
    topLeft = qt.pictureWidget()->mapToGlobal(QPoint(0, 0));
    size = qt.pictureWidget()->size();
    w.close();
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
  spec.title = "RT60";
  spec.width = view->width();
  spec.height = view->height();
  spec.overView = true;
  RecordPlace handler;
  ASSERT_TRUE(platform.runWindow(spec, handler));
  EXPECT_EQ(handler.topLeft, view->mapToGlobal(QPoint(0, 0)));
  EXPECT_EQ(handler.size, view->size());
  main->close();
}

TEST(QtDesktop, HelpOpensTheManualInItsOwnWindowAtTheAnchor) {
  test::qtApp();
  QtPlatform platform;
  const std::string manual = std::string(TAVIRON_SOURCE_DIR) + "/docs/manual.html";
  EXPECT_FALSE(platform.openHelp("/nonexistent/manual.html", "cmd-601"));
  EXPECT_EQ(platform.helpWindow(), nullptr);
  ASSERT_TRUE(platform.openHelp(manual, "index"));
  QtHelpWindow* help = platform.helpWindow();
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(help->isVisible());
  QApplication::processEvents();
  const int top = help->browser()->verticalScrollBar()->value();
  // Zoom in is far down the page: the window scrolls there, by its id.
  ASSERT_TRUE(platform.openHelp(manual, "cmd-601"));
  QApplication::processEvents();
  EXPECT_EQ(platform.helpWindow(), help);  // one window, reused
  EXPECT_EQ(help->currentUrl().fragment(), QStringLiteral("cmd-601"));
  EXPECT_GT(help->browser()->verticalScrollBar()->value(), top + 1000);
  EXPECT_TRUE(help->webBrowserButton()->isVisible());
  help->hide();
}

}  // namespace
}  // namespace tav
