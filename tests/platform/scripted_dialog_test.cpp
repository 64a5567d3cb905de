// Scripted dialogs run the same handler as the Qt host; steps are what a
// user can do, and what a user could not do is reported, not performed.
#include <gtest/gtest.h>

#include "model/number_text.h"
#include "platform/scripted/scripted_platform.h"

namespace tav {
namespace {

constexpr int ID_NAME = 104;
constexpr int ID_CHECK = 105;
constexpr int ID_RADIO_A = 106;
constexpr int ID_RADIO_B = 107;
constexpr int ID_LIST = 108;
constexpr int ID_APPLY = 111;
constexpr int ID_STATUS = 112;
constexpr int ID_GRAPH = 120;

DialogTemplate absorberDialog() {
  DialogTemplate t;
  t.title = "Absorber";
  t.controls = {
      gridControl(ID_NAME, ControlKind::Edit, "", 0, 1, 1, 2, CTL_UPPERCASE),
      gridControl(ID_CHECK, ControlKind::CheckBox, "Protected", 1, 0),
      gridControl(ID_RADIO_A, ControlKind::RadioButton, "Sabine", 2, 0, 1, 1, CTL_CHECKED),
      gridControl(ID_RADIO_B, ControlKind::RadioButton, "Eyring", 2, 1),
      gridControl(ID_LIST, ControlKind::ListBox, "", 3, 0),
      gridControl(ID_STATUS, ControlKind::Label, "", 4, 0),
      gridControl(ID_GRAPH, ControlKind::PaintArea, "", 5, 0),
      gridControl(ID_APPLY, ControlKind::PushButton, "Apply", 6, 0),
      gridControl(DLG_OK, ControlKind::DefaultButton, "OK", 6, 1),
  };
  t.controls[0].maxLength = 8;
  t.controls[6].minWidth = 50;
  t.controls[6].minHeight = 20;
  return t;
}

struct Handler : DialogHandler {
  std::vector<std::pair<int, DialogEventKind>> events;
  std::string nameAtOk;
  int listAtOk = -2;
  int paints = 0;
  bool refuseClose = false;

  void onInit(DialogControls& c) override {
    c.addItem(ID_LIST, "Concrete");
    c.addItem(ID_LIST, "Carpet");
    c.enable(ID_APPLY, false);
  }
  void onCommand(int id, DialogEventKind kind, DialogControls& c) override {
    events.emplace_back(id, kind);
    if (id == ID_CHECK) c.enable(ID_APPLY, c.checked(ID_CHECK));
    if (id == ID_APPLY) {
      c.setText(ID_STATUS, "applied " + c.text(ID_LIST));
      c.repaint(ID_GRAPH);
    }
    if (id == DLG_OK) {
      nameAtOk = c.text(ID_NAME);
      listAtOk = c.selection(ID_LIST);
      c.endDialog(DLG_OK);
    }
  }
  bool onClose(DialogControls&) override { return !refuseClose; }
  void onPaint(int id, Canvas& canvas) override {
    ++paints;
    if (id == ID_GRAPH) canvas.fillRect({0, 0, 10 * paints, 5}, 44);
  }
};

TEST(ScriptedDialog, StepsDriveTheHandlerLikeAUser) {
  ScriptedPlatform platform;
  int inspected = 0;
  platform.scriptDialog("Absorber",
                        {DialogStep::click(ID_APPLY),  // still disabled: a problem
                         DialogStep::setText(ID_NAME, "felt pad x"), DialogStep::select(ID_LIST, 1),
                         DialogStep::check(ID_CHECK),
                         DialogStep::check(ID_CHECK),  // already checked: no click
                         DialogStep::click(ID_APPLY), DialogStep::click(ID_RADIO_B),
                         DialogStep::check([&inspected](DialogControls& c) {
                           ++inspected;
                           EXPECT_EQ(c.text(ID_STATUS), "applied Carpet");
                           EXPECT_FALSE(c.checked(ID_RADIO_A));
                           EXPECT_TRUE(c.checked(ID_RADIO_B));
                         }),
                         DialogStep::enter(), DialogStep::click(ID_CHECK)});
  Handler handler;
  EXPECT_EQ(runDialogOrReport(platform, absorberDialog(), handler), DLG_OK);
  EXPECT_EQ(inspected, 1);
  EXPECT_EQ(handler.nameAtOk, "FELT PAD");  // upper case, 8 characters
  EXPECT_EQ(handler.listAtOk, 1);
  // Steps after the end are not performed.
  const std::vector<std::pair<int, DialogEventKind>> want = {
      {ID_NAME, DialogEventKind::Changed},
      {ID_NAME, DialogEventKind::FocusLost},
      {ID_LIST, DialogEventKind::SelectionChanged},
      {ID_CHECK, DialogEventKind::Clicked},
      {ID_APPLY, DialogEventKind::Clicked},
      {ID_RADIO_B, DialogEventKind::Clicked},
      {DLG_OK, DialogEventKind::Clicked}};
  EXPECT_EQ(handler.events, want);
  ASSERT_EQ(platform.dialogs().size(), 1u);
  const DialogRecord& record = platform.dialogs()[0];
  EXPECT_EQ(record.result, DLG_OK);
  ASSERT_EQ(record.problems.size(), 1u);
  EXPECT_NE(record.problems[0].find("111"), std::string::npos);
  EXPECT_EQ(record.finalState.at(ID_STATUS).text, "applied Carpet");
  EXPECT_EQ(platform.problems().size(), 1u);
  // The paint area was painted at the start and after Apply.
  EXPECT_EQ(handler.paints, 2);
}

TEST(ScriptedDialog, UnscriptedDialogsCloseAndRefusalsAreReported) {
  ScriptedPlatform platform;
  Handler handler;
  EXPECT_EQ(platform.runDialog(absorberDialog(), handler), DLG_CANCEL);
  EXPECT_TRUE(platform.dialogs()[0].problems.empty());

  handler.refuseClose = true;
  platform.scriptDialog("Absorber", {DialogStep::close()});
  EXPECT_EQ(platform.runDialog(absorberDialog(), handler), DLG_CANCEL);
  EXPECT_FALSE(platform.dialogs()[1].problems.empty());

  // Bad steps: unknown control, text into a label, entry out of range.
  handler.refuseClose = false;
  platform.scriptDialog("Absorber", {DialogStep::click(999), DialogStep::setText(ID_STATUS, "x"),
                                     DialogStep::select(ID_LIST, 5), DialogStep::close()});
  EXPECT_EQ(platform.runDialog(absorberDialog(), handler), DLG_CANCEL);
  EXPECT_EQ(platform.dialogs()[2].problems.size(), 3u);
}

TEST(ScriptedDialog, DialogsThatCannotBeShownAreReported) {
  ScriptedPlatform platform;
  Handler handler;
  platform.failDialog("Absorber");
  EXPECT_EQ(runDialogOrReport(platform, absorberDialog(), handler), DLG_CANCEL);
  ASSERT_EQ(platform.messages().size(), 1u);
  EXPECT_EQ(platform.messages()[0].text, "Unable to display dialog");
  EXPECT_EQ(platform.messages()[0].caption, "System Error");
  EXPECT_EQ(platform.messages()[0].icon, MessageIcon::Stop);
  EXPECT_TRUE(handler.events.empty());
  // Only once: the next run shows the dialog.
  platform.scriptDialog("Absorber", {DialogStep::enter()});
  EXPECT_EQ(runDialogOrReport(platform, absorberDialog(), handler), DLG_OK);

  DialogTemplate broken = absorberDialog();
  broken.controls[1].id = ID_NAME;
  EXPECT_FALSE(platform.runDialog(broken, handler));
}

TEST(ScriptedDialogControls, ListsCombosAndScrollBarsKeepConsistentState) {
  DialogTemplate t{"x",
                   {gridControl(1, ControlKind::ComboBox, "", 0, 0),
                    gridControl(2, ControlKind::ScrollBar, "", 1, 0),
                    gridControl(3, ControlKind::ListBox, "", 2, 0)},
                   0,
                   0};
  ScriptedDialogControls c(t);
  EXPECT_EQ(c.selection(1), -1);
  c.addItem(1, "125 Hz");
  c.addItem(1, "250 Hz");
  EXPECT_EQ(c.selection(1), 0);  // a combo box shows its first entry
  EXPECT_EQ(c.text(1), "125 Hz");
  c.setSelection(1, 7);
  EXPECT_EQ(c.selection(1), -1);
  c.clearItems(1);
  EXPECT_EQ(c.itemCount(1), 0);
  c.setScrollRange(2, -50, 50);
  c.setScrollPosition(2, 80);
  EXPECT_EQ(c.scrollPosition(2), 50);
  c.setScrollRange(2, 0, 10);
  EXPECT_EQ(c.scrollPosition(2), 10);
  EXPECT_EQ(c.itemText(3, 0), "");
  EXPECT_EQ(c.text(99), "");
  c.setText(99, "ignored");
  EXPECT_FALSE(c.enabled(99));
}

struct MapHandler : ChildWindowHandler {
  int presses = 0;
  int band = 0;
  void onOpen(ChildWindow& w) override { w.addButton({2, "NEXT", {0, 0, 40, 20}}); }
  void onPaint(Canvas& c, ChildWindow&) override { c.fillRect({0, 0, 5 + band, 5}, 50); }
  void onButton(int id, ChildWindow& w) override {
    if (id == 2) {
      ++band;
      w.repaint();
      w.enableButton(2, band < 2);
    }
    if (id == 3) w.copyToClipboard();
  }
  void onMouse(const MouseEvent& e, ChildWindow&) override {
    if (e.action == MouseAction::Press) ++presses;
  }
};

TEST(ScriptedWindow, ScriptDrivesButtonsMouseAndPicture) {
  ScriptedPlatform platform;
  WindowScript script = {WindowStep::button(2), WindowStep::button(2), WindowStep::button(2)};
  for (const WindowStep& s : WindowStep::click({10, 10})) script.push_back(s);
  script.push_back(WindowStep::check([](ScriptedChildWindow& w) {
    EXPECT_EQ(w.picture().pixel(6, 0), paletteColour(50));
    EXPECT_EQ(w.picture().pixel(7, 0), paletteColour(30));
    w.addButton({3, "COPY", {50, 0, 40, 20}});
  }));
  script.push_back(WindowStep::button(3));
  platform.scriptWindow("Map", script);
  MapHandler handler;
  ChildWindowSpec spec;
  spec.title = "Map";
  spec.width = 100;
  spec.height = 60;
  ASSERT_TRUE(platform.runWindow(spec, handler));
  EXPECT_EQ(handler.band, 2);
  EXPECT_EQ(handler.presses, 1);
  ASSERT_EQ(platform.windows().size(), 1u);
  EXPECT_EQ(platform.windows()[0].problems.size(), 1u);  // third NEXT was disabled
  ASSERT_EQ(platform.clipboard().size(), 1u);
  EXPECT_EQ(platform.clipboard()[0].width, 100);
}

}  // namespace
}  // namespace tav

namespace tav {
namespace {

TEST(ScriptedDialog, NumericFieldsTakeOnlyNumberCharacters) {
  DialogTemplate t{"Point relative :",
                   {gridControl(201, ControlKind::Edit, "0", 0, 0, 1, 1, CTL_NUMERIC),
                    gridControl(DLG_OK, ControlKind::DefaultButton, "OK", 1, 0)},
                   0,
                   0};
  struct Reader : DialogHandler {
    double value = -1;
    void onCommand(int id, DialogEventKind, DialogControls& c) override {
      if (id == DLG_OK) {
        value = parseNumber(c.text(201));
        c.endDialog(DLG_OK);
      }
    }
  } handler;
  ScriptedPlatform platform;
  platform.scriptDialog(
      "Point relative :",
      {DialogStep::setText(201, "2,5m"), DialogStep::setText(201, "-2,5E1"), DialogStep::enter()});
  EXPECT_EQ(platform.runDialog(t, handler), DLG_OK);
  EXPECT_DOUBLE_EQ(handler.value, -25.0);
  EXPECT_EQ(platform.dialogs()[0].problems.size(), 1u);
}

}  // namespace
}  // namespace tav
