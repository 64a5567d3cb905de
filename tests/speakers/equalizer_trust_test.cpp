// Loudspeaker dialogs keep what was typed: the equalizer steps from the
// value itself, says when it limited a value and stays open with the user's
// values when the total drive is refused.
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
        StepCase{"PageUpStopsAtZero", EQ_MODE_GAIN, -9.5,
                 Step::scrollStep(BAR, ScrollAction::PageBack), 0.0},
        StepCase{"LineDownStopsAtTheFloor", EQ_MODE_GAIN, -99.5,
                 Step::scrollStep(BAR, ScrollAction::LineForward), -100.0},
        StepCase{"ThumbSetsWholeDecibels", EQ_MODE_GAIN, -9.5, Step::scroll(BAR, 37), -37.0},
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
  EXPECT_EQ(platform.messages()[1].text, MSG_TOTAL_DRIVE_EXCEEDED);
}

// (Cancel: the Equalize session.)
TEST(EqualizerDialog, AFailedDialogLeavesTheValues) {
  ScriptedPlatform platform;
  std::array<double, BAND_COUNT> values;
  values.fill(-9.0);
  const std::array<double, BAND_COUNT> before = values;
  platform.failDialog("Equalizer");
  EXPECT_FALSE(equalizerDialog(platform, values, EQ_MODE_GAIN));
  EXPECT_EQ(values, before);
  ASSERT_EQ(platform.messages().size(), 1u);
  EXPECT_EQ(platform.messages()[0].text, "Unable to display dialog");
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
  ASSERT_EQ(platform.messages().size(), 1u);
  EXPECT_EQ(platform.messages()[0].text,
            "Entry limited to -19.0 dB: the values lie within -19.0 .. 0.0 dB.");
}

}  // namespace
}  // namespace tav::speakertest
