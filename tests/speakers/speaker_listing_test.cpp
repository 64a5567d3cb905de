// The loudspeaker listing in a running shell: lines in position order, the
// power of the selected loudspeaker and the totals of the switched-on ones,
// changing one type or all of a type, and the "Loudspeakers Summary" pages.
#include "speakers/speaker_listing.h"

#include <gmock/gmock.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <numbers>

#include "model/number_text.h"
#include "speaker_session_test_support.h"
#include "speakers/ui/speaker_listing_dialog.h"
#include "speakers/ui/speaker_summary_print.h"

namespace tav {
namespace {

using Step = DialogStep;
using ::testing::Contains;
using ::testing::Not;

// HORN: 100 dB / 1 W, maximum power 20 (b + 1) W, Q 1; at -9 dB each band
// draws 20 (b + 1) 10^-0.9 W.
double hornPower(int b) { return 20.0 * (b + 1) * std::pow(10.0, -0.9); }

struct ListingSession : speakertest::LoadedSession {
  void switchOff(ModelObject* o) {
    PlacedSpeaker s = record(o);
    s.switchedOn = 0;
    storeSpeaker(*o, s);
  }
  void listing(DialogScript script) {
    platform.scriptDialog(SPEAKER_LISTING_TITLE, std::move(script));
    menu(CMD_SPEAKER_LISTING);
  }
};

TEST(SpeakerListingLines, NumberTypeAndPositionInMetresOrFeet) {
  EXPECT_EQ(speakerListingLine(7, "CD9040", {4.8f, -5.54f, 6}, false), "007\tCD9040\t4.8,-5.5,6.0");
  EXPECT_EQ(speakerListingLine(1234, "X", {0, 0, 0}, false), "1234\tX\t0.0,0.0,0.0");
  // 1 m = 3.28084 ft; every value followed by a comma.
  EXPECT_EQ(speakerListingLine(12, "SUB", {1, -2, 0.5f}, true), "012\tSUB\t3.3,-6.6,1.6,");
}

TEST(SpeakerListing, SortedByPositionWithPowerOfTheSelectedAndTotalsOfTheSwitchedOn) {
  ListingSession s;
  ModelObject* high = s.addDirect("HORN", {1, 2, 5});
  s.addDirect("HORN", {1, 2, 1});
  ModelObject* off = s.addDirect("SUB", {0, 9, 9});
  s.switchOff(off);
  s.listing({Step::check([&](DialogControls& c) {
               EXPECT_EQ(c.itemText(SL_LIST, 0), "001\tSUB\t0.0,9.0,9.0");
               // Same x and y: ascending z.
               EXPECT_EQ(c.itemText(SL_LIST, 1), "002\tHORN\t1.0,2.0,1.0");
               EXPECT_EQ(c.itemText(SL_LIST, 2), "003\tHORN\t1.0,2.0,5.0");
               // The switched-off one shows no power and counts in no total.
               EXPECT_EQ(c.text(SL_POWER_FIRST), "0.00");
               EXPECT_EQ(c.text(SL_TOTAL_FIRST + 6), formatNumber("%5.2f", 2 * hornPower(6)));
               // 1e-12 F 4 pi / (Q + 1e-6), F = W 10^10: 0.1257 W per watt.
               EXPECT_EQ(c.text(SL_ACOUSTIC_FIRST + 6),
                         formatNumber("%5.2f", 2 * hornPower(6) * 0.04 * std::numbers::pi));
             }),
             Step::select(SL_LIST, 2), Step::check([&](DialogControls& c) {
               EXPECT_EQ(c.text(SL_POWER_FIRST + 1), formatNumber("%3.2f", hornPower(1)));
               EXPECT_TRUE(high->isSelected());
             }),
             Step::click(SL_QUIT)});
  s.run();
  for (ModelObject* o : s.speakers()) EXPECT_FALSE(o->isSelected());
  EXPECT_FALSE(s.project().modified);
}

// "Change all" on a HORN line, then "Change" on one line.
TEST(SpeakerListing, ChangingTypesLeavesTheOldTypeOutOfTheProject) {
  ListingSession s;
  s.addDirect("HORN", {1, 0, 0});
  s.addDirect("OMNI", {2, 0, 0});
  s.addDirect("HORN", {3, 0, 0});
  s.project().modified = false;
  s.chooseType(2);  // SUB for every HORN
  s.chooseType(0);  // OMNI for the third line only
  s.listing({Step::click(SL_CHANGE_ALL), Step::check([](DialogControls& c) {
               EXPECT_EQ(c.itemText(SL_LIST, 0), "001\tSUB\t1.0,0.0,0.0");
               EXPECT_EQ(c.itemText(SL_LIST, 1), "002\tOMNI\t2.0,0.0,0.0");
               EXPECT_EQ(c.itemText(SL_LIST, 2), "003\tSUB\t3.0,0.0,0.0");
             }),
             Step::select(SL_LIST, 2), Step::click(SL_CHANGE_ONE),
             Step::check([](DialogControls& c) {
               EXPECT_EQ(c.itemText(SL_LIST, 0), "001\tSUB\t1.0,0.0,0.0");
               EXPECT_EQ(c.itemText(SL_LIST, 2), "003\tOMNI\t3.0,0.0,0.0");
             }),
             Step::click(SL_QUIT)});
  s.run();
  std::vector<std::string> types;
  for (const auto& t : s.project().speakerTypes) types.push_back(fixedString(t->name));
  std::sort(types.begin(), types.end());
  EXPECT_EQ(types, (std::vector<std::string>{"OMNI", "SUB"}));
  for (ModelObject* o : s.speakers())
    if (s.record(o).position.x == 1) EXPECT_FLOAT_EQ(s.record(o).nominalPower, 700);
  EXPECT_TRUE(s.project().modified);
}

TEST(SpeakerListing, ATypeThatCannotBeLoadedChangesNothing) {
  ListingSession s;
  s.addDirect("HORN", {1, 0, 0});
  s.chooseType(2);  // SUB, but the database file has gone by then
  std::filesystem::remove(s.databasePath);
  s.listing({Step::click(SL_CHANGE_ONE), Step::check([](DialogControls& c) {
               EXPECT_EQ(c.itemText(SL_LIST, 0), "001\tHORN\t1.0,0.0,0.0");
             }),
             Step::click(SL_QUIT)});
  s.run();
  EXPECT_EQ(s.messages(), (std::vector<std::string>{"Can\u00B4t load loudspeaker"}));
}

TEST(SpeakerListing, SummaryOfFortyFiveLoudspeakersTakesTwoPagesWithTheTotalsLast) {
  ListingSession s;
  // A wall ahead of the loudspeakers for their aim points; the last one,
  // switched off, stands beside it and has none.
  s.add(test::makeFace({{10, -1, -1}, {10, 1, -1}, {10, 1, 1}, {10, -1, 1}}));
  for (int i = 0; i < 45; ++i)
    s.addDirect("OMNI", {float(i) / 10, i == 44 ? 5.0f : 0.0f, 0}, "L" + std::to_string(i));
  s.switchOff(s.speakers().front());
  s.listing({Step::click(SL_PRINT)});
  s.run();
  ASSERT_EQ(s.platform.prints().size(), 1u);
  const PrintRecord& print = s.platform.prints()[0];
  EXPECT_EQ(print.title, "Loudspeakers Summary");
  ASSERT_EQ(print.pages.size(), 2u);
  const ScriptedCanvas& first = print.pages[0];
  const ScriptedCanvas& second = print.pages[1];
  for (const char* t : {"Loudspeakers Summary - Page 1", "Taviron 2.90", "PROJECT1.TPR", "Aim X",
                        "W 8 k", "44", "GENERIC", "L0", " 4.3", "0 \u00B0", "0.000", "10.0"})
    EXPECT_THAT(first.texts(), Contains(t));
  EXPECT_THAT(first.texts(), Not(Contains("45")));
  EXPECT_THAT(first.texts(), Not(Contains("Total speaker input power :")));
  for (const char* t :
       {"45", "L44", " 5.0", "---", "Total speaker input power :", "Total acoustic power :"})
    EXPECT_THAT(second.texts(), Contains(t));
  // OMNI: maximum power 10 (b + 1) W at -9 dB, 44 switched on: at 8 kHz
  // 44 x 70 x 10^-0.9 = 387.7 W in total.
  EXPECT_THAT(second.texts(), Contains(formatNumber("%4.1f", 44 * 70 * std::pow(10.0, -0.9))));
  for (const DrawCall& c : second.callsOf(DrawKind::Text)) {
    EXPECT_LE(c.points[0].x, second.width());
    EXPECT_LT(c.points[0].y, second.height());
  }
}

TEST(SpeakerListing, CellSizeFollowsThePageWidth) {
  // Page width, row height, character width.
  const int cases[][3] = {{6000, 72, 32}, {5999, 42, 18}, {3600, 42, 18},
                          {3599, 36, 16}, {3000, 36, 16}, {2999, 18, 8}};
  for (const auto& [width, rowHeight, charWidth] : cases) {
    EXPECT_EQ(speakerSummaryCell(width).rowHeight, rowHeight) << width;
    EXPECT_EQ(speakerSummaryCell(width).charWidth, charWidth) << width;
  }
}

}  // namespace
}  // namespace tav
