// A text keeps one node per entry through Move Nodes and Insert Nodes. In a
// small text every stroke is shorter than the 1 mm within which compaction
// merges nodes, so compaction would fold the dots of i and ! into their
// neighbours.
#include <gtest/gtest.h>

#include "edit/face_edit.h"
#include "edit/ui/edit_support.h"
#include "model/project_settings.h"

namespace tav {
namespace {

// An "i" 2 mm high: a stem of 1.5 mm and above it a dot, a stroke of length
// zero.
std::unique_ptr<ModelObject> smallText() {
  auto t = std::make_unique<ModelObject>();
  t->shape = SHAPE_TEXT;
  t->layer = LAYER_AUX;
  t->nodes = {{0, 0, 0}, {0, 0.0015f, 0}, {0, 0.002f, 0}, {0, 0.002f, 0}};
  t->indices = {{IDX_START, 0}, {IDX_LINE, 1}, {IDX_START, 2}, {IDX_LINE, 3}};
  return t;
}

TEST(TextGeometry, MoveNodesMovesEachNodeOnceAndKeepsEveryStrokeOfAText) {
  ObjectList list;
  ModelObject* t = list.appendObject(smallText());
  ModelObject stray = *t;  // not in the list
  // Node 1 listed twice, one node beyond the count, one object not in the list.
  const SelectedNode picked[] = {{t, 0}, {t, 1}, {t, 1}, {t, 2}, {t, 3}, {t, 9}, {&stray, 0}};
  ASSERT_TRUE(moveListedNodes(list, picked, {0, 0, 0}, {1, 0, 0}));
  EXPECT_EQ(t->nodes,
            (std::vector<Node>{{1, 0, 0}, {1, 0.0015f, 0}, {1, 0.002f, 0}, {1, 0.002f, 0}}));
  EXPECT_EQ(t->indices.size(), 4u);
  EXPECT_EQ(stray.nodes[0], (Node{0, 0, 0}));
  // Any other shape is compacted: the dot folds into the stem.
  t->shape = SHAPE_POLYLINE;
  ASSERT_TRUE(moveListedNodes(list, picked, {0, 0, 0}, {0, 1, 0}));
  EXPECT_LT(t->nodeCount(), 4u);
}

TEST(TextGeometry, InsertNodesKeepsEveryStrokeOfAText) {
  auto t = smallText();
  // A line across the stem 1 mm up.
  EXPECT_EQ(insertNodes(*t, {-1, 0.001, 0}, {1, 0.001, 0}, VIEW_XY).inserted, 1u);
  EXPECT_EQ(t->nodeCount(), 5u);
  EXPECT_EQ(t->indices.size(), 5u);
}

}  // namespace
}  // namespace tav
