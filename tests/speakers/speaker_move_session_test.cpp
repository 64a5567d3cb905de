// Moving loudspeakers with their drawings and aim lines.
#include "speaker_session_test_support.h"

namespace tav::speakertest {
namespace {

TEST(MoveLoudspeakers, ThePositionAndTheDrawingMoveEscapeLeavesThem) {
  LoadedSession s;
  s.add(test::makeFace({{10, -5, -5}, {10, 5, -5}, {10, 5, 5}, {10, -5, 5}}));
  ModelObject* a = s.addDirect("HORN", {0, 0, 0}, "A");
  s.shell.session().hooks.rebuildAimPoints(s.shell);
  const std::vector<Node> before = a->nodes;
  s.menu(CMD_SPEAKER_MOVE);
  s.check([&] { EXPECT_EQ(s.window().promptText(), "MOVE LOUDSPEAKERS > Select Objects"); });
  s.pickAround(0, 0);
  s.clickAt(0, 0);
  s.escape();
  s.check([&] {
    EXPECT_EQ(a->nodes, before);
    EXPECT_EQ(s.record(a).position, (Node{0, 0, 0}));
  });
  s.menu(CMD_SPEAKER_MOVE);
  s.pickAround(0, 0);
  s.clickAt(0, 0);
  s.clickAt(2, 1);
  s.run();
  const PlacedSpeaker r = s.record(a);
  EXPECT_EQ(r.position, (Node{2, 1, 0}));
  EXPECT_EQ(a->nodes.back(), (Node{2, 1, 1}));
  EXPECT_FALSE(a->isSelected());
  EXPECT_TRUE(s.project().modified);
  // The aim line now starts at the new position and meets the wall at y = 1.
  const ModelObject* lines = nullptr;
  for (const ModelObject& o : s.project().objects)
    if (o.layer == LAYER_AIM_LINES) lines = &o;
  ASSERT_NE(lines, nullptr);
  ASSERT_EQ(lines->nodes.size(), 2u);
  EXPECT_EQ(lines->nodes[0], (Node{2, 1, 0}));
  EXPECT_EQ(lines->nodes[1], (Node{10, 1, 0}));
}

}  // namespace
}  // namespace tav::speakertest
