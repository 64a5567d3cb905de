#include "platform/qt/qt_child_window.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPushButton>

#include "platform/keys.h"
#include "platform/qt/qt_picture_widget.h"
#include "platform/qt/qt_platform.h"
#include "qt_test_app.h"

namespace tav {
namespace {

constexpr int BTN_NEXT = 7;
constexpr int BTN_COPY = 8;

struct GraphHandler : ChildWindowHandler {
  int band = 0;
  std::vector<int> keys;
  int closeRequests = 0;
  bool copied = false;

  void onOpen(ChildWindow& w) override { w.addButton({BTN_COPY, "COPY", {60, 4, 50, 20}}); }
  void onPaint(Canvas& c, ChildWindow&) override { c.fillRect({0, 30, 10 + 20 * band, 10}, 44); }
  void onButton(int id, ChildWindow& w) override {
    if (id == BTN_NEXT) {
      ++band;
      w.repaint();
      if (band == 2) w.enableButton(BTN_NEXT, false);
    }
    if (id == BTN_COPY) copied = w.copyToClipboard();
  }
  void onKey(int key, ChildWindow&) override { keys.push_back(key); }
  bool onClose(ChildWindow&) override {
    ++closeRequests;
    return true;
  }
};

TEST(QtChildWindowHost, ButtonsRepaintKeysAndClose) {
  test::qtApp();
  QtPlatform platform;
  GraphHandler handler;
  ChildWindowSpec spec;
  spec.width = 320;
  spec.height = 200;
  spec.buttons = {{BTN_NEXT, "NEXT", {4, 4, 50, 20}}};
  RgbImage picture;
  bool nextEnabledAfterTwo = true;
  test::whenModalShown([&](QWidget* w) {
    auto* window = dynamic_cast<QtChildWindow*>(w);
    ASSERT_NE(window, nullptr);
    window->button(BTN_NEXT)->click();
    window->button(BTN_NEXT)->click();
    nextEnabledAfterTwo = window->button(BTN_NEXT)->isEnabled();
    window->button(BTN_COPY)->click();
    picture = window->picture();
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(window, &down);
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(window, &esc);
  });
  ASSERT_TRUE(platform.runWindow(spec, handler));
  EXPECT_FALSE(nextEnabledAfterTwo);
  // The picture shows the state after the second NEXT: a bar 50 pixels long.
  EXPECT_EQ(picture.pixel(49, 35), paletteColour(44));
  EXPECT_EQ(picture.pixel(50, 35), paletteColour(30));
  EXPECT_EQ(handler.keys, std::vector<int>{KEY_DOWN});
  EXPECT_EQ(handler.closeRequests, 1);
  EXPECT_TRUE(handler.copied);
  EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(320, 200));

  // A window without a size cannot be shown.
  ChildWindowSpec empty;
  empty.width = 0;
  EXPECT_FALSE(platform.runWindow(empty, handler));
}

TEST(QtChildWindowHost, ClosingInOpenSkipsTheLoop) {
  test::qtApp();
  struct Quick : ChildWindowHandler {
    void onOpen(ChildWindow& w) override { w.close(); }
    void onPaint(Canvas&, ChildWindow&) override {}
  } handler;
  QtPlatform platform;
  ChildWindowSpec spec;
  EXPECT_TRUE(platform.runWindow(spec, handler));
}

}  // namespace
}  // namespace tav
