// The equalizer dialog on its own: limits, the master bar, display offsets
// and the reverberation-time form.
#include <gtest/gtest.h>

#include "platform/scripted/scripted_platform.h"
#include "speakers/ui/equalizer_dialog.h"

namespace tav {
namespace {

using Step = DialogStep;
using Values = std::array<double, 7>;

TEST(EqualizerDialog, OpensWithClampedGainsTheMasterAndTheTotal) {
  // How the master moves the bands is the equalizer state's test.
  ScriptedPlatform platform;
  Values v = {-90, -10, -10, -10, -10, -10, -120};
  std::string master, total, lowest, bar;
  platform.scriptDialog("Equalizer", {Step::check([&](DialogControls& c) {
                                        master = c.text(EQD_EDIT_MASTER);
                                        total = c.text(EQD_SUMMARY);
                                        lowest = c.text(EQD_EDIT_FIRST + 6);
                                        bar = std::to_string(c.scrollPosition(EQD_BAR_FIRST + 1));
                                      }),
                                      Step::click(EQD_OK)});
  ASSERT_TRUE(equalizerDialog(platform, v, EQ_MODE_GAIN));
  // A gain below -100 dB is shown as -100; the master starts at the largest band.
  EXPECT_EQ(lowest, "-100.0");
  EXPECT_EQ(master, "-10.0");
  EXPECT_EQ(bar, "10");
  // 10 log10(5 * 0.1 + 1e-9 + 1e-10) = -3.01 dB.
  EXPECT_EQ(total, "-3.0");
  EXPECT_EQ(v[6], -100);
}

TEST(EqualizerDialog, CancelCloseBoxAndAFailedDialogLeaveTheValues) {
  ScriptedPlatform platform;
  Values v = {-9, -9, -9, -9, -9, -9, -9};
  const Values before = v;
  platform.scriptDialog("Equalizer", {Step::scroll(EQD_BAR_FIRST, 0), Step::click(EQD_CANCEL)});
  EXPECT_FALSE(equalizerDialog(platform, v, EQ_MODE_GAIN));
  platform.scriptDialog("Equalizer", {Step::scroll(EQD_BAR_FIRST, 0), Step::close()});
  EXPECT_FALSE(equalizerDialog(platform, v, EQ_MODE_GAIN));
  platform.failDialog("Equalizer");
  EXPECT_FALSE(equalizerDialog(platform, v, EQ_MODE_GAIN));
  EXPECT_EQ(v, before);
  ASSERT_EQ(platform.messages().size(), 1u);
  EXPECT_EQ(platform.messages()[0].text, "Unable to display dialog");
  EXPECT_EQ(platform.messages()[0].caption, "System Error");
}

TEST(EqualizerDialog, DisplayOffsetsShowTheChangeAndTypedValuesCountFromThem) {
  ScriptedPlatform platform;
  Values v = {-9, -12, -20, -20, -20, -20, -20};
  EqualizerOffsets offsets = {9, 12, 20, 20, 20, 20, 20, 9};
  std::string shown0, shown1, master;
  int bar0 = -1;
  platform.scriptDialog(
      "Equalizer", {Step::check([&](DialogControls& c) {
                      shown0 = c.text(EQD_EDIT_FIRST);
                      shown1 = c.text(EQD_EDIT_FIRST + 1);
                      master = c.text(EQD_EDIT_MASTER);
                      bar0 = c.scrollPosition(EQD_BAR_FIRST);
                    }),
                    Step::setText(EQD_EDIT_FIRST, "2"), Step::setText(EQD_EDIT_FIRST + 1, "-3,5"),
                    Step::click(EQD_OK)});
  ASSERT_TRUE(equalizerDialog(platform, v, EQ_MODE_GAIN, offsets));
  EXPECT_EQ(shown0, "0.0");
  EXPECT_EQ(shown1, "0.0");
  EXPECT_EQ(master, "0.0");
  EXPECT_EQ(bar0, 9);  // the bars stay absolute
  EXPECT_DOUBLE_EQ(v[0], -7);
  EXPECT_DOUBLE_EQ(v[1], -15.5);
  EXPECT_DOUBLE_EQ(v[2], -20);
}

TEST(EqualizerDialog, ReverberationTimesInSecondsWithTheirMean) {
  ScriptedPlatform platform;
  Values v = {12, 1, 2, 2, 2, 2, 0.5};
  std::string unit, label, first, mean;
  platform.scriptDialog(
      "RT 60",
      {Step::check([&](DialogControls& c) {
         unit = c.text(EQD_UNIT_LABEL);
         label = c.text(EQD_SUMMARY_LABEL);
         first = c.text(EQD_EDIT_FIRST);
       }),
       // Position 80 is 2.0 s.
       Step::scroll(EQD_BAR_FIRST, 80),
       Step::check([&](DialogControls& c) { mean = c.text(EQD_SUMMARY); }), Step::click(EQD_OK)});
  ASSERT_TRUE(equalizerDialog(platform, v, EQ_MODE_REVERB_TIME));
  EXPECT_EQ(unit, " s");
  EXPECT_EQ(label, "mean");
  EXPECT_EQ(first, "10.0");  // 12 s is beyond the bar
  // (2 + 1 + 2 * 4 + 0.5) / 7 = 1.64 s.
  EXPECT_EQ(mean, "1.6");
  EXPECT_DOUBLE_EQ(v[0], 2.0);
  EXPECT_DOUBLE_EQ(v[6], 0.5);
  EXPECT_EQ(platform.dialogs().at(0).title, "RT 60");
}

}  // namespace
}  // namespace tav
