// A scripted session never silently skips a step: what a user could not do
// (a greyed menu, a disabled button, a control that is not there, letters in
// a numeric field) is reported, and a session that runs out of steps ends
// instead of waiting for ever.
#include <gtest/gtest.h>

#include "platform/keys.h"
#include "platform/scripted/scripted_platform.h"
#include "recording_sink.h"
#include "shell/command_ids.h"

namespace tav {
namespace {

void runAll(ScriptedPlatform& platform) {
  while (platform.processEvents(true)) {
  }
}

TEST(ScriptedGuards, MainWindowStepsAUserCouldNotTakeAreReported) {
  ScriptedPlatform platform;
  test::Sink sink;
  auto window = platform.createMainWindow(sink);
  window->setMenu({submenu("&File", {menuItem(CMD_NEW, "&New")}),
                   submenu("&View", {menuItem(CMD_ZOOM_ALL, "Zoom &All (F7)", false)})});
  window->createPanel({"3DPANEL", {gridControl(108, ControlKind::CheckBox, "V", 0, 0)}, 0, 0});
  platform.pushMenu(CMD_ZOOM_ALL);  // disabled
  platform.pushAction([&] { window->setTopMenuEnabled(0, false); });
  platform.pushMenu(CMD_NEW);  // File greyed
  platform.pushPanelClick(999);
  // A nested wait (as a command waits for points) ends when the script is dry.
  platform.pushAction([&] { runAll(platform); });
  platform.pushAction([&] { window.reset(); });
  platform.pushKey(KEY_F1);  // no window left
  runAll(platform);
  EXPECT_TRUE(sink.commands.empty());
  EXPECT_EQ(platform.ignoredMenuChoices(), (std::vector<int>{CMD_ZOOM_ALL, CMD_NEW}));
  EXPECT_TRUE(platform.ranDry());
  EXPECT_EQ(platform.problems().size(), 2u) << "the panel click and the key without a window";
}

TEST(ScriptedGuards, DialogAndWindowStepsThatCannotHappenAreProblems) {
  constexpr int ID_NAME = 104, ID_LIST = 108, ID_APPLY = 111, ID_STATUS = 112;
  const DialogTemplate t{"Absorber",
                         {gridControl(ID_NAME, ControlKind::Edit, "", 0, 0, 1, 1, CTL_NUMERIC),
                          gridControl(ID_LIST, ControlKind::ListBox, "", 1, 0),
                          gridControl(ID_STATUS, ControlKind::Label, "", 2, 0),
                          gridControl(ID_APPLY, ControlKind::PushButton, "Apply", 3, 0),
                          gridControl(DLG_OK, ControlKind::DefaultButton, "OK", 3, 1)},
                         0,
                         0};
  struct Handler : DialogHandler {
    std::string text;
    void onInit(DialogControls& c) override {
      c.addItem(ID_LIST, "Concrete");
      c.enable(ID_APPLY, false);
    }
    void onCommand(int id, DialogEventKind, DialogControls& c) override {
      if (id == DLG_OK) {
        text = c.text(ID_NAME);
        c.endDialog(DLG_OK);
      }
    }
  } handler;
  ScriptedPlatform platform;
  platform.scriptDialog(
      "Absorber",
      {DialogStep::click(ID_APPLY), DialogStep::click(999), DialogStep::setText(ID_STATUS, "x"),
       DialogStep::select(ID_LIST, 5), DialogStep::setText(ID_NAME, "2,5m"),
       DialogStep::setText(ID_NAME, "-2,5E1"), DialogStep::enter(), DialogStep::click(DLG_OK)});
  EXPECT_EQ(platform.runDialog(t, handler), DLG_OK);
  EXPECT_EQ(handler.text, "-2,5E1");
  EXPECT_EQ(platform.dialogs()[0].problems.size(), 5u);

  // A dialog the script does not know is closed, not left open.
  EXPECT_EQ(platform.runDialog(t, handler), DLG_CANCEL);

  struct Buttons : ChildWindowHandler {
    int presses = 0;
    void onOpen(ChildWindow& w) override { w.addButton({2, "NEXT", {0, 0, 40, 20}}); }
    void onPaint(Canvas&, ChildWindow&) override {}
    void onButton(int, ChildWindow& w) override { w.enableButton(2, ++presses < 1); }
  } window;
  platform.scriptWindow("Map", {WindowStep::button(2), WindowStep::button(2)});
  ChildWindowSpec spec;
  spec.title = "Map";
  ASSERT_TRUE(platform.runWindow(spec, window));
  EXPECT_EQ(window.presses, 1);
  EXPECT_EQ(platform.windows()[0].problems.size(), 1u);
}

}  // namespace
}  // namespace tav
