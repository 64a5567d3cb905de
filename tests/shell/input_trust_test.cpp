// Input a user can trust: numbers typed on a comma-decimal desktop, every
// press of the mouse a point of its own and in order, and a zoom inside a
// command that ends only the zoom.
#include <gtest/gtest.h>

#include "edit/ui/edit_commands.h"
#include "platform/keys.h"
#include "shell/typed_point.h"
#include "shell_test_util.h"
#include "support/comma_locale.h"
#include "support/near.h"

namespace tav::test {
namespace {

// --- a German desktop: the process runs in de_DE.UTF-8 -----------------

class CommaLocaleSessions : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { entered_ = tavtest::CommaLocale::enter(why_); }
  static void TearDownTestSuite() { tavtest::CommaLocale::leave(); }
  void SetUp() override {
    if (!entered_) GTEST_SKIP() << why_;
  }
  static inline bool entered_ = false;
  static inline std::string why_;
};

// Under de_DE the typed-point dialog, the panel and an input line all show
// a point and take both a point and a comma.
TEST_F(CommaLocaleSessions, DialogsPanelAndInputLinesShowAPointAndTakeBoth) {
  ShellSession s;
  PointCollector points;
  s.shell.registry().add(CMD_ROOM_POLYLINE, std::ref(points));
  s.xyView(100.0f);
  s.menu(CMD_ROOM_POLYLINE);
  s.clickAt(2, -1.5f);
  std::string prefilled, panel;
  s.platform.scriptDialog(
      TITLE_POINT_ABSOLUTE,
      {DialogStep::check([&](DialogControls& c) {
         prefilled = c.text(POINT_FIELD_X) + " " + c.text(POINT_FIELD_Y);
       }),
       DialogStep::setText(POINT_FIELD_X, "1.5"), DialogStep::setText(POINT_FIELD_Y, "2,5"),
       DialogStep::setText(POINT_FIELD_Z, "0,25"), DialogStep::click(DLG_OK)});
  s.platform.pushKey(KEY_A);
  s.check([&] {
    panel = s.window().panel()->text(PANEL_FIELD_X) + " " + s.window().panel()->text(PANEL_FIELD_Y);
  });
  s.enter();
  s.platform.answerInputLine(std::string("0,75"));
  s.menu(CMD_COORD_SNAP_DISTANCE);
  s.run();
  EXPECT_EQ(prefilled, "2.000 -1.500");
  EXPECT_EQ(panel, "1.500 2.500");
  ASSERT_EQ(points.points.size(), 2u);
  EXPECT_TRUE(tavtest::near(points.points[1], {1.5, 2.5, 0.25}));
  EXPECT_EQ(s.platform.inputLines().at(0).text, "0.500");  // shown with a point
  EXPECT_FLOAT_EQ(s.project().settings.cursorSnap, 0.75f);
}

// --- every press counts --------------------------------------------------

struct PressCase {
  const char* name;
  std::function<void(ShellSession&)> script;  // after Polyline started
  std::vector<float> xs;                      // the points given, in order
  InputOutcome end;                           // how the last input ended
  int runs;                                   // how often a command ran
};

class EveryPress : public ::testing::TestWithParam<PressCase> {};

// Polyline and Polygon both collect their points into one list.
TEST_P(EveryPress, GivesItsOwnPointInOrder) {
  ShellSession s;
  PointCollector points;
  s.shell.registry().add(CMD_ROOM_POLYLINE, std::ref(points));
  s.shell.registry().add(CMD_ROOM_POLYGON, std::ref(points));
  s.xyView(100.0f);
  s.menu(CMD_ROOM_POLYLINE);
  GetParam().script(s);
  s.run();
  std::vector<float> xs;
  for (const Node& p : points.points) xs.push_back(p.x);
  EXPECT_EQ(xs, GetParam().xs);
  EXPECT_EQ(points.end, GetParam().end);
  EXPECT_EQ(points.runs, GetParam().runs);
}

INSTANTIATE_TEST_SUITE_P(Table, EveryPress,
                         ::testing::Values(PressCase{"DoubleClickIsTwoPoints",
                                                     [](ShellSession& s) {
                                                       s.platform.pushDoubleClick(s.at(1, 0));
                                                       s.enter();
                                                     },
                                                     {1, 1},
                                                     InputOutcome::Finished,
                                                     1},
                                           PressCase{"TwoClicksInOneBatch",
                                                     [](ShellSession& s) {
                                                       s.platform.beginBatch();
                                                       s.clickAt(1, 0);
                                                       s.clickAt(2, 0);
                                                       s.platform.endBatch();
                                                       s.escape();
                                                     },
                                                     {1, 2},
                                                     InputOutcome::Cancelled,
                                                     1},
                                           // A click left when Enter ended the command is dropped
                                           // idle and does not feed the next command.
                                           PressCase{"ClickLeftWhenTheCommandEndsIsDropped",
                                                     [](ShellSession& s) {
                                                       s.platform.beginBatch();
                                                       s.clickAt(1, 0);
                                                       s.enter();
                                                       s.clickAt(2, 0);
                                                       s.platform.endBatch();
                                                       s.menu(CMD_ROOM_POLYGON);
                                                       s.clickAt(3, 0);
                                                       s.escape();
                                                     },
                                                     {1, 3},
                                                     InputOutcome::Cancelled,
                                                     2},
                                           // The second Enter repeats the command, which reads the
                                           // click that followed.
                                           PressCase{"EnterLeftWhenTheCommandEndsRepeatsIt",
                                                     [](ShellSession& s) {
                                                       s.platform.beginBatch();
                                                       s.clickAt(1, 0);
                                                       s.enter();
                                                       s.enter();
                                                       s.clickAt(2, 0);
                                                       s.platform.endBatch();
                                                       s.escape();
                                                     },
                                                     {1, 2},
                                                     InputOutcome::Cancelled,
                                                     2},
                                           // The first right press finishes, the second, idle,
                                           // repeats the command.
                                           PressCase{"RightDoubleClickFinishesThenRepeats",
                                                     [](ShellSession& s) {
                                                       s.clickAt(1, 0);
                                                       s.platform.pushDoubleClick(
                                                           s.at(3, 0), MouseButton::Right);
                                                     },
                                                     {1},
                                                     InputOutcome::Cancelled,
                                                     2}),
                         [](const ::testing::TestParamInfo<PressCase>& info) {
                           return info.param.name;
                         });

// --- zoom inside a command -------------------------------------------------

class ZoomInsideACommand : public ::testing::TestWithParam<int> {};

TEST_P(ZoomInsideACommand, LeavingTheZoomKeepsThePolygonGoing) {
  // Three points of a polygon, F6, one zoom click, then Escape or Enter
  // ends the zoom only: a fourth point typed after it still belongs to the
  // polygon, and Enter finishes it.
  ShellSession s;
  registerEditCommands(s.shell.registry());
  s.xyView(20.0f);
  s.menu(CMD_ROOM_POLYGON);
  s.clickAt(0, 0);
  s.clickAt(4, 0);
  // The third point and F6 come together: the point is the polygon's, not
  // the zoom's.
  s.platform.beginBatch();
  s.clickAt(0, 3);
  s.platform.pushKey(keyF(6));
  s.platform.endBatch();
  s.click({400, 300});
  s.platform.pushKey(GetParam());
  s.typePoint(-2, 0, 0);
  s.enter();
  s.run();
  ASSERT_EQ(s.project().objects.countObjects(), 1u);
  const ModelObject& polygon = *s.project().objects.objectAt(0);
  ASSERT_EQ(polygon.nodes.size(), 4u);
  EXPECT_TRUE(tavtest::near(polygon.nodes[2], {0, 3, 0}));
  EXPECT_TRUE(tavtest::near(polygon.nodes[3], {-2, 0, 0}));
  EXPECT_GT(s.shell.view().zoom, 20.0f);  // the zoom did happen
}

INSTANTIATE_TEST_SUITE_P(LeavingKey, ZoomInsideACommand, ::testing::Values(KEY_ESCAPE, KEY_RETURN),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return info.param == KEY_ESCAPE ? std::string("Escape")
                                                           : std::string("Enter");
                         });

}  // namespace
}  // namespace tav::test
