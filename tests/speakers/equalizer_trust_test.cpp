// Loudspeaker dialogs keep what was typed: the equalizer steps from the
// value itself, says when it limited a value and stays open with the user's
// values when the total drive is refused; angles beyond a sane turn are
// refused with the invalid-entry message.
#include <gtest/gtest.h>

#include "speaker_session_test_support.h"

namespace tav::speakertest {
namespace {

struct StepCase {
  const char* name;
  int mode;
  double start;  // band 125 Hz
  DialogStep step;
  double want;
};

class EqualizerSteps : public ::testing::TestWithParam<StepCase> {};

TEST_P(EqualizerSteps, ArrowsAndTroughStepFromTheValueTheThumbSetsIt) {
  const StepCase& c = GetParam();
  ScriptedPlatform platform;
  std::array<double, BAND_COUNT> values;
  values.fill(c.mode == EQ_MODE_GAIN ? -30.0 : 2.0);
  values[0] = c.start;
  platform.scriptDialog(c.mode == EQ_MODE_GAIN ? "Equalizer" : "RT 60",
                        {c.step, Step::click(EQD_OK)});
  ASSERT_TRUE(equalizerDialog(platform, values, c.mode));
  EXPECT_NEAR(values[0], c.want, 1e-9);
  EXPECT_NEAR(values[1], c.mode == EQ_MODE_GAIN ? -30.0 : 2.0, 1e-12);  // untouched
}

constexpr int BAR = EQD_BAR_FIRST;

INSTANTIATE_TEST_SUITE_P(
    Table, EqualizerSteps,
    ::testing::Values(
        StepCase{"LineUpFromAHalfDecibel", EQ_MODE_GAIN, -9.5,
                 Step::scrollStep(BAR, ScrollAction::LineBack), -8.5},
        StepCase{"LineDown", EQ_MODE_GAIN, -9.5, Step::scrollStep(BAR, ScrollAction::LineForward),
                 -10.5},
        StepCase{"PageDown", EQ_MODE_GAIN, -9.5, Step::scrollStep(BAR, ScrollAction::PageForward),
                 -19.5},
        StepCase{"PageUpStopsAtZero", EQ_MODE_GAIN, -9.5,
                 Step::scrollStep(BAR, ScrollAction::PageBack), 0.0},
        StepCase{"LineDownStopsAtTheFloor", EQ_MODE_GAIN, -99.5,
                 Step::scrollStep(BAR, ScrollAction::LineForward), -100.0},
        StepCase{"ThumbSetsWholeDecibels", EQ_MODE_GAIN, -9.5, Step::scroll(BAR, 37), -37.0},
        StepCase{"SecondsLineUp", EQ_MODE_REVERB_TIME, 1.25,
                 Step::scrollStep(BAR, ScrollAction::LineBack), 1.35},
        StepCase{"SecondsPageDown", EQ_MODE_REVERB_TIME, 1.25,
                 Step::scrollStep(BAR, ScrollAction::PageForward), 0.25},
        StepCase{"SecondsLineDownStopsAtZero", EQ_MODE_REVERB_TIME, 0.05,
                 Step::scrollStep(BAR, ScrollAction::LineForward), 0.0},
        StepCase{"SecondsThumb", EQ_MODE_REVERB_TIME, 1.25, Step::scroll(BAR, 37), 6.3}),
    [](const ::testing::TestParamInfo<StepCase>& info) { return info.param.name; });

TEST(EqualizerDialog, ALimitedValueIsToldAndARefusalKeepsTheUsersValues) {
  // 20 dB typed is set to 0 dB, with a message. With the other bands at
  // -9 dB, T = 10 log10(1 + 6 * 10^-0.9) = 2.44 dB: OK is refused and the
  // dialog keeps 0.0; -20 dB then gives T = -1.17 dB and is accepted.
  ScriptedPlatform platform;
  std::array<double, BAND_COUNT> values;
  values.fill(-9.0);
  std::string kept, summary;
  platform.scriptDialog("Equalizer", {Step::setText(EQD_EDIT_FIRST, "20"), Step::click(EQD_OK),
                                      Step::check([&](DialogControls& c) {
                                        kept = c.text(EQD_EDIT_FIRST);
                                        summary = c.text(EQD_SUMMARY);
                                      }),
                                      Step::setText(EQD_EDIT_FIRST, "-20"), Step::click(EQD_OK)});
  const EqualizerCheck check = [](const BandValues& gains) {
    UserMessage refusal;
    driveAcceptable(gains, &refusal);
    return refusal;
  };
  ASSERT_TRUE(equalizerDialog(platform, values, EQ_MODE_GAIN, std::nullopt, check));
  EXPECT_EQ(kept, "0.0");
  EXPECT_EQ(summary, "2.4");
  EXPECT_DOUBLE_EQ(values[0], -20.0);
  ASSERT_EQ(platform.messages().size(), 2u);
  EXPECT_EQ(platform.messages()[0].text,
            "Entry limited to 0.0 dB: the values lie within -100.0 .. 0.0 dB.");
  EXPECT_EQ(platform.messages()[0].caption, "Equalizer");
  EXPECT_EQ(platform.messages()[1].text, MSG_TOTAL_DRIVE_EXCEEDED);
}

TEST(EqualizerDialog, TheMasterIsLimitedWhereTheLowestBandMeetsTheFloor) {
  // Lowest band -90 dB, master at -9 dB: the master goes down by 10 dB at
  // most, to -19 dB; -50 typed is limited to that.
  ScriptedPlatform platform;
  std::array<double, BAND_COUNT> values;
  values.fill(-9.0);
  values[6] = -90.0;
  platform.scriptDialog("Equalizer", {Step::setText(EQD_EDIT_MASTER, "-50"), Step::click(EQD_OK),
                                      Step::click(EQD_OK)});
  ASSERT_TRUE(equalizerDialog(platform, values, EQ_MODE_GAIN));
  EXPECT_DOUBLE_EQ(values[0], -19.0);
  EXPECT_DOUBLE_EQ(values[6], -100.0);
  ASSERT_EQ(platform.messages().size(), 1u);
  EXPECT_EQ(platform.messages()[0].text,
            "Entry limited to -19.0 dB: the values lie within -19.0 .. 0.0 dB.");
}

TEST(EqualizeCommand, ARefusedSettingKeepsTheDialogOpenWithTheUsersValues) {
  SpeakerSession s;
  s.loadDatabase();
  s.addDirect("OMNI", {0, 0, 0}, "A");
  // All bands to 0 dB (T = 8.45 dB): refused, the values stay; then every
  // band typed to -20 dB (T = -11.55 dB) is taken.
  DialogScript script;
  for (int b = 0; b < BAND_COUNT; ++b) script.push_back(Step::scroll(EQD_BAR_FIRST + b, 0));
  script.push_back(Step::click(EQD_OK));
  std::string kept;
  script.push_back(Step::check([&](DialogControls& c) { kept = c.text(EQD_EDIT_FIRST + 3); }));
  for (int b = 0; b < BAND_COUNT; ++b) script.push_back(Step::setText(EQD_EDIT_FIRST + b, "-20"));
  script.push_back(Step::click(EQD_OK));
  s.platform.scriptDialog("Equalizer", script);
  s.menu(CMD_SPEAKER_EQUALIZER);
  s.pickAround(0, 0);
  s.run();
  EXPECT_EQ(kept, "0.0");
  EXPECT_EQ(s.messages(), std::vector<std::string>{MSG_TOTAL_DRIVE_EXCEEDED});
  const PlacedSpeaker r = s.record(s.speakers()[0]);
  for (int b = 0; b < BAND_COUNT; ++b) EXPECT_FLOAT_EQ(r.eqGain[b], -20.0f) << b;
}

TEST(EditLoudspeaker, AnglesBeyondASaneTurnAreInvalidEntries) {
  // 1e9 and -540.5 degrees are refused one after the other; 540 is the
  // largest magnitude one correction brings into range (it becomes 180).
  SpeakerSession s;
  s.loadDatabase();
  s.place(1, 2, 1,
          {Step::setText(ESD_HORIZONTAL, "1e9"), Step::click(ESD_OK),
           Step::setText(ESD_HORIZONTAL, "45"), Step::setText(ESD_HORIZONTAL + 2, "-540,5"),
           Step::click(ESD_OK), Step::setText(ESD_HORIZONTAL + 2, "-540")});
  s.run();
  EXPECT_EQ(s.messages(), (std::vector<std::string>{"Invalid entry !", "Invalid entry !"}));
  ASSERT_EQ(s.speakers().size(), 1u);
  const PlacedSpeaker r = s.record(s.speakers()[0]);
  EXPECT_NEAR(r.horizontal, 45 * DEG, 1e-6);
  EXPECT_NEAR(r.rotation, -180 * DEG, 1e-6);
}

TEST(TurnArray, AnAngleBeyondAWholeTurnIsAnInvalidEntry) {
  SpeakerSession s;
  s.loadDatabase();
  s.addDirect("OMNI", {2, 0, 0}, "A");
  s.menu(CMD_SPEAKER_TURN_ARRAY);
  s.pickAround(2, 0);
  s.clickAt(0, 0);
  s.platform.answerInputLine(std::string("1e9"));
  s.check([&] {
    EXPECT_EQ(s.messages(), std::vector<std::string>{"Invalid entry !"});
    EXPECT_FLOAT_EQ(s.record(s.speakers()[0]).position.x, 2.0f);
  });
  // 90 degrees about the origin: the loudspeaker goes to (0, 2).
  s.menu(CMD_SPEAKER_TURN_ARRAY);
  s.pickAround(2, 0);
  s.clickAt(0, 0);
  s.platform.answerInputLine(std::string("90"));
  s.run();
  const PlacedSpeaker r = s.record(s.speakers()[0]);
  EXPECT_NEAR(r.position.y, 2.0f, 1e-5);
  EXPECT_NEAR(r.horizontal, 90 * DEG, 1e-6);
}

}  // namespace
}  // namespace tav::speakertest
