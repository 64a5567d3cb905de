// Aiming, alignment, delay, array turning and tilting, equalizing and
// aiming through the loudspeaker's own perspective, in a running shell.
#include "speaker_session_test_support.h"
#include "speakers/ui/aim_by_perspective.h"

namespace tav::speakertest {
namespace {

// World direction of a drawing's main axis (second-to-last node minus the
// position).
Vec3d drawnAxis(const ModelObject& o, const PlacedSpeaker& s) {
  return toVec(o.nodes[o.nodes.size() - 2]) - s.pos();
}

// The angles, delays and turns themselves are pinned by the aiming unit
// tests; these sessions check the prompts, the selection and that the
// drawing follows the record.
TEST(AimAlignTurnTilt, PromptsAndTheDrawingFollowsTheRecord) {
  LoadedSession s;
  s.addDirect("HORN", {0, 0, 0}, "UP");
  s.addDirect("OMNI", {34.3, 0, 0}, "NEAR");
  s.addDirect("HORN", {2, 5, 0}, "L");
  s.xyView(5.0f);
  s.menu(CMD_SPEAKER_AIM_TARGET);
  s.pickAround(0, 0);
  s.check([&] { EXPECT_EQ(s.window().promptText(), "AIM LOUDSPEAKERS > Reference Point"); });
  s.typePoint(0, 0, 10);
  // Aligned to the origin: UP, nearest, waits for NEAR, 34.3 m away: 100 ms.
  s.menu(CMD_SPEAKER_ALIGN);
  s.pickAll();
  s.typePoint(0, 0, 0);
  // A typed delay with a comma.
  s.platform.answerInputLine("12,5");
  s.menu(CMD_SPEAKER_DELAY);
  s.pickAround(34.3, 0);
  // Turn NEAR about the origin: beyond a whole turn is refused, then 90 degrees.
  s.platform.answerInputLine("1e9");
  s.menu(CMD_SPEAKER_TURN_ARRAY);
  s.pickAround(34.3, 0);
  s.typePoint(0, 0, 0);
  s.platform.answerInputLine("90");
  s.menu(CMD_SPEAKER_TURN_ARRAY);
  s.pickAround(34.3, 0);
  s.typePoint(0, 0, 0);
  // Tilt L (aimed along +x) by 10 degrees about (1, 5, 0) behind it.
  s.platform.answerInputLine("10");
  s.menu(CMD_SPEAKER_TILT_ARRAY);
  s.pickAround(2, 5);
  s.typePoint(1, 5, 0);
  s.run();
  const PlacedSpeaker up = s.record(s.named("UP"));
  EXPECT_NEAR(drawnAxis(*s.named("UP"), up).z, 1, 1e-5);
  EXPECT_NEAR(up.delay, 100, 1e-3);
  const PlacedSpeaker near = s.record(s.named("NEAR"));
  EXPECT_FLOAT_EQ(near.delay, 12.5f);
  EXPECT_NEAR(near.position.y, 34.3, 1e-4);
  EXPECT_EQ(s.messages(), std::vector<std::string>{"Invalid entry !"});
  const PlacedSpeaker l = s.record(s.named("L"));
  EXPECT_NEAR(drawnAxis(*s.named("L"), l).z, std::sin(10 * DEG), 1e-5);
  const auto& lines = s.platform.inputLines();
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0].prompt, "Delay Time [ms]:");
  EXPECT_EQ(lines[3].prompt, "Angle [deg] : ");
}

TEST(Equalize, TheQuestionDecidesBetweenCommonAndSingleEqualization) {
  LoadedSession s;
  ModelObject* a = s.addDirect("HORN", {0, 0, 0}, "A");
  ModelObject* b = s.addDirect("HORN", {5, 0, 0}, "B");
  PlacedSpeaker gains = s.record(b);
  gains.eqGain[0] = -12;
  storeSpeaker(*b, gains);
  // Common: from the largest gain of each band (-9 in band 0), the dialog
  // shows changes from 0; band 0 raised by 2 dB moves both by 2 dB.
  s.platform.answerMessage(MessageResult::Yes);
  s.platform.scriptDialog("Equalizer", {Step::setText(EQD_EDIT_FIRST, "2"), Step::click(EQD_OK)});
  s.menu(CMD_SPEAKER_EQUALIZER);
  s.pickAll();
  // No: each its own equalizer; the first to -20 in band 6, the second cancelled.
  s.platform.answerMessage(MessageResult::No);
  s.platform.scriptDialog("Equalizer", {Step::scroll(EQD_BAR_FIRST + 6, 20), Step::click(EQD_OK)});
  s.platform.scriptDialog("Equalizer", {Step::scroll(EQD_BAR_FIRST, 0), Step::click(EQD_CANCEL)});
  s.menu(CMD_SPEAKER_EQUALIZER);
  s.pickAll();
  s.run();
  const auto& m = s.platform.messages();
  ASSERT_EQ(m.size(), 2u);
  EXPECT_EQ(m[0].text, "Multiple speakers selected.Set common equalization ?");
  EXPECT_EQ(m[0].buttons, MessageButtons::YesNoCancel);
  const PlacedSpeaker ra = s.record(a), rb = s.record(b);
  EXPECT_FLOAT_EQ(ra.eqGain[0], -7);
  EXPECT_FLOAT_EQ(rb.eqGain[0], -10);
  // The list holds B before A (each drawing was built at the head), so the
  // first equalizer of the "No" round was B's.
  EXPECT_FLOAT_EQ(rb.eqGain[6], -20);
  EXPECT_FLOAT_EQ(ra.eqGain[6], -9);
  EXPECT_NEAR(rb.electricalPower[6], 140 * 0.01, 1e-5) << "the power follows the gain";
}

TEST(AimByPerspective, AClickTurnsTheAxisEnterKeepsItEscapeDoesNot) {
  LoadedSession s;
  s.addDirect("HORN", {0, 0, 1}, "A");
  const int w = s.shell.view().width, h = s.shell.view().height;
  // A ninth of the width to the right turns the axis 10 degrees to the
  // right (clockwise from above); the band button of 4 kHz; Enter.
  bool contours = false;
  WindowScript script = WindowStep::click({w / 2 + w / 9, h / 2});
  script.push_back(WindowStep::button(AIM_BAND_BUTTON_FIRST + 5));
  script.push_back(WindowStep::check([](ScriptedChildWindow& win) { win.repaint(); }));
  script.push_back(WindowStep::key(KEY_RETURN));
  s.platform.scriptWindow(AIM_WINDOW_TITLE, script);
  s.menu(CMD_SPEAKER_AIM_PERSPECTIVE);
  s.pickAround(0, 0);
  s.check([&] {
    const auto& windows = s.platform.windows();
    ASSERT_EQ(windows.size(), 1u);
    for (const DrawCall& c : windows[0].finalCalls) {
      if (c.kind == DrawKind::Polyline && c.pen == 26 && c.points.size() == 73) contours = true;
    }
  });
  // Escape: the loudspeaker keeps its angles.
  WindowScript cancel = WindowStep::click({w / 2, h / 4});
  cancel.push_back(WindowStep::key(KEY_ESCAPE));
  s.platform.scriptWindow(AIM_WINDOW_TITLE, cancel);
  s.menu(CMD_SPEAKER_AIM_PERSPECTIVE);
  s.pickAround(0, 0);
  s.run();
  EXPECT_TRUE(contours);
  // The cabinet, hidden while the eye is inside it, is shown again.
  EXPECT_EQ(s.named("A")->flags & (OF_HIDDEN | OF_SELECTED), 0u);
  const PlacedSpeaker r = s.record(s.named("A"));
  // A quarter turn per view width, for the whole pixels clicked.
  EXPECT_NEAR(r.horizontal, -(90 * DEG) / w * (w / 9), 1e-6);
}

}  // namespace
}  // namespace tav::speakertest
