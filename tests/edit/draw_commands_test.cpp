// Drawing by mouse and keyboard: lines, polygons, circles, rectangles and
// texts, their prompts, Escape, and the objects they leave in the model.
#include <gtest/gtest.h>

#include <cmath>

#include "edit/ui/text_dialog.h"
#include "edit_session.h"
#include "font_bytes.h"

namespace tav::edittest {
namespace {

TEST(DrawCommands, RectangleWithItsPromptsOnTheRoomLayer) {
  EditSession s;
  s.menu(CMD_ROOM_RECTANGLE);
  s.check([&] { EXPECT_EQ(s.prompt(), "RECTANGLE > 1.Point :"); });
  s.clickAt(0, 0);
  s.check([&] { EXPECT_EQ(s.prompt(), "RECTANGLE > 2.Point :"); });
  s.clickAt(10, 5);
  s.run();
  ASSERT_EQ(s.objects().countObjects(), 1u);
  EXPECT_EQ(s.objects().head()->layer, LAYER_ROOM);
  EXPECT_EQ(s.objects().head()->nodes.at(2), (Node{10, 5, 0}));
  EXPECT_TRUE(s.project().modified);
}

TEST(DrawCommands, RectangleInThe3DViewIsRefused) {
  // The 3D view has no plane to draw in: the message, and the command ends
  // (the typed points then find no command to take them).
  EditSession s(VIEW_3D);
  s.menu(CMD_AUX_RECTANGLE);
  s.typePoint(1, 2, 3);
  s.typePoint(4, 6, 9);
  s.run();
  EXPECT_EQ(s.messages(), std::vector<std::string>{"Please switch to XY-, YZ-, or XZ-View "});
  EXPECT_EQ(s.objects().countObjects(), 0u);
  EXPECT_EQ(s.shell.activeCommand(), 0);
}

TEST(DrawCommands, PolygonAndLinesNumberTheirPointsAndEscapeDiscards) {
  EditSession s;
  s.menu(CMD_AUDIENCE_POLYGON);
  s.check([&] { EXPECT_EQ(s.prompt(), "POLYGON > Point #1"); });
  s.clickAt(0, 0);
  s.clickAt(6, 0);
  s.check([&] { EXPECT_EQ(s.prompt(), "POLYGON > Point #3"); });
  s.clickAt(6, 4);
  s.clickAt(0, 0);  // back on the first point: dropped by compaction
  s.enter();
  // Lines on the AUX layer, abandoned with Escape.
  s.menu(CMD_AUX_LINES);
  s.clickAt(1, 1);
  s.clickAt(2, 1);
  s.check([&] { EXPECT_EQ(s.prompt(), "LINES > Point #3"); });
  s.escape();
  // Lines finished with the right button.
  s.menu(CMD_ROOM_POLYLINE);
  s.clickAt(-1, -1);
  s.clickAt(-3, -1);
  s.clickAt(-3, -2);
  s.platform.pushClick({400, 300}, MouseButton::Right);
  s.run();
  ASSERT_EQ(s.objects().countObjects(), 2u);
  const ModelObject& lines = *s.objects().head();
  EXPECT_EQ(lines.shape, SHAPE_POLYLINE);
  EXPECT_EQ(lines.nodes, (std::vector<Node>{{-1, -1, 0}, {-3, -1, 0}, {-3, -2, 0}}));
  const ModelObject& area = *lines.next;
  EXPECT_EQ(area.colour, 21u);
  EXPECT_EQ(area.nodeCount(), 3u);
}

TEST(DrawCommands, CircleOfTheSessionSegmentsInTheXZView) {
  EditSession s(VIEW_XZ);
  s.shell.session().circleSegments = 8;
  s.menu(CMD_ROOM_CIRCLE);
  s.check([&] { EXPECT_EQ(s.prompt(), "CIRCLE > Center point :"); });
  s.clickAt(2, 0, 1);
  s.check([&] { EXPECT_EQ(s.prompt(), "CIRCLE > Radius point :"); });
  s.clickAt(2, 0, 4);  // radius 3
  s.run();
  ASSERT_EQ(s.objects().countObjects(), 1u);
  const ModelObject& c = *s.objects().head();
  ASSERT_EQ(c.nodeCount(), 8u);
  EXPECT_NEAR(c.nodes[0].x, 5.0, 1e-5);   // k = 0 on the horizontal axis
  EXPECT_NEAR(c.nodes[2].z, -2.0, 1e-5);  // then clockwise: down first
}

TEST(DrawCommands, TextIsDrawnWithTheStrokeFont) {
  EditSession s;
  s.shell.session().strokeFont = smallFont().bytes();
  s.menu(CMD_AUX_TEXT);
  s.check([&] { EXPECT_EQ(s.prompt(), "TEXT > Start-point :"); });
  s.clickAt(1, 2);
  s.platform.scriptDialog(
      TITLE_TEXT_DIALOG,
      {DialogStep::check([](DialogControls& c) {
         EXPECT_EQ(c.text(TEXT_FIELD_SIZE), "1.00");  // 0 offered as 1
         EXPECT_EQ(c.text(TEXT_FIELD_ANGLE), "0.00");
       }),
       DialogStep::setText(TEXT_FIELD_SIZE, "2"), DialogStep::setText(TEXT_FIELD_ANGLE, "90"),
       DialogStep::setText(TEXT_FIELD_TEXT, "L D"), DialogStep::click(DLG_OK)});
  // The next text is offered the size and angle of this one.
  s.menu(CMD_AUX_TEXT);
  s.clickAt(0, 0);
  s.platform.scriptDialog(TITLE_TEXT_DIALOG, {DialogStep::check([](DialogControls& c) {
                                                EXPECT_EQ(c.text(TEXT_FIELD_SIZE), "2.00");
                                                EXPECT_EQ(c.text(TEXT_FIELD_ANGLE), "90.00");
                                              }),
                                              DialogStep::click(DLG_CANCEL)});
  s.run();
  ASSERT_EQ(s.objects().countObjects(), 1u);
  const ModelObject& t = *s.objects().head();
  EXPECT_EQ(t.shape, SHAPE_TEXT);
  EXPECT_EQ(t.colour, 14u);
  // 0.25 m per font unit, turned by 90°: 'L' from (1, 2) up along -x, then
  // along +y.
  ASSERT_EQ(t.nodeCount(), 6u);
  EXPECT_NEAR(t.nodes[0].x, -1.0, 1e-5);
  EXPECT_NEAR(t.nodes[2].y, 3.0, 1e-5);
}

TEST(DrawCommands, TextWithoutAFont) {
  EditSession s;
  s.shell.session().strokeFont.clear();
  s.menu(CMD_AUX_TEXT);
  s.run();
  EXPECT_EQ(s.messages(), std::vector<std::string>{"No Font loaded"});
  EXPECT_TRUE(s.objects().empty());
}

}  // namespace
}  // namespace tav::edittest
