// The Qt main window builds its menu bar from a table, keeps menu state,
// hands user actions to the sink and keeps the view picture apart from the
// overlay.
#include "platform/qt/qt_main_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <tuple>

#include "platform/keys.h"
#include "platform/qt/qt_canvas.h"
#include "platform/qt/qt_picture_widget.h"
#include "platform/qt/qt_platform.h"
#include "qt_test_app.h"
#include "shell/command_ids.h"

namespace tav {
namespace {

struct Sink : MainWindowEvents {
  std::vector<int> commands;
  std::vector<int> keys;
  std::vector<std::pair<int, DialogEventKind>> panel;
  std::vector<MouseEvent> mouse;
  int menuOpenings = 0;
  int closeRequests = 0;
  int paints = 0;
  int paintColour = 23;

  void onCommand(int id) override { commands.push_back(id); }
  void onMenuOpening() override { ++menuOpenings; }
  void onKeyDown(int key, bool) override { keys.push_back(key); }
  void onMouse(const MouseEvent& e) override { mouse.push_back(e); }
  void onScroll(const ScrollEvent&) override {}
  void onResize(int, int) override {}
  void onCloseRequest() override { ++closeRequests; }
  void onPaint(Canvas& c) override {
    ++paints;
    c.fillRect({0, 0, 10, 10}, paintColour);
  }
  void onPanelCommand(int id, DialogEventKind kind, DialogControls&) override {
    panel.emplace_back(id, kind);
  }
};

std::vector<MenuEntry> menuTable() {
  return {
      submenu(
          "&File",
          {menuItem(CMD_NEW, "&New"), menuItem(CMD_OPEN, "&Open"), menuSeparator(),
           submenu("Import", {menuItem(CMD_IMPORT_FACES_EASE3, "Import &Room Faces from EASE3.x")}),
           menuItem(CMD_EXIT, "E&xit")}),
      submenu("&View", {menuItem(CMD_WIREFRAME, "&Wireframe (F8)"),
                        menuItem(CMD_HIDDEN_BACKFACES, "&Hidden Backfaces (F8)"),
                        menuItem(CMD_ZOOM_ALL, "Zoom &All (F7)", false)}),
      menuItem(CMD_HELP, "&Help"),
  };
}

TEST(QtMainWindow, MenuTableStateAndCommands) {
  test::qtApp();
  Sink sink;
  QtMainWindow window(sink);
  window.setMenu(menuTable());
  EXPECT_EQ(window.menuBar()->actions().size(), 3);
  EXPECT_EQ(window.menuItemText(CMD_IMPORT_FACES_EASE3), "Import &Room Faces from EASE3.x");
  EXPECT_FALSE(window.menuItemEnabled(CMD_ZOOM_ALL));
  EXPECT_TRUE(window.menuItemEnabled(CMD_NEW));
  EXPECT_FALSE(window.menuItemEnabled(9999));  // unknown ids are harmless

  window.setMenuItemChecked(CMD_WIREFRAME, true);
  window.action(CMD_WIREFRAME)->trigger();
  window.action(CMD_IMPORT_FACES_EASE3)->trigger();
  window.action(CMD_HELP)->trigger();
  EXPECT_EQ(sink.commands, (std::vector<int>{CMD_WIREFRAME, CMD_IMPORT_FACES_EASE3, CMD_HELP}));
  // The check mark follows the model, not the click.
  EXPECT_TRUE(window.menuItemChecked(CMD_WIREFRAME));

  window.setTopMenuEnabled(0, false);
  EXPECT_FALSE(window.topMenuEnabled(0));
  EXPECT_TRUE(window.topMenuEnabled(2));

  Q_EMIT window.menuBar()->actions()[1]->menu()->aboutToShow();
  EXPECT_EQ(sink.menuOpenings, 1);
}

TEST(QtMainWindow, KeysButtonsAndCloseGoToTheSink) {
  test::qtApp();
  Sink sink;
  QtMainWindow window(sink);
  window.resize(800, 600);
  window.QMainWindow::show();
  for (int key : {Qt::Key_F1, Qt::Key_A, Qt::Key_Return, Qt::Key_Left}) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(window.viewWidget(), &press);
  }
  EXPECT_EQ(sink.keys, (std::vector<int>{keyF(1), KEY_A, KEY_RETURN, KEY_LEFT}));

  window.showCommandButtons(true);
  EXPECT_EQ(window.commandButton(CMD_BUTTON_OK)->text(), QStringLiteral("OK"));
  EXPECT_EQ(window.commandButton(CMD_BUTTON_STOP)->text(), QStringLiteral("STOP"));
  EXPECT_EQ(window.commandButton(CMD_BUTTON_OK)->size(), QSize(40, 20));
  window.commandButton(CMD_BUTTON_STOP)->click();
  window.commandButton(CMD_BUTTON_OK)->click();
  EXPECT_EQ(sink.commands, (std::vector<int>{CMD_BUTTON_STOP, CMD_BUTTON_OK}));

  // Closing only asks; the shell decides.
  window.QMainWindow::close();
  EXPECT_EQ(sink.closeRequests, 1);
  EXPECT_TRUE(window.isVisible());

  // Posted commands arrive later, through the event loop.
  window.postCommand(CMD_ROOM_MOVE);
  EXPECT_EQ(sink.commands.size(), 2u);
  QCoreApplication::processEvents();
  EXPECT_EQ(sink.commands.back(), CMD_ROOM_MOVE);

  // After close() no event reaches the sink any more.
  window.close();
  window.postCommand(CMD_ROOM_COPY);
  QCoreApplication::processEvents();
  EXPECT_EQ(sink.commands.back(), CMD_ROOM_MOVE);
  EXPECT_FALSE(window.isVisible());
}

TEST(QtMainWindow, PictureOverlayAndPanel) {
  test::qtApp();
  Sink sink;
  QtMainWindow window(sink);
  window.resize(800, 600);
  window.QMainWindow::show();
  QCoreApplication::processEvents();
  ASSERT_GT(window.viewWidth(), 100);

  const RgbImage first = window.viewPicture();
  EXPECT_EQ(first.pixel(5, 5), paletteColour(23));
  EXPECT_EQ(first.pixel(15, 5), paletteColour(30));
  const int paintsAfterFirst = sink.paints;

  // The overlay shows on screen but never enters the picture.
  window.setOverlay([](Canvas& c) {
    c.setDrawMode(DrawMode::Xor);
    c.setPen(COLOUR_WHITE);
    c.line({0, 5}, {100, 5});
  });
  const QImage screen = window.viewWidget()->composed();
  EXPECT_EQ(QColor(screen.pixel(50, 5)), QColor(0, 0, 0));
  EXPECT_EQ(window.viewPicture().rgb, first.rgb);
  window.clearOverlay();
  EXPECT_EQ(QColor(window.viewWidget()->composed().pixel(50, 5)), QColor(255, 255, 255));
  EXPECT_EQ(sink.paints, paintsAfterFirst);  // no repaint needed for the overlay

  // Incremental drawing stays until the next full repaint.
  window.drawOnView([](Canvas& c) { c.fillRect({20, 20, 4, 4}, 19); });
  EXPECT_EQ(window.viewPicture().pixel(21, 21), paletteColour(19));
  sink.paintColour = 21;
  window.requestRepaint();
  const RgbImage repainted = window.viewPicture();
  EXPECT_EQ(repainted.pixel(21, 21), paletteColour(30));
  EXPECT_EQ(repainted.pixel(5, 5), paletteColour(21));

  // The start-up picture lies over the view through the repaints of
  // start-up, and goes with the first repaint after the user acts.
  window.showStartupPicture();
  const int cx = window.viewWidth() / 2;
  const int cy = window.viewHeight() / 2;
  EXPECT_NE(QColor(window.viewWidget()->composed().pixel(cx, cy)), QColor(255, 255, 255));
  window.requestRepaint();
  EXPECT_NE(QColor(window.viewWidget()->composed().pixel(cx, cy)), QColor(255, 255, 255));
  window.deliverKey(KEY_F1, false);
  EXPECT_NE(QColor(window.viewWidget()->composed().pixel(cx, cy)), QColor(255, 255, 255));
  window.requestRepaint();
  EXPECT_EQ(QColor(window.viewWidget()->composed().pixel(cx, cy)), QColor(255, 255, 255));

  // The 3D panel from a template: events by id, state by id.
  DialogTemplate panel;
  panel.title = "3DPANEL";
  panel.controls = {gridControl(101, ControlKind::RadioButton, "XY", 0, 0, 1, 1, CTL_CHECKED),
                    gridControl(102, ControlKind::RadioButton, "YZ", 0, 1),
                    gridControl(108, ControlKind::CheckBox, "V", 0, 2),
                    gridControl(201, ControlKind::ReadOnlyEdit, "", 0, 3)};
  DialogControls* controls = window.createPanel(panel);
  ASSERT_NE(controls, nullptr);
  EXPECT_EQ(window.panel(), controls);
  controls->setChecked(102, true);
  EXPECT_FALSE(controls->checked(101)) << "radio buttons exclude each other";
  window.panelWidget()->findChild<QCheckBox*>(QStringLiteral("ctl_108"))->click();
  ASSERT_EQ(sink.panel.size(), 1u);
  EXPECT_EQ(sink.panel[0], std::make_pair(108, DialogEventKind::Clicked));
  EXPECT_TRUE(controls->checked(108));
  EXPECT_FALSE(window.windowIcon().isNull());
  window.close();
}

TEST(QtPlatformLoop, ProcessEventsStopsAfterQuit) {
  test::qtApp();
  QtPlatform platform;
  Sink sink;
  std::unique_ptr<MainWindow> window = platform.createMainWindow(sink);
  window->postCommand(CMD_LEVEL_TIME);
  EXPECT_TRUE(platform.processEvents(false));
  EXPECT_EQ(sink.commands, std::vector<int>{CMD_LEVEL_TIME});
  window->postCommand(CMD_LEVEL_TIME);
  platform.quit();
  EXPECT_FALSE(platform.processEvents(true));  // returns at once, does not block
  EXPECT_TRUE(platform.quitting());
  EXPECT_EQ(sink.commands.size(), 1u);
}

struct ScrollSink : Sink {
  std::vector<ScrollEvent> scrolls;
  void onScroll(const ScrollEvent& e) override { scrolls.push_back(e); }
};

TEST(QtMainWindow, ScrollBarsAndMouseReportWhatTheUserDid) {
  test::qtApp();
  ScrollSink sink;
  QtMainWindow window(sink);
  window.resize(800, 600);
  window.QMainWindow::show();
  QCoreApplication::processEvents();
  auto bars = window.findChildren<QScrollBar*>();
  QScrollBar* horizontal = nullptr;
  QScrollBar* vertical = nullptr;
  for (QScrollBar* b : bars) (b->orientation() == Qt::Horizontal ? horizontal : vertical) = b;
  ASSERT_NE(horizontal, nullptr);
  ASSERT_NE(vertical, nullptr);

  horizontal->triggerAction(QAbstractSlider::SliderSingleStepSub);
  horizontal->triggerAction(QAbstractSlider::SliderPageStepAdd);
  vertical->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  vertical->setSliderDown(true);
  vertical->setSliderPosition(-30);
  vertical->setSliderDown(false);  // released: the thumb position is reported
  const std::vector<std::tuple<ScrollAxis, ScrollAction, int>> want = {
      {ScrollAxis::Horizontal, ScrollAction::LineBack, 0},
      {ScrollAxis::Horizontal, ScrollAction::PageForward, 0},
      {ScrollAxis::Vertical, ScrollAction::LineForward, 0},
      {ScrollAxis::Vertical, ScrollAction::Thumb, -30}};
  ASSERT_EQ(sink.scrolls.size(), want.size());
  for (std::size_t i = 0; i < want.size(); ++i) {
    EXPECT_EQ(sink.scrolls[i].axis, std::get<0>(want[i])) << i;
    EXPECT_EQ(sink.scrolls[i].action, std::get<1>(want[i])) << i;
    if (std::get<1>(want[i]) == ScrollAction::Thumb) EXPECT_EQ(sink.scrolls[i].position, -30);
  }

  QMouseEvent move(QEvent::MouseMove, QPointF(120, 80), QPointF(120, 80), Qt::NoButton,
                   Qt::NoButton, Qt::ControlModifier);
  QApplication::sendEvent(window.viewWidget(), &move);
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(121, 81), QPointF(121, 81), Qt::RightButton,
                    Qt::RightButton, Qt::NoModifier);
  QApplication::sendEvent(window.viewWidget(), &press);
  ASSERT_EQ(sink.mouse.size(), 2u);
  EXPECT_EQ(sink.mouse[0].action, MouseAction::Move);
  EXPECT_EQ(sink.mouse[0].pos, (PixelPoint{120, 80}));
  EXPECT_TRUE(sink.mouse[0].ctrl);
  EXPECT_EQ(sink.mouse[1].action, MouseAction::Press);
  EXPECT_EQ(sink.mouse[1].button, MouseButton::Right);
  EXPECT_FALSE(sink.mouse[1].ctrl);
  window.close();
}

}  // namespace
}  // namespace tav
