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

TEST(AimAtTarget, StraightUpLevelAndBehind) {
  SpeakerSession s;
  s.loadDatabase();
  s.addDirect("HORN", {0, 0, 0}, "UP");
  s.addDirect("HORN", {5, 0, 2}, "BACK");
  s.menu(CMD_SPEAKER_AIM_TARGET);
  s.pickAround(0, 0);
  s.check([&] { EXPECT_EQ(s.window().promptText(), "AIM LOUDSPEAKERS > Reference Point"); });
  s.typePoint(0, 0, 10);
  s.menu(CMD_SPEAKER_AIM_TARGET);
  s.pickAround(5, 0);
  s.typePoint(-3, 0, 2);
  // Escape at the point: nothing changes.
  s.menu(CMD_SPEAKER_AIM_TARGET);
  s.pickAround(5, 0);
  s.escape();
  s.run();
  const PlacedSpeaker up = s.record(s.named("UP"));
  EXPECT_NEAR(up.vertical, 90 * DEG, 1e-6);
  EXPECT_NEAR(drawnAxis(*s.named("UP"), up).z, 1, 1e-5);
  const PlacedSpeaker back = s.record(s.named("BACK"));
  EXPECT_NEAR(back.horizontal, 180 * DEG, 1e-6);
  EXPECT_NEAR(drawnAxis(*s.named("BACK"), back).x, -1, 1e-5);
  EXPECT_FALSE(s.named("BACK")->isSelected());
}

TEST(AlignAndDelay, DelaysFromTheReferencePointAndTypedDelays) {
  SpeakerSession s;
  s.loadDatabase();
  s.addDirect("OMNI", {34.3, 0, 0}, "NEAR");
  s.addDirect("OMNI", {-68.6, 0, 0}, "FAR");
  s.xyView(5.0f);  // both in view
  s.menu(CMD_SPEAKER_ALIGN);
  s.pickAll();
  s.typePoint(0, 0, 0);
  s.check([&] {
    EXPECT_NEAR(s.record(s.named("NEAR")).delay, 100.0, 1e-3);
    EXPECT_EQ(s.record(s.named("FAR")).delay, 0.0f);
  });
  // One loudspeaker aligned alone gets 0.
  s.menu(CMD_SPEAKER_ALIGN);
  s.pickAround(34.3, 0);
  s.typePoint(0, 0, 0);
  s.check([&] { EXPECT_EQ(s.record(s.named("NEAR")).delay, 0.0f); });
  // A typed delay with a comma; then text that is no number keeps it;
  // Cancel changes nothing.
  s.platform.answerInputLine("12,5");
  s.menu(CMD_SPEAKER_DELAY);
  s.pickAround(34.3, 0);
  s.platform.answerInputLine("x");
  s.menu(CMD_SPEAKER_DELAY);
  s.pickAround(-68.6, 0);
  s.platform.answerInputLine(std::nullopt);
  s.menu(CMD_SPEAKER_DELAY);
  s.pickAll();
  s.run();
  EXPECT_FLOAT_EQ(s.record(s.named("NEAR")).delay, 12.5f);
  EXPECT_FLOAT_EQ(s.record(s.named("FAR")).delay, 12.5f);
  ASSERT_EQ(s.platform.inputLines().size(), 3u);
  EXPECT_EQ(s.platform.inputLines()[0].prompt, "Delay Time [ms]:");
  EXPECT_EQ(s.platform.inputLines()[0].text, "0.0");
  EXPECT_EQ(s.platform.inputLines()[0].maxLength, 10);
}

TEST(TurnAndTiltArray, TurningBy90Then180AndTiltingBy10) {
  SpeakerSession s;
  s.loadDatabase();
  s.addDirect("HORN", {1, 0, 0}, "T");
  s.addDirect("HORN", {2, 5, 0}, "L");
  s.platform.answerInputLine("90");
  s.menu(CMD_SPEAKER_TURN_ARRAY);
  s.pickAround(1, 0);
  s.typePoint(0, 0, 0);
  s.check([&] { EXPECT_NEAR(drawnAxis(*s.named("T"), s.record(s.named("T"))).y, 1, 1e-5); });
  s.platform.answerInputLine("180");
  s.menu(CMD_SPEAKER_TURN_ARRAY);
  s.pickAround(0, 1);
  s.typePoint(0, 0, 0);
  // Tilt L (aimed along +x) by 10 degrees about (1, 5, 0) behind it.
  s.platform.answerInputLine("10");
  s.menu(CMD_SPEAKER_TILT_ARRAY);
  s.pickAround(2, 5);
  s.typePoint(1, 5, 0);
  s.run();
  const PlacedSpeaker t = s.record(s.named("T"));
  EXPECT_NEAR(t.horizontal, -90 * DEG, 1e-6);
  EXPECT_NEAR(t.position.y, -1, 1e-5);
  const PlacedSpeaker l = s.record(s.named("L"));
  EXPECT_NEAR(l.vertical, 10 * DEG, 1e-6);
  EXPECT_NEAR(drawnAxis(*s.named("L"), l).z, std::sin(10 * DEG), 1e-5);
  ASSERT_EQ(s.platform.inputLines().size(), 3u);
  EXPECT_EQ(s.platform.inputLines()[0].prompt, "Angle [deg] : ");
  EXPECT_EQ(s.platform.inputLines()[0].text, "0");
}

TEST(Equalize, OneLoudspeakerRefusedAboveZeroAndCommonEqualizationOfTwo) {
  SpeakerSession s;
  s.loadDatabase();
  ModelObject* a = s.addDirect("HORN", {0, 0, 0}, "A");
  ModelObject* b = s.addDirect("HORN", {5, 0, 0}, "B");
  {
    PlacedSpeaker r = s.record(b);
    r.eqGain[0] = -12;
    storeSpeaker(*b, r);
  }
  // A alone, every band to 0 dB: refused, gains stay.
  DialogScript zero;
  for (int k = 0; k < BAND_COUNT; ++k) zero.push_back(Step::scroll(EQD_BAR_FIRST + k, 0));
  zero.push_back(Step::click(EQD_OK));
  s.platform.scriptDialog("Equalizer", zero);
  s.platform.answerMessage(MessageResult::Ok);  // the refusal
  s.menu(CMD_SPEAKER_EQUALIZER);
  s.pickAround(0, 0);
  // Both, common: band 0 raised by 2 dB from the start (-9): -7 and -10.
  std::string startShown;
  s.platform.answerMessage(MessageResult::Yes);
  s.platform.scriptDialog(
      "Equalizer", {Step::check([&](DialogControls& c) { startShown = c.text(EQD_EDIT_FIRST); }),
                    Step::setText(EQD_EDIT_FIRST, "2"), Step::click(EQD_OK)});
  s.menu(CMD_SPEAKER_EQUALIZER);
  s.pickAll();
  // Both, answer No: each its own equalizer; the first to -20 in band 6,
  // the second cancelled.
  s.platform.answerMessage(MessageResult::No);
  s.platform.scriptDialog("Equalizer", {Step::scroll(EQD_BAR_FIRST + 6, 20), Step::click(EQD_OK)});
  s.platform.scriptDialog("Equalizer", {Step::click(EQD_CANCEL)});
  s.menu(CMD_SPEAKER_EQUALIZER);
  s.pickAll();
  // Cancel at the question: nothing at all.
  s.platform.answerMessage(MessageResult::Cancel);
  s.menu(CMD_SPEAKER_EQUALIZER);
  s.pickAll();
  s.run();

  const auto& m = s.platform.messages();
  ASSERT_EQ(m.size(), 4u);
  EXPECT_EQ(m[0].caption, "EQ settings could not be applied.");
  EXPECT_EQ(m[1].text, "Multiple speakers selected.Set common equalization ?");
  EXPECT_EQ(m[1].caption, "Warning");
  EXPECT_EQ(m[1].buttons, MessageButtons::YesNoCancel);
  EXPECT_EQ(startShown, "0.0");
  const PlacedSpeaker ra = s.record(a), rb = s.record(b);
  EXPECT_FLOAT_EQ(ra.eqGain[0], -7);
  EXPECT_FLOAT_EQ(rb.eqGain[0], -10);
  EXPECT_FLOAT_EQ(ra.eqGain[1], -9);
  // The list holds B before A (each drawing was built at the head), so the
  // first equalizer of the "No" round was B's.
  EXPECT_FLOAT_EQ(rb.eqGain[6], -20);
  EXPECT_FLOAT_EQ(ra.eqGain[6], -9);
  EXPECT_NEAR(rb.electricalPower[6], 140 * 0.01, 1e-5) << "the power follows the gain";
}

TEST(AimByPerspective, AClickTurnsTheAxisEnterKeepsItEscapeDoesNot) {
  SpeakerSession s;
  s.loadDatabase();
  s.addDirect("HORN", {0, 0, 1}, "A");
  const int w = s.shell.view().width, h = s.shell.view().height;
  ASSERT_GT(w, 0);
  // A ninth of the width to the right turns the axis 10 degrees to the
  // right (clockwise from above); the band button of 4 kHz; Enter.
  bool contours = false;
  std::vector<std::string> texts;
  WindowScript script = WindowStep::click({w / 2 + w / 9, h / 2});
  script.push_back(WindowStep::button(AIM_BAND_BUTTON_FIRST + 5));
  bool hiddenWhileAimed = false;
  script.push_back(WindowStep::check([&](ScriptedChildWindow& win) {
    // The eye is inside the cabinet, whose drawing is left out meanwhile.
    hiddenWhileAimed = (s.named("A")->flags & OF_HIDDEN) != 0;
    win.repaint();
  }));
  script.push_back(WindowStep::key(KEY_RETURN));
  s.platform.scriptWindow(AIM_WINDOW_TITLE, script);
  s.menu(CMD_SPEAKER_AIM_PERSPECTIVE);
  s.pickAround(0, 0);
  s.check([&] {
    const auto& windows = s.platform.windows();
    ASSERT_EQ(windows.size(), 1u);
    for (const DrawCall& c : windows[0].finalCalls) {
      if (c.kind == DrawKind::Polyline && c.pen == 26 && c.points.size() == 73) contours = true;
      if (c.kind == DrawKind::Text) texts.push_back(c.text);
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
  EXPECT_TRUE(hiddenWhileAimed);
  EXPECT_EQ(s.named("A")->flags & (OF_HIDDEN | OF_MARKED | OF_SELECTED), 0u);
  EXPECT_NE(std::find(texts.begin(), texts.end(), "4000 Hz"), texts.end());
  EXPECT_NE(std::find(texts.begin(), texts.end(), "Hor. -10\u00B0"), texts.end());
  const PlacedSpeaker r = s.record(s.named("A"));
  // A quarter turn per view width, for the whole pixels clicked.
  EXPECT_NEAR(r.horizontal, -(90 * DEG) / w * (w / 9), 1e-6);
  EXPECT_NEAR(r.vertical, 0, 1e-6);
  EXPECT_EQ(r.position, (Node{0, 0, 1}));
  EXPECT_TRUE(s.project().modified);
}

}  // namespace
}  // namespace tav::speakertest
