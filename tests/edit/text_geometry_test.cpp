// A text keeps one node per entry through Move Nodes and Insert Nodes. In a
// small text every stroke is shorter than the 1 mm within which compaction
// merges nodes, so compaction would fold the dots of i and ! into their
// neighbours.
#include <gtest/gtest.h>

#include "edit/ui/text_dialog.h"
#include "edit_session.h"

namespace tav::edittest {
namespace {

TEST(TextGeometry, MoveNodesAndInsertNodesKeepEveryStroke) {
  EditSession s;
  s.menu(CMD_AUX_TEXT);
  s.clickAt(0, 0);
  // 4 mm high: one font unit is 0.5 mm.
  s.platform.scriptDialog(TITLE_TEXT_DIALOG,
                          {DialogStep::setText(TEXT_FIELD_SIZE, "0,004"),
                           DialogStep::setText(TEXT_FIELD_TEXT, "i!"), DialogStep::click(DLG_OK)});
  std::vector<Node> drawn, moved;
  std::size_t strokes = 0, entriesAfterMove = 0;
  // Each step is scripted once the one before has run: the pixels depend on
  // where the text is.
  auto insertNodes = [&] {
    const ModelObject& t = *s.objects().head();
    moved = t.nodes;
    entriesAfterMove = t.indices.size();
    // Insert Nodes: the text by a window, a line across its stems 1 mm up.
    s.menu(CMD_AUX_INSERT_NODES);
    s.clickAt(0, -1);
    s.clickAt(2, 1);
    s.enter();
    s.typePoint(0, 0.001, 0);
    s.typePoint(2, 0.001, 0);
  };
  s.check([&] {
    ASSERT_EQ(s.objects().countObjects(), 1u);
    const ModelObject& t = *s.objects().head();
    drawn = t.nodes;
    strokes = t.indices.size();
    // Move Nodes: a click on the text takes all its nodes; moved by (1, 0).
    s.menu(CMD_AUX_MOVE_NODES);
    s.platform.pushClick(s.shell.pixelOf(t.nodes[0]));
    s.enter();
    s.clickAt(0, 0);
    s.clickAt(1, 0);
    s.check(insertNodes);
  });
  s.run();
  EXPECT_GE(strokes, 6u);  // stems and dots of i and !
  EXPECT_EQ(drawn.size(), strokes);
  EXPECT_EQ(entriesAfterMove, strokes);
  ASSERT_EQ(moved.size(), drawn.size());
  for (std::size_t k = 0; k < drawn.size(); ++k) {
    EXPECT_NEAR(moved[k].x, drawn[k].x + 1.0f, 1e-6) << k;
    EXPECT_FLOAT_EQ(moved[k].y, drawn[k].y) << k;
  }
  const ModelObject& t = *s.objects().head();
  EXPECT_EQ(t.shape, SHAPE_TEXT);
  EXPECT_GT(t.indices.size(), strokes);  // the line crossed the stems
  EXPECT_EQ(t.nodes.size(), t.indices.size());
}

}  // namespace
}  // namespace tav::edittest
