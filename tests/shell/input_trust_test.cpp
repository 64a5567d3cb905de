// Input a user can trust: numbers typed on a comma-decimal desktop, every
// press of the mouse a point of its own and in order, and a zoom inside a
// command that ends only the zoom.
#include <gtest/gtest.h>

#include "edit/ui/edit_commands.h"
#include "platform/keys.h"
#include "shell/typed_point.h"
#include "shell_test_util.h"
#include "support/comma_locale.h"

namespace tav::test {
namespace {

// Collects every point given until the input is finished or cancelled.
struct PointCollector {
  std::vector<Node> points;
  InputOutcome end = InputOutcome::PointGiven;
  void operator()(CommandContext& ctx) {
    while ((end = ctx.askPoint("Point :")) == InputOutcome::PointGiven)
      points.push_back(ctx.input().current);
  }
};

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

TEST_F(CommaLocaleSessions, ScaleTakesCommaAndPointFactors) {
  // (2, 4, 6) about the origin by (0,5 | 0.5 | 2) is (1, 2, 12).
  ShellSession s;
  registerEditCommands(s.shell.registry());
  s.xyView(20.0f);
  ModelObject* o = s.add(makeFace({{2, 4, 6}, {8, 4, 6}, {8, 9, 6}}));
  s.platform.pushMenu(2305);
  s.clickAt(5, 4);  // on the lower edge
  s.platform.pushKey(KEY_RETURN);
  s.clickAt(0, 0);  // base point
  s.platform.scriptDialog(
      "Factors X,Y,Z :",
      {DialogStep::setText(POINT_FIELD_X, "0,5"), DialogStep::setText(POINT_FIELD_Y, "0.5"),
       DialogStep::setText(POINT_FIELD_Z, "2"), DialogStep::click(DLG_OK)});
  s.run();
  ASSERT_EQ(o->nodes.size(), 3u);
  EXPECT_FLOAT_EQ(o->nodes[0].x, 1.0f);
  EXPECT_FLOAT_EQ(o->nodes[0].y, 2.0f);
  EXPECT_FLOAT_EQ(o->nodes[0].z, 12.0f);
  EXPECT_FLOAT_EQ(o->nodes[2].x, 4.0f);
  EXPECT_FLOAT_EQ(o->nodes[2].y, 4.5f);
}

TEST_F(CommaLocaleSessions, TypedPointsAndThePanelShowAndTakeDecimals) {
  ShellSession s;
  PointCollector points;
  s.shell.registry().add(2201, std::ref(points));
  s.xyView(100.0f);
  s.platform.pushMenu(2201);
  s.clickAt(2, -1.5f);
  std::string prefilled, panelX, panelY;
  s.platform.scriptDialog(
      TITLE_POINT_ABSOLUTE,
      {DialogStep::check([&](DialogControls& c) {
         prefilled = c.text(POINT_FIELD_X) + " " + c.text(POINT_FIELD_Y);
       }),
       DialogStep::setText(POINT_FIELD_X, "1.5"), DialogStep::setText(POINT_FIELD_Y, "2,5"),
       DialogStep::setText(POINT_FIELD_Z, "0,25"), DialogStep::click(DLG_OK)});
  s.platform.pushKey(KEY_A);
  s.check([&] {
    panelX = s.window().panel()->text(201);
    panelY = s.window().panel()->text(202);
  });
  s.platform.pushKey(KEY_RETURN);
  s.run();
  EXPECT_EQ(prefilled, "2.000 -1.500");
  EXPECT_EQ(panelX, "1.500");
  EXPECT_EQ(panelY, "2.500");
  ASSERT_EQ(points.points.size(), 2u);
  EXPECT_FLOAT_EQ(points.points[1].x, 1.5f);
  EXPECT_FLOAT_EQ(points.points[1].y, 2.5f);
  EXPECT_FLOAT_EQ(points.points[1].z, 0.25f);
}

TEST_F(CommaLocaleSessions, SnapDistanceTakesAPointOrAComma) {
  ShellSession s;
  s.platform.answerInputLine(std::string("0.25"));
  s.platform.pushMenu(513);
  s.check([&] { EXPECT_FLOAT_EQ(s.project().settings.cursorSnap, 0.25f); });
  s.platform.answerInputLine(std::string("0,75"));
  s.platform.pushMenu(513);
  s.run();
  EXPECT_TRUE(s.platform.messages().empty());
  ASSERT_EQ(s.platform.inputLines().size(), 2u);
  EXPECT_EQ(s.platform.inputLines()[0].text, "0.500");  // shown with a point
  EXPECT_EQ(s.platform.inputLines()[1].text, "0.250");
  EXPECT_FLOAT_EQ(s.project().settings.cursorSnap, 0.75f);
}

// --- every press counts --------------------------------------------------

struct PressCase {
  const char* name;
  std::function<void(ShellSession&)> script;  // after the command started
  std::vector<float> xs;                      // the points given, in order
  InputOutcome end;
};

class EveryPress : public ::testing::TestWithParam<PressCase> {};

TEST_P(EveryPress, GivesItsOwnPointInOrder) {
  ShellSession s;
  PointCollector points;
  s.shell.registry().add(2201, std::ref(points));
  s.xyView(100.0f);
  s.platform.pushMenu(2201);
  GetParam().script(s);
  s.run();
  std::vector<float> xs;
  for (const Node& p : points.points) xs.push_back(p.x);
  EXPECT_EQ(xs, GetParam().xs);
  EXPECT_EQ(points.end, GetParam().end);
}

INSTANTIATE_TEST_SUITE_P(
    Table, EveryPress,
    ::testing::Values(PressCase{"DoubleClickIsTwoPoints",
                                [](ShellSession& s) {
                                  s.platform.pushDoubleClick(s.at(1, 0));
                                  s.platform.pushKey(KEY_RETURN);
                                },
                                {1, 1},
                                InputOutcome::Finished},
                      PressCase{"TwoClicksInOneBatch",
                                [](ShellSession& s) {
                                  s.platform.beginBatch();
                                  s.clickAt(1, 0);
                                  s.clickAt(2, 0);
                                  s.platform.endBatch();
                                  s.platform.pushKey(KEY_ESCAPE);
                                },
                                {1, 2},
                                InputOutcome::Cancelled},
                      PressCase{"EnterAfterAClickInOneBatch",
                                [](ShellSession& s) {
                                  s.platform.beginBatch();
                                  s.clickAt(1, 0);
                                  s.clickAt(2, 0);
                                  s.platform.pushKey(KEY_RETURN);
                                  s.clickAt(5, 0);  // after the end: no point of this command
                                  s.platform.endBatch();
                                },
                                {1, 2},
                                InputOutcome::Finished},
                      PressCase{"EscapeAfterClicksInOneBatch",
                                [](ShellSession& s) {
                                  s.platform.beginBatch();
                                  s.clickAt(1, 0);
                                  s.platform.pushKey(KEY_ESCAPE);
                                  s.platform.endBatch();
                                },
                                {1},
                                InputOutcome::Cancelled}),
    [](const ::testing::TestParamInfo<PressCase>& info) { return info.param.name; });

TEST(EveryPress, PressesLeftWhenTheCommandEndsDoNotFeedTheNextOne) {
  // A click and Escape given together after Enter ended the command: idle,
  // they do nothing, and the next command starts without them.
  ShellSession s;
  PointCollector first, second;
  s.shell.registry().add(2201, std::ref(first));
  s.shell.registry().add(2202, std::ref(second));
  s.xyView(100.0f);
  s.platform.pushMenu(2201);
  s.platform.beginBatch();
  s.clickAt(1, 0);
  s.platform.pushKey(KEY_RETURN);
  s.clickAt(2, 0);
  s.platform.endBatch();
  s.platform.pushMenu(2202);
  s.clickAt(3, 0);
  s.platform.pushKey(KEY_ESCAPE);
  s.run();
  ASSERT_EQ(first.points.size(), 1u);
  ASSERT_EQ(second.points.size(), 1u);
  EXPECT_FLOAT_EQ(second.points[0].x, 3.0f);
}

TEST(EveryPress, EnterLeftWhenTheCommandEndsRepeatsItWithTheClicksThatFollowed) {
  // Enter, Enter, click given together: the second Enter repeats the last
  // command, which then reads the click.
  ShellSession s;
  PointCollector lines;
  s.shell.registry().add(2201, std::ref(lines));
  s.xyView(100.0f);
  s.platform.pushMenu(2201);
  s.platform.beginBatch();
  s.clickAt(1, 0);
  s.platform.pushKey(KEY_RETURN);
  s.platform.pushKey(KEY_RETURN);
  s.clickAt(2, 0);
  s.platform.endBatch();
  s.platform.pushKey(KEY_ESCAPE);
  s.run();
  ASSERT_EQ(lines.points.size(), 2u);
  EXPECT_FLOAT_EQ(lines.points[1].x, 2.0f);
  EXPECT_EQ(lines.end, InputOutcome::Cancelled);
}

TEST(EveryPress, RightDoubleClickFinishesThenRepeatsTheCommand) {
  // Two presses of the right button: the first finishes, the second, idle,
  // repeats the last command (which here finds nothing more to read).
  ShellSession s;
  int runs = 0;
  s.shell.registry().add(2201, [&runs](CommandContext& ctx) {
    ++runs;
    while (ctx.askPoint("Point :") == InputOutcome::PointGiven) {
    }
  });
  s.xyView(100.0f);
  s.platform.pushMenu(2201);
  s.clickAt(1, 0);
  s.platform.pushDoubleClick(s.at(3, 0), MouseButton::Right);
  s.run();
  EXPECT_EQ(runs, 2);
}

// --- zoom inside a command -------------------------------------------------

class ZoomInsideACommand : public ::testing::TestWithParam<int> {};

TEST_P(ZoomInsideACommand, LeavingTheZoomKeepsThePolygonGoing) {
  // Three points of a polygon, F6, one zoom click, then Escape or Enter
  // ends the zoom only: a fourth point typed after it still belongs to the
  // polygon, and Enter finishes it.
  ShellSession s;
  registerEditCommands(s.shell.registry());
  s.xyView(20.0f);
  s.platform.pushMenu(2202);
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
  s.platform.scriptDialog(
      TITLE_POINT_ABSOLUTE,
      {DialogStep::setText(POINT_FIELD_X, "-2"), DialogStep::setText(POINT_FIELD_Y, "0"),
       DialogStep::setText(POINT_FIELD_Z, "0"), DialogStep::click(DLG_OK)});
  s.platform.pushKey(KEY_A);
  s.platform.pushKey(KEY_RETURN);
  s.run();
  ASSERT_EQ(s.project().objects.countObjects(), 1u);
  const ModelObject& polygon = *s.project().objects.objectAt(0);
  EXPECT_EQ(polygon.shape, SHAPE_FACE);
  ASSERT_EQ(polygon.nodes.size(), 4u);
  EXPECT_FLOAT_EQ(polygon.nodes[1].x, 4.0f);
  EXPECT_FLOAT_EQ(polygon.nodes[2].y, 3.0f);
  EXPECT_FLOAT_EQ(polygon.nodes[3].x, -2.0f);
  EXPECT_GT(s.shell.view().zoom, 20.0f);  // the zoom did happen
}

INSTANTIATE_TEST_SUITE_P(LeavingKey, ZoomInsideACommand, ::testing::Values(KEY_ESCAPE, KEY_RETURN),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return info.param == KEY_ESCAPE ? std::string("Escape")
                                                           : std::string("Enter");
                         });

}  // namespace
}  // namespace tav::test
