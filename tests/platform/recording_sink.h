// A main window's event sink that records what reached it and paints a
// 10 x 10 square of `paintColour` at the corner.
#pragma once

#include <utility>
#include <vector>

#include "platform/main_window.h"

namespace tav::test {

struct Sink : MainWindowEvents {
  std::vector<int> commands;
  std::vector<int> keys;
  std::vector<std::pair<int, DialogEventKind>> panel;
  std::vector<MouseEvent> mouse;
  std::vector<ScrollEvent> scrolls;
  int menuOpenings = 0;
  int closeRequests = 0;
  int paints = 0;
  int paintColour = 23;

  void onCommand(int id) override { commands.push_back(id); }
  void onMenuOpening() override { ++menuOpenings; }
  void onKeyDown(int key, bool) override { keys.push_back(key); }
  void onMouse(const MouseEvent& e) override { mouse.push_back(e); }
  void onScroll(const ScrollEvent& e) override { scrolls.push_back(e); }
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

}  // namespace tav::test
