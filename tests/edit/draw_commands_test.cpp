// Drawing by mouse and keyboard: lines, polygons, circles, rectangles and
// texts, their prompts, Escape, and the objects they leave in the model.
#include <gtest/gtest.h>

#include <cmath>

#include "edit/ui/text_dialog.h"
#include "edit_session.h"

namespace tav::edittest {
namespace {

TEST(DrawCommands, RectangleWithItsPromptsOnTheRoomLayer) {
  EditSession s;
  s.menu(2204);
  s.check([&] { EXPECT_EQ(s.prompt(), "RECTANGLE > 1.Point :"); });
  s.clickAt(0, 0);
  s.check([&] { EXPECT_EQ(s.prompt(), "RECTANGLE > 2.Point :"); });
  s.clickAt(10, 5);
  s.run();
  ASSERT_EQ(s.objects().countObjects(), 1u);
  const ModelObject& r = *s.objects().head();
  EXPECT_EQ(r.shape, SHAPE_FACE);
  EXPECT_EQ(r.layer, LAYER_ROOM);
  EXPECT_EQ(r.flags, 0u);
  const std::vector<Node> nodes{{0, 0, 0}, {0, 5, 0}, {10, 5, 0}, {10, 0, 0}};
  EXPECT_EQ(r.nodes, nodes);
  const std::vector<IndexEntry> entries{
      {IDX_START, 0}, {IDX_MATERIAL, 0}, {IDX_LINE, 1}, {IDX_LINE, 2}, {IDX_CLOSE, 3}};
  EXPECT_EQ(r.indices, entries);
  EXPECT_TRUE(s.project().modified);
  EXPECT_TRUE(s.messages().empty());
}

TEST(DrawCommands, RectangleInThe3DViewIsRefused) {
  // The 3D view has no plane to draw in: the message, and the command ends
  // (the typed points then find no command to take them).
  EditSession s(VIEW_3D);
  s.menu(4204);
  s.typePoint(true, 1, 2, 3);
  s.typePoint(true, 4, 6, 9);
  s.run();
  EXPECT_EQ(s.messages(), std::vector<std::string>{"Please switch to XY-, YZ-, or XZ-View "});
  EXPECT_EQ(s.objects().countObjects(), 0u);
  EXPECT_EQ(s.shell.activeCommand(), 0);
}

TEST(DrawCommands, PolygonAndLinesNumberTheirPointsAndEscapeDiscards) {
  EditSession s;
  s.menu(3202);
  s.check([&] { EXPECT_EQ(s.prompt(), "POLYGON > Point #1"); });
  s.clickAt(0, 0);
  s.clickAt(6, 0);
  s.check([&] { EXPECT_EQ(s.prompt(), "POLYGON > Point #3"); });
  s.clickAt(6, 4);
  s.clickAt(0, 0);  // back on the first point: dropped by compaction
  s.enter();
  // Lines on the AUX layer, abandoned with Escape.
  s.menu(4201);
  s.clickAt(1, 1);
  s.clickAt(2, 1);
  s.check([&] { EXPECT_EQ(s.prompt(), "LINES > Point #3"); });
  s.escape();
  // Lines finished with the right button.
  s.menu(2201);
  s.clickAt(-1, -1);
  s.clickAt(-3, -1);
  s.clickAt(-3, -2);
  s.platform.pushClick({400, 300}, MouseButton::Right);
  s.run();
  ASSERT_EQ(s.objects().countObjects(), 2u);
  const ModelObject& lines = *s.objects().head();
  EXPECT_EQ(lines.shape, SHAPE_POLYLINE);
  EXPECT_EQ(lines.flags, OF_CREATED);
  const std::vector<Node> lineNodes{{-1, -1, 0}, {-3, -1, 0}, {-3, -2, 0}};
  EXPECT_EQ(lines.nodes, lineNodes);
  const ModelObject& area = *lines.next;
  EXPECT_EQ(area.layer, LAYER_AUDIENCE);
  EXPECT_EQ(area.colour, 21u);
  EXPECT_EQ(area.shape, SHAPE_FACE);
  EXPECT_EQ(area.nodeCount(), 3u);
  EXPECT_EQ(area.indices.back(), (IndexEntry{IDX_CLOSE, 2}));
}

TEST(DrawCommands, CircleOfTheSessionSegmentsInTheXZView) {
  EditSession s(VIEW_XZ);
  s.shell.session().circleSegments = 8;
  s.menu(2203);
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
  for (const Node& n : c.nodes) EXPECT_NEAR(std::hypot(n.x - 2.0, n.z - 1.0), 3.0, 1e-5);
}

// A two-glyph font built byte by byte: 'L' move (0,8), draw (0,0), draw
// (4,0), end advancing 5; 'T' move (0,8), draw (4,8), end advancing 6.
std::vector<std::uint8_t> twoGlyphFont() {
  auto rec = [](int pen, int x, int y) {
    return static_cast<std::uint16_t>(pen | ((x & 0x7F) << 2) | ((y & 0x7F) << 9));
  };
  std::vector<std::uint16_t> records{rec(0, 0, 8), rec(1, 0, 0), rec(1, 4, 0), rec(3, 5, 0),
                                     rec(0, 0, 8), rec(1, 4, 8), rec(3, 6, 0)};
  std::vector<std::uint8_t> bytes(8, 0);
  for (int code = 0; code < 256; ++code) {
    const int first = code == 'L' ? 0 : code == 'T' ? 4 : -1;
    bytes.push_back(static_cast<std::uint8_t>(first & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>((first >> 8) & 0xFF));
  }
  bytes.insert(bytes.end(), 4, 0);
  for (std::uint16_t r : records) {
    bytes.push_back(static_cast<std::uint8_t>(r & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(r >> 8));
  }
  return bytes;
}

TEST(DrawCommands, TextIsDrawnWithTheStrokeFont) {
  EditSession s;
  s.shell.session().strokeFont = twoGlyphFont();
  s.menu(4205);
  s.check([&] { EXPECT_EQ(s.prompt(), "TEXT > Start-point :"); });
  s.clickAt(1, 2);
  s.platform.scriptDialog(
      TITLE_TEXT_DIALOG,
      {DialogStep::check([](DialogControls& c) {
         EXPECT_EQ(c.text(TEXT_FIELD_SIZE), "1.00");  // 0 offered as 1
         EXPECT_EQ(c.text(TEXT_FIELD_ANGLE), "0.00");
       }),
       DialogStep::setText(TEXT_FIELD_SIZE, "2"), DialogStep::setText(TEXT_FIELD_ANGLE, "90"),
       DialogStep::setText(TEXT_FIELD_TEXT, "L T"), DialogStep::click(DLG_OK)});
  // The next text is offered the size and angle of this one.
  s.menu(4205);
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
  EXPECT_EQ(t.layer, LAYER_AUX);
  EXPECT_EQ(t.colour, 14u);
  EXPECT_EQ(t.flags, OF_CREATED);
  // s = 0.25 m per font unit; turned by 90°: writing along +y, up along -x.
  // 'L' at advance 0, blank 6 units, 'T' at advance 5 + 6 = 11 units.
  const std::vector<Node> nodes{
      {-1.0f, 2, 0}, {1, 2, 0}, {1, 3, 0}, {-1.0f, 4.75f, 0}, {-1.0f, 5.75f, 0}};
  ASSERT_EQ(t.nodeCount(), nodes.size());
  for (std::size_t k = 0; k < nodes.size(); ++k) {
    EXPECT_NEAR(t.nodes[k].x, nodes[k].x, 1e-5) << k;
    EXPECT_NEAR(t.nodes[k].y, nodes[k].y, 1e-5) << k;
  }
  const std::vector<IndexEntry> entries{{0, 0}, {1, 1}, {1, 2}, {0, 3}, {1, 4}};
  EXPECT_EQ(t.indices, entries);
}

TEST(DrawCommands, TextWithoutAFont) {
  EditSession s;
  s.shell.session().strokeFont.clear();
  s.menu(4205);
  s.run();
  EXPECT_EQ(s.messages(), std::vector<std::string>{"No Font loaded"});
  EXPECT_TRUE(s.objects().empty());
}

}  // namespace
}  // namespace tav::edittest
