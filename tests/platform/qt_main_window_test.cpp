// The Qt main window builds its menu bar from a table, keeps menu state,
// hands user actions to the sink, keeps the view picture apart from the
// overlay, places result windows over the view and opens the help window.
#include "platform/qt/qt_main_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTimer>

#include "platform/keys.h"
#include "platform/qt/qt_canvas.h"
#include "platform/qt/qt_child_window.h"
#include "platform/qt/qt_help_window.h"
#include "platform/qt/qt_picture_widget.h"
#include "platform/qt/qt_platform.h"
#include "qt_test_app.h"
#include "recording_sink.h"
#include "shell/command_ids.h"

namespace tav {
namespace {

using test::Sink;

// A main window of 800 x 600, shown.
class QtMainWindowTest : public ::testing::Test {
 protected:
  QtMainWindowTest() {
    window.resize(800, 600);
    window.QMainWindow::show();
    QCoreApplication::processEvents();
  }
  ~QtMainWindowTest() override { window.close(); }
  QColor composedAt(int x, int y) { return QColor(window.viewWidget()->composed().pixel(x, y)); }

  QApplication& app = test::qtApp();  // before any widget
  Sink sink;
  QtMainWindow window{sink};
};

TEST_F(QtMainWindowTest, MenuTableStateShortcutsAndCommands) {
  MenuEntry save = menuItem(CMD_SAVE, "&Save");
  save.shortcut = StandardShortcut::Save;
  MenuEntry off = menuItem(CMD_COORD_SNAP_OFF, "Of&f");
  off.keyHint = "F9";
  window.setMenu({
      submenu("&File", {save, submenu("Import", {menuItem(CMD_IMPORT_FACES_EASE3, "&Room")}), off}),
      submenu("&View", {menuItem(CMD_ZOOM_ALL, "Zoom &All", false)}),
  });
  EXPECT_FALSE(window.menuItemEnabled(CMD_ZOOM_ALL));
  EXPECT_EQ(window.action(CMD_SAVE)->shortcut(), QKeySequence(QKeySequence::Save));
  // F9 stays a key of the main window: shown after the tab, not bound, and
  // kept when the item's text changes.
  EXPECT_TRUE(window.action(CMD_COORD_SNAP_OFF)->shortcut().isEmpty());
  window.setMenuItemText(CMD_COORD_SNAP_OFF, "Off");
  EXPECT_EQ(window.action(CMD_COORD_SNAP_OFF)->text(), QStringLiteral("Off\tF9"));
  window.action(CMD_IMPORT_FACES_EASE3)->trigger();
  EXPECT_EQ(sink.commands, (std::vector<int>{CMD_IMPORT_FACES_EASE3}));
  window.setTopMenuEnabled(0, false);
  EXPECT_FALSE(window.topMenuEnabled(0));
}

TEST_F(QtMainWindowTest, KeysMouseScrollButtonsAndCloseGoToTheSink) {
  QKeyEvent key(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
  QApplication::sendEvent(window.viewWidget(), &key);
  EXPECT_EQ(sink.keys, (std::vector<int>{keyF(1)}));
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(121, 81), QPointF(121, 81), Qt::RightButton,
                    Qt::RightButton, Qt::ControlModifier);
  QApplication::sendEvent(window.viewWidget(), &press);
  ASSERT_EQ(sink.mouse.size(), 1u);
  EXPECT_EQ(sink.mouse[0].pos, (PixelPoint{121, 81}));
  EXPECT_EQ(sink.mouse[0].button, MouseButton::Right);
  EXPECT_TRUE(sink.mouse[0].ctrl);

  QScrollBar* vertical = nullptr;
  for (QScrollBar* b : window.findChildren<QScrollBar*>())
    if (b->orientation() == Qt::Vertical) vertical = b;
  ASSERT_TRUE(vertical);
  vertical->triggerAction(QAbstractSlider::SliderPageStepAdd);
  vertical->setSliderDown(true);
  vertical->setSliderPosition(-30);
  vertical->setSliderDown(false);  // released: the thumb position is reported
  ASSERT_EQ(sink.scrolls.size(), 2u);
  EXPECT_EQ(sink.scrolls[0].axis, ScrollAxis::Vertical);
  EXPECT_EQ(sink.scrolls[0].action, ScrollAction::PageForward);
  EXPECT_EQ(sink.scrolls[1].action, ScrollAction::Thumb);
  EXPECT_EQ(sink.scrolls[1].position, -30);

  window.showCommandButtons(true);
  window.commandButton(CMD_BUTTON_STOP)->click();
  EXPECT_EQ(sink.commands, (std::vector<int>{CMD_BUTTON_STOP}));

  // Closing only asks; the shell decides.
  window.QMainWindow::close();
  EXPECT_EQ(sink.closeRequests, 1);
  EXPECT_TRUE(window.isVisible());
  // After close() no posted command reaches the sink any more.
  window.close();
  window.postCommand(CMD_ROOM_COPY);
  QCoreApplication::processEvents();
  EXPECT_EQ(sink.commands.size(), 1u);
}

TEST_F(QtMainWindowTest, PictureOverlayStartupPictureAndPanel) {
  ASSERT_GT(window.viewWidth(), 100);
  const RgbImage first = window.viewPicture();
  EXPECT_EQ(first.pixel(5, 5), paletteColour(23));

  // The overlay shows on screen but never enters the picture.
  window.setOverlay([](Canvas& c) {
    c.setDrawMode(DrawMode::Xor);
    c.setPen(COLOUR_WHITE);
    c.line({0, 5}, {100, 5});
  });
  EXPECT_EQ(composedAt(50, 5), QColor(0, 0, 0));
  EXPECT_EQ(window.viewPicture().rgb, first.rgb);
  window.clearOverlay();
  EXPECT_EQ(composedAt(50, 5), QColor(255, 255, 255));

  // The start-up picture lies over the view through the repaints of
  // start-up, and goes with the first repaint after the user acts.
  window.showStartupPicture();
  const int cx = window.viewWidth() / 2;
  const int cy = window.viewHeight() / 2;
  window.requestRepaint();
  window.deliverKey(KEY_F1, false);
  EXPECT_NE(composedAt(cx, cy), QColor(255, 255, 255));
  window.requestRepaint();
  EXPECT_EQ(composedAt(cx, cy), QColor(255, 255, 255));

  // The 3D panel from a template: events by id, state by id.
  DialogTemplate panel;
  panel.title = "3DPANEL";
  panel.controls = {gridControl(101, ControlKind::RadioButton, "XY", 0, 0, 1, 1, CTL_CHECKED),
                    gridControl(108, ControlKind::CheckBox, "V", 0, 1)};
  DialogControls* controls = window.createPanel(panel);
  ASSERT_NE(controls, nullptr);
  window.panelWidget()->findChild<QCheckBox*>(QStringLiteral("ctl_108"))->click();
  EXPECT_EQ(sink.panel, (std::vector{std::make_pair(108, DialogEventKind::Clicked)}));
  EXPECT_TRUE(controls->checked(108));
}

// Records where the window's picture lies once shown and laid out.
struct RecordPlace : ChildWindowHandler {
  QRect place;
  void onOpen(ChildWindow& w) override {
    QTimer::singleShot(0, [this, &w] {
      QWidget* picture = dynamic_cast<QtChildWindow&>(w).pictureWidget();
      place = QRect(picture->mapToGlobal(QPoint(0, 0)), picture->size());
      w.close();
    });
  }
  void onPaint(Canvas&, ChildWindow&) override {}
};

TEST(QtDesktop, AResultWindowCoversTheViewHelpHasItsWindowTheLoopStopsAfterQuit) {
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

  const std::string manual = std::string(TAVIRON_SOURCE_DIR) + "/docs/manual.html";
  EXPECT_FALSE(platform.openHelp("/nonexistent/manual.html", "cmd-601"));
  ASSERT_TRUE(platform.openHelp(manual, ""));
  QtHelpWindow* help = platform.helpWindow();
  ASSERT_NE(help, nullptr);
  QApplication::processEvents();
  // Zoom in is far down the page: the window scrolls there, by its id.
  const int top = help->browser()->verticalScrollBar()->value();
  ASSERT_TRUE(platform.openHelp(manual, "cmd-601"));
  QApplication::processEvents();
  EXPECT_EQ(platform.helpWindow(), help);  // one window, reused
  EXPECT_GT(help->browser()->verticalScrollBar()->value(), top + 1000);
  help->hide();

  main->postCommand(CMD_LEVEL_TIME);
  EXPECT_TRUE(platform.processEvents(false));
  EXPECT_EQ(sink.commands, std::vector<int>{CMD_LEVEL_TIME});
  main->postCommand(CMD_LEVEL_TIME);
  platform.quit();
  EXPECT_FALSE(platform.processEvents(true));  // returns at once, does not block
  EXPECT_EQ(sink.commands.size(), 1u);
  main->close();
}

}  // namespace
}  // namespace tav
