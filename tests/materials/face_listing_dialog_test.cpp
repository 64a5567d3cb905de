// The "Face Listing" dialog in a running shell: the list and its groups, the
// marker of the selected face, changing and replacing materials through the
// material dialog, feet, and the printed summary.
#include "materials/ui/face_listing_dialog.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "material_test_support.h"
#include "materials/absorber_database.h"
#include "materials/ui/acoustics_commands.h"
#include "materials/ui/material_commands.h"
#include "materials/ui/room_summary_print.h"
#include "materials/ui/select_material_dialog.h"
#include "shell/shell_test_util.h"
#include "support/model_builders.h"

namespace tav {
namespace {

using Step = DialogStep;

bool hasText(const ScriptedCanvas& canvas, const std::string& text) {
  const std::vector<std::string> texts = canvas.texts();
  return std::find(texts.begin(), texts.end(), text) != texts.end();
}

// A shell with the acoustics commands and a database of two materials:
// Concrete (0.02) and Carpet (0.3).
struct ListingSession : test::ShellSession {
  ListingSession() {
    registerAcousticsCommands(shell.registry());
    const std::string path = dir.file("MATERIALS.TAB");
    test::writeDatabase(path, {{"Concrete", 0.02f}, {"Carpet", 0.3f}});
    EXPECT_TRUE(loadAbsorberDatabaseFile(shell.session().absorberDatabase, path).loaded);
  }
  // The closed 10 m box, every face with slot 1 "Tenth" (0.1).
  void box() {
    project().materials.slots.push_back(test::makeMaterial("Tenth", test::uniformAlpha(0.1f)));
    test::BoxOptions o;
    o.materials.fill(1);
    test::addBox(project().objects, {0, 0, 0}, {10, 10, 10}, o);
    project().modified = false;
  }
  void listing(DialogScript script) {
    platform.scriptDialog(FACE_LISTING_TITLE, std::move(script));
    platform.pushMenu(CMD_FACE_LIST);
  }
  static Step inspect(std::function<void(DialogControls&)> f) { return Step::check(std::move(f)); }
};

// The list, the marker of the selected face; "Change" gives one face a
// material, "Replace" every face of the selected face's material, freeing
// its slot. The marker goes with the dialog.
TEST(FaceListingDialog, ListsAndMarksFacesAndChangesAndReplacesMaterials) {
  ListingSession s;
  s.box();
  const ModelObject* box = &*s.project().objects.begin();
  s.platform.scriptDialog(SELECT_MATERIAL_DIALOG_TITLE,
                          {Step::select(SAM_LIST, 1), Step::click(SAM_OK)});
  s.platform.scriptDialog(SELECT_MATERIAL_DIALOG_TITLE,
                          {Step::select(SAM_LIST, 0), Step::click(SAM_OK)});
  s.listing({ListingSession::inspect([&](DialogControls& c) {
               ASSERT_EQ(c.itemCount(FL_LIST), 6);
               EXPECT_EQ(c.itemText(FL_LIST, 0), "001\t  100.0\tTenth");
               EXPECT_EQ(c.text(FL_FACE_SHARE), "16.7%");
               EXPECT_EQ(c.text(FL_MATERIAL_FIRST + 6), "   60.0");
               EXPECT_EQ(c.text(FL_TOTAL_AREA), "600.0 m\u00B2");
               // The marker (its line is the listing's own test), on the wall x = 0.
               ASSERT_EQ(s.project().objects.countObjects(), 2u);
               EXPECT_EQ(s.project().objects.tail()->nodes.at(0), (Node{0, 5, 5}));
             }),
             // Equal areas: the ceiling, the only face not starting at z = 0, is last.
             Step::select(FL_LIST, 5), ListingSession::inspect([&](DialogControls&) {
               ASSERT_EQ(s.project().objects.countObjects(), 2u) << "one marker at a time";
               EXPECT_FLOAT_EQ(s.project().objects.tail()->nodes.at(0).z, 10.0f);
             }),
             Step::click(FL_CHANGE_MATERIAL), ListingSession::inspect([](DialogControls& c) {
               EXPECT_EQ(c.itemText(FL_LIST, 5), "006\t  100.0\tCarpet");
               EXPECT_EQ(c.text(FL_TOTAL_FIRST), " 80.0");  // 5 × 10 + 30 Sabines
             }),
             Step::select(FL_LIST, 2), Step::click(FL_REPLACE_MATERIAL),
             ListingSession::inspect([](DialogControls& c) {
               EXPECT_EQ(c.itemText(FL_LIST, 5).substr(12), "Carpet");
               EXPECT_EQ(c.text(FL_TOTAL_FIRST), " 40.0");  // 5 × 2 + 30 Sabines
             }),
             Step::click(FL_QUIT)});
  s.run();
  EXPECT_EQ(s.project().objects.countObjects(), 1u);
  const ProjectMaterials& m = s.project().materials;
  ASSERT_EQ(m.count(), 4u);
  EXPECT_STREQ(m.slots[3].name, "Concrete");
  EXPECT_TRUE(m.slots[1].isFree());
  // The ceiling is the sixth polygon of the box: index entries 5 · 5 on.
  EXPECT_EQ(box->indices[5 * 5 + 1].ref, 2);
  for (int f = 0; f < 5; ++f) EXPECT_EQ(box->indices[f * 5 + 1].ref, 3) << f;
  EXPECT_TRUE(s.shell.session().undo.canUndo());
}

TEST(FaceListingDialog, PrintMakesTheRoomFacesSummaryAfterTheDialogCloses) {
  ListingSession s;
  // 80 unit squares with the default material "100%" (1.0): two pages.
  for (int i = 0; i < 80; ++i)
    s.add(test::makeSquare(static_cast<float>(i % 10) * 2, static_cast<float>(i / 10) * 2, 1));
  s.listing({Step::click(FL_PRINT)});
  // A second time with no printer: nothing is printed, nothing breaks.
  s.check([&] { s.platform.setPrinterAvailable(false); });
  s.listing({Step::click(FL_PRINT)});
  s.run();
  ASSERT_EQ(s.platform.prints().size(), 1u);
  const PrintRecord& print = s.platform.prints()[0];
  EXPECT_EQ(print.title, "Room Faces Summary");
  ASSERT_EQ(print.pages.size(), 2u);
  const ScriptedCanvas& first = print.pages[0];
  const ScriptedCanvas& second = print.pages[1];
  for (const char* t : {"Room Faces Summary - Page 1", "Zmax", "Sa 8 k", " 72", "1.2%", "100%"})
    EXPECT_TRUE(hasText(first, t)) << t;
  EXPECT_FALSE(hasText(first, " 73"));
  EXPECT_FALSE(hasText(first, "Total"));
  for (const char* t : {" 73", " 80", "   80.0 m\u00B2", "Sabine Total"})
    EXPECT_TRUE(hasText(second, t)) << t;
  // Ruled with column lines; everything stays inside the page.
  EXPECT_GE(first.callsOf(DrawKind::Line).size(), 16u);
  for (const DrawCall& c : second.callsOf(DrawKind::Text))
    EXPECT_LT(c.points[0].y, second.height());
}

TEST(FaceListingDialog, FeetShowSquareFeetOnScreenAndOnPaper) {
  ListingSession s;
  s.shell.session().units.feet = true;
  s.add(test::makeSquare(0, 0, 1));
  s.listing({ListingSession::inspect(
                 [](DialogControls& c) { EXPECT_EQ(c.text(FL_FACE_AREA), "10.8 ft\u00B2"); }),
             Step::click(FL_PRINT)});
  s.run();
  EXPECT_TRUE(hasText(s.platform.prints().at(0).pages.at(0), " 3.3"));  // 1 m = 3.28 ft
}

TEST(FaceListingDialog, SummaryMetricsFollowThePageWidth) {
  EXPECT_EQ(roomSummaryMetrics(4960).lineHeight, 72);
  EXPECT_EQ(roomSummaryMetrics(4600).charWidth, 32);
  EXPECT_EQ(roomSummaryMetrics(4599).lineHeight, 36);
  EXPECT_EQ(roomSummaryMetrics(2300).charWidth, 16);
  EXPECT_EQ(roomSummaryMetrics(2299).lineHeight, 18);
  EXPECT_EQ(roomSummaryMetrics(827).charWidth, 8);
}

TEST(FaceListingDialog, NoRoomFacesShowsNothing) {
  ListingSession s;
  s.add(test::makeSquare(0, 0, 1, 0, LAYER_AUDIENCE));
  s.platform.pushCommand(CMD_FACE_LIST);
  s.run();
  EXPECT_TRUE(s.platform.dialogs().empty());
  EXPECT_TRUE(s.platform.messages().empty());
}

}  // namespace
}  // namespace tav
