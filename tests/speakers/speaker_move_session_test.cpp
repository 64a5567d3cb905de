// Moving loudspeakers with their drawings and aim lines, and the measured
// reverberation times edited through the equalizer's "RT 60" form.
#include "shell/command_registry.h"
#include "speaker_session_test_support.h"

namespace tav::speakertest {
namespace {

TEST(MoveLoudspeakers, ThePositionAndTheDrawingMoveEscapeLeavesThem) {
  SpeakerSession s;
  s.loadDatabase();
  s.add(roomFace({{10, -5, -5}, {10, 5, -5}, {10, 5, 5}, {10, -5, 5}}));
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

TEST(MeasuredReverberation, EditedInTheRt60FormAndKeptOnlyOnOk) {
  SpeakerSession s;
  constexpr int CMD = 5013;
  s.shell.registry().add(CMD, [](CommandContext& ctx) {
    editMeasuredReverberation(ctx, ctx.project().settings.measuredRT);
  });
  s.project().settings.measuredRT = {2, 2, 2, 2, 2, 2, 2};
  // Position 85 is 1.5 s.
  s.platform.scriptDialog("RT 60", {Step::scroll(EQD_BAR_FIRST + 3, 85), Step::click(EQD_OK)});
  s.platform.pushCommand(CMD);
  s.platform.scriptDialog("RT 60", {Step::scroll(EQD_BAR_FIRST, 0), Step::click(EQD_CANCEL)});
  s.platform.pushCommand(CMD);
  s.run();
  EXPECT_EQ(s.project().settings.measuredRT, (std::array<float, 7>{2, 2, 2, 1.5f, 2, 2, 2}));
  EXPECT_EQ(s.platform.dialogs().size(), 2u);
}

}  // namespace
}  // namespace tav::speakertest
