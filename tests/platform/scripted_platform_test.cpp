// The scripted platform behaves like a user at the real one: queued actions
// arrive one per processEvents, dialogs run their handler on in-memory
// controls, and nothing waits for ever.
#include "platform/scripted/scripted_platform.h"

#include <gtest/gtest.h>

#include "platform/keys.h"

namespace tav {
namespace {

struct Sink : MainWindowEvents {
  ScriptedPlatform* platform = nullptr;
  MainWindow* window = nullptr;
  std::vector<std::string> log;
  int paints = 0;
  bool enableOnOpening = false;

  void onCommand(int id) override { log.push_back("cmd " + std::to_string(id)); }
  void onMenuOpening() override {
    log.push_back("opening");
    if (enableOnOpening && window != nullptr) window->setMenuItemEnabled(602, true);
  }
  void onKeyDown(int key, bool ctrl) override {
    log.push_back("key " + std::to_string(key) + (ctrl ? " ctrl" : ""));
  }
  void onMouse(const MouseEvent& e) override {
    const char* what = e.action == MouseAction::Move    ? "move"
                       : e.action == MouseAction::Press ? "press"
                                                        : "release";
    log.push_back(std::string(what) + " " + std::to_string(e.pos.x) + "," +
                  std::to_string(e.pos.y) + (e.button == MouseButton::Right ? " right" : ""));
  }
  void onScroll(const ScrollEvent& e) override {
    log.push_back("scroll " + std::to_string(static_cast<int>(e.action)));
  }
  void onResize(int w, int h) override {
    log.push_back("resize " + std::to_string(w) + "x" + std::to_string(h));
  }
  void onCloseRequest() override { log.push_back("close"); }
  void onPaint(Canvas& c) override {
    ++paints;
    c.setPen(21);
    c.line({0, 0}, {10, 0});
  }
  void onPanelCommand(int id, DialogEventKind, DialogControls& panel) override {
    log.push_back("panel " + std::to_string(id) + (panel.checked(id) ? " on" : " off"));
  }
};

std::vector<MenuEntry> menuTable() {
  return {submenu("&File", {menuItem(104, "&New"), menuItem(105, "E&xit")}),
          submenu("&View", {menuItem(602, "Zoom &All (F7)", false)}), menuItem(11111, "&Help")};
}

class ScriptedSession : public ::testing::Test {
 protected:
  void SetUp() override {
    sink.platform = &platform;
    window = platform.createMainWindow(sink);
    sink.window = window.get();
    window->setMenu(menuTable());
  }
  // Runs the loop until the script is used up.
  void runAll() {
    while (platform.processEvents(true)) {
    }
  }
  ScriptedPlatform platform{640, 480};
  Sink sink;
  std::unique_ptr<MainWindow> window;
};

TEST_F(ScriptedSession, ActionsArriveInOrderAndTheLoopEndsWhenTheyRunOut) {
  platform.pushMenu(104);
  platform.pushKey(KEY_RETURN);
  platform.pushClick({30, 40}, MouseButton::Right);
  platform.pushScroll({ScrollAxis::Horizontal, ScrollAction::PageForward, 0});
  platform.pushResize(300, 200);
  platform.pushCloseRequest();
  runAll();
  EXPECT_TRUE(platform.ranDry());
  EXPECT_FALSE(platform.processEvents(false));
  EXPECT_EQ(sink.log, (std::vector<std::string>{"opening", "cmd 104", "key 13", "move 30,40",
                                                "press 30,40 right", "release 30,40 right",
                                                "scroll 3", "resize 300x200", "close"}));
  EXPECT_EQ(window->viewWidth(), 300);
  EXPECT_TRUE(platform.problems().empty());
}

TEST_F(ScriptedSession, MenuChoicesFollowTheMenuState) {
  platform.pushMenu(602);  // disabled: the user cannot choose it
  platform.pushAction([&] { window->setTopMenuEnabled(0, false); });
  platform.pushMenu(104);  // File greyed while a command runs
  platform.pushMenu(11111);
  platform.pushAction([&] { sink.enableOnOpening = true; });
  platform.pushMenu(602);     // enabled by the refresh when the menu opens
  platform.pushCommand(606);  // a command without a menu item
  runAll();
  EXPECT_EQ(platform.ignoredMenuChoices(), (std::vector<int>{602, 104}));
  EXPECT_EQ(sink.log, (std::vector<std::string>{"opening", "opening", "cmd 11111", "opening",
                                                "cmd 602", "cmd 606"}));
}

TEST_F(ScriptedSession, PostedCommandsComeBeforeTheNextUserAction) {
  platform.pushAction([&] { window->postCommand(2302); });
  platform.pushKey(KEY_ESCAPE);
  runAll();
  EXPECT_EQ(sink.log, (std::vector<std::string>{"cmd 2302", "key 27"}));
}

TEST_F(ScriptedSession, NestedWaitTakesTheNextActionsAndQuitsWhenDry) {
  // A command that waits for two clicks inside the dispatch of its own
  // menu choice, as interactive commands do.
  std::vector<std::string> seenInside;
  platform.pushAction([&] {
    while (seenInside.size() < 4 && platform.processEvents(true)) {
      seenInside = sink.log;
    }
  });
  platform.pushClick({1, 2});
  platform.pushKey(KEY_SPACE);
  runAll();
  EXPECT_EQ(seenInside.size(), 4u);
  EXPECT_TRUE(platform.quitting());
}

TEST_F(ScriptedSession, RepaintsAndOverlayKeepThePictureApart) {
  auto* scripted = platform.mainWindow();
  ASSERT_NE(scripted, nullptr);
  platform.processEvents(false);
  EXPECT_EQ(sink.paints, 1);
  EXPECT_EQ(scripted->picture().pixel(5, 0), paletteColour(21));
  window->setOverlay([](Canvas& c) {
    c.setDrawMode(DrawMode::Xor);
    c.setPen(COLOUR_WHITE);
    c.line({0, 5}, {20, 5});
  });
  EXPECT_EQ(scripted->overlayPicture().pixel(5, 5), (Rgb{0, 0, 0}));
  EXPECT_EQ(scripted->picture().pixel(5, 5), paletteColour(30));
  window->requestRepaint();
  window->requestRepaint();
  platform.processEvents(false);
  EXPECT_EQ(sink.paints, 2);  // requests collapse into one repaint
}

TEST_F(ScriptedSession, PanelClicksToggleAndReport) {
  DialogTemplate panel{"3DPANEL",
                       {gridControl(108, ControlKind::CheckBox, "V", 0, 0),
                        gridControl(101, ControlKind::RadioButton, "XY", 0, 1, 1, 1, CTL_CHECKED),
                        gridControl(102, ControlKind::RadioButton, "YZ", 0, 2)},
                       0,
                       0};
  DialogControls* controls = window->createPanel(panel);
  ASSERT_NE(controls, nullptr);
  platform.pushPanelClick(108);
  platform.pushPanelClick(102);
  platform.pushPanelClick(999);
  runAll();
  EXPECT_EQ(sink.log, (std::vector<std::string>{"panel 108 on", "panel 102 on"}));
  EXPECT_FALSE(controls->checked(101));
  ASSERT_EQ(platform.problems().size(), 1u);
}

TEST_F(ScriptedSession, EventsAfterTheWindowIsGoneAreProblemsNotCrashes) {
  platform.pushKey(KEY_F1);
  platform.pushAction([&] { window.reset(); });
  platform.pushKey(keyF(2));
  runAll();
  EXPECT_EQ(sink.log, std::vector<std::string>{"key 112"});
  EXPECT_EQ(platform.mainWindow(), nullptr);
  EXPECT_EQ(platform.problems().size(), 1u);
}

TEST(ScriptedAnswers, MessagesInputLinesAndFileDialogs) {
  ScriptedPlatform platform;
  platform.answerMessage(MessageResult::No);
  EXPECT_EQ(
      platform.showMessage("Save changes?", "", MessageButtons::YesNoCancel, MessageIcon::Question),
      MessageResult::No);
  // Unanswered boxes get their first button.
  EXPECT_EQ(platform.showMessage("Invalid entry !"), MessageResult::Ok);
  EXPECT_EQ(platform.showMessage("Overwrite?", "Save", MessageButtons::YesNo), MessageResult::Yes);
  ASSERT_EQ(platform.messages().size(), 3u);
  EXPECT_EQ(platform.messages()[0].caption, MESSAGE_DEFAULT_CAPTION);
  EXPECT_EQ(platform.messages()[1].text, "Invalid entry !");
  EXPECT_EQ(platform.messages()[2].caption, "Save");

  platform.answerInputLine("0,25");
  platform.answerInputLine("a comment that is longer than allowed");
  EXPECT_EQ(platform.inputLine("Set Cursor Snap ( 0 .. 1000 ):", "0.50", 0), "0,25");
  EXPECT_EQ(platform.inputLine("Comment (80 chars max.):", "", 9), "a comment");
  EXPECT_FALSE(platform.inputLine("Grid size(0.1 - 100) :", "1.00", 0));  // Cancel
  EXPECT_EQ(platform.inputLines()[1].maxLength, 9);
  EXPECT_EQ(platform.inputLines()[2].text, "1.00");
  // Characters, not bytes, are counted.
  platform.answerInputLine("\u00B2\u00B2\u00B2");
  EXPECT_EQ(platform.inputLine("x", "", 2), "\u00B2\u00B2");

  FileDialogRequest open;
  open.filter = "Projects|*.TPR|";
  platform.answerOpenFile("/data/hall.tpr");
  EXPECT_EQ(platform.openFileName(open), "/data/hall.tpr");
  EXPECT_FALSE(platform.saveFileName(open));
  ASSERT_EQ(platform.fileDialogs().size(), 2u);
  EXPECT_FALSE(platform.fileDialogs()[0].save);
  EXPECT_TRUE(platform.fileDialogs()[1].save);
  EXPECT_EQ(platform.fileDialogs()[1].request.filter, "Projects|*.TPR|");
}

TEST(ScriptedAnswers, ProgressCancelsAtTheScriptedUpdate) {
  ScriptedPlatform platform;
  platform.cancelProgressAtUpdate(3);
  platform.progressOpen("Level + Time", "Point 1", "Cancel");
  EXPECT_FALSE(platform.progressUpdate(10, "a"));
  EXPECT_FALSE(platform.progressUpdate(250, "b"));
  EXPECT_TRUE(platform.progressUpdate(30, "c"));
  EXPECT_TRUE(platform.progressUpdate(40, "d"));
  platform.progressClose();
  EXPECT_FALSE(platform.progressOpen());
  const auto& p = platform.progress();
  ASSERT_EQ(p.size(), 6u);
  EXPECT_EQ(p[0].title, "Level + Time");
  EXPECT_EQ(p[0].buttonText, "Cancel");
  EXPECT_EQ(p[1].barWidth, 14);
  EXPECT_EQ(p[2].barWidth, 140);
  EXPECT_EQ(p[5].kind, ProgressEventKind::Close);
}

TEST(ScriptedAnswers, PrintJobsAndClipboardAreRecorded) {
  ScriptedPlatform platform;
  {
    std::unique_ptr<PrintJob> job = platform.choosePrinter("Faces");
    ASSERT_TRUE(job);
    ASSERT_TRUE(job->startPage());
    EXPECT_EQ(job->canvas().dpiX(), ScriptedPlatform::PAGE_DPI);
    job->canvas().text({10, 10}, "Face list", TextStyle{});
    job->endPage();
    job->startPage();
    job->canvas().text({10, 10}, "page 2", TextStyle{});
    EXPECT_TRUE(job->endJob());
    EXPECT_FALSE(job->endJob());
  }
  {
    // A job dropped without endJob leaves no printout.
    std::unique_ptr<PrintJob> job = platform.choosePrinter("Dropped");
    job->startPage();
  }
  ASSERT_EQ(platform.prints().size(), 1u);
  ASSERT_EQ(platform.prints()[0].pages.size(), 2u);
  EXPECT_EQ(platform.prints()[0].pages[1].texts(), std::vector<std::string>{"page 2"});

  platform.setPrinterAvailable(false);
  EXPECT_FALSE(platform.choosePrinter("x"));
  EXPECT_FALSE(platform.printPicture("x", 10, 10, nullptr));

  EXPECT_TRUE(platform.copyPictureToClipboard(4, 3, [](Canvas& c) { c.clear(23); }));
  ASSERT_EQ(platform.clipboard().size(), 1u);
  EXPECT_EQ(platform.clipboard()[0].pixel(3, 2), paletteColour(23));

  EXPECT_TRUE(platform.openHelp("/usr/share/taviron/help/index.html", "2302"));
  EXPECT_EQ(platform.helpRequests()[0].anchor, "2302");
}

}  // namespace
}  // namespace tav
