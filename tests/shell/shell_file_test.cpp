// File commands through the shell: start-up, New, Open, Save as, the recent
// projects, discarding unsaved work, importing objects, printing.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "model/history_file.h"
#include "model/project_file.h"
#include "platform/keys.h"
#include "shell/print_layout.h"
#include "shell_test_util.h"

namespace tav::test {
namespace {

namespace fs = std::filesystem;

TEST(ShellFile, SaveAsNewOpenRoundTripWithTitleAndRecentList) {
  ShellSession s;
  EXPECT_TRUE(s.window().startupShown());
  EXPECT_FALSE(fs::exists(s.dir.file("HISTORY.TVX")));  // nothing written yet
  s.add(makeSquare(0, 0, 2));
  s.add(makeLine({0, 0, 0}, {0, 0, 3}, LAYER_AUX));
  const std::string chosen = s.dir.file("room");
  const std::string saved = chosen + ".TPR";
  s.platform.answerSaveFile(chosen);
  s.menu(CMD_SAVE_AS);
  s.check([&] {
    EXPECT_TRUE(fs::exists(saved));
    EXPECT_FALSE(s.project().modified);
    EXPECT_EQ(s.window().title(), "Taviron 2.90 > " + saved);
    EXPECT_EQ(s.window().menuItemText(CMD_RECENT_FIRST), saved);
  });
  s.menu(CMD_NEW);  // saved: no question
  s.check([&] {
    EXPECT_TRUE(s.project().objects.empty());
    EXPECT_EQ(s.window().title(), "Taviron 2.90 > PROJECT1.TPR");
  });
  s.platform.answerOpenFile(saved);
  s.menu(CMD_OPEN);
  s.run();
  EXPECT_EQ(s.project().objects.countObjects(), 2u);
  EXPECT_EQ(s.project().name, saved);  // the path keeps its case
  ASSERT_EQ(s.platform.fileDialogs().size(), 2u);
  EXPECT_EQ(s.platform.fileDialogs()[0].request.filter, "*.Taviron Project|*.tpr|");
  EXPECT_EQ(s.platform.fileDialogs()[0].request.fileName, "PROJECT1.TPR");
  EXPECT_EQ(s.platform.fileDialogs()[1].request.filter, "Taviron Project|*.tpr|");
  EXPECT_EQ(s.platform.fileDialogs()[1].request.folder, s.dir.path.string());
  EXPECT_EQ(loadHistory(s.dir.file("HISTORY.TVX")).recent[0], saved);
}

TEST(ShellFile, AnUnansweredDiscardQuestionCancels) {
  // When it asks is the project's test, the answers the UnsavedWork table's.
  ShellSession s;
  s.add(makeSquare(0, 0, 2));
  s.menu(CMD_NEW);  // unanswered: Enter presses the default, Cancel
  s.run();
  EXPECT_EQ(s.project().objects.countObjects(), 1u);
  ASSERT_EQ(s.platform.messages().size(), 1u);
  EXPECT_EQ(s.platform.messages()[0].icon, MessageIcon::Warning);
}

TEST(ShellFile, RecentFileMovedAwayLeavesTheModel) {
  ShellSession s;
  s.add(makeSquare(0, 0, 2));
  const std::string path = s.dir.file("hall.TPR");
  ASSERT_TRUE(saveProjectAs(s.project(), path).empty());
  s.shell.updateHistory();
  fs::rename(path, s.dir.file("elsewhere.TPR"));
  s.add(makeSquare(5, 5, 1));  // unsaved work; the user agrees to drop it
  s.platform.answerMessage(MessageResult::Ok);
  s.menu(CMD_RECENT_FIRST);
  s.run();
  ASSERT_EQ(s.platform.messages().size(), 2u);
  EXPECT_EQ(s.platform.messages()[1].text, "Can\u00B4t locate file");
  EXPECT_EQ(s.project().objects.countObjects(), 2u);
  EXPECT_EQ(s.project().name, path);
}

TEST(ShellFile, ImportRoomGeometryFollowsTheCursorAndEscapeLeavesItAsRead) {
  // What is taken from the file and how it is marked is the merge's own test.
  ShellSession s;
  s.xyView(100.0f);
  const std::string source = s.dir.file("source.TPR");
  Project other;
  other.objects.appendObject(makeSquare(0, 0, 1));
  ASSERT_TRUE(saveProjectAs(other, source).empty());
  s.platform.answerOpenFile(source);
  s.menu(CMD_ROOM_IMPORT_GEOMETRY);
  s.check([&] { EXPECT_EQ(s.window().promptText(), "IMPORT > Basepoint :"); });
  s.clickAt(0, 0);
  s.clickAt(2, 1);
  s.check([&] {
    EXPECT_EQ(s.project().objects.head()->nodes[0], (Node{2, 1, 0}));
    EXPECT_FALSE(s.project().objects.head()->isSelected());
  });
  // Insert File into AUX drawing, Escape at the offset point.
  s.platform.answerOpenFile(source);
  s.menu(CMD_AUX_INSERT_FILE);
  s.clickAt(0, 0);
  s.escape();
  s.run();
  const ModelObject* aux = s.project().objects.head();
  EXPECT_EQ(aux->layer, LAYER_AUX);
  EXPECT_EQ(aux->nodes[0], (Node{0, 0, 0}));
  EXPECT_FALSE(aux->isSelected());
}

TEST(ShellFile, PrintAndClipboard) {
  ShellSession s;
  s.xyView(20.0f);  // 800 x 600 pixels show 40 m x 30 m
  s.add(makeSquare(-5, -5, 10));
  std::memcpy(s.project().printHeader.rows[0].label, "Project", 7);
  std::memcpy(s.project().printHeader.rows[0].value, "Hall A", 6);
  s.menu(CMD_PRINT);
  s.menu(CMD_COPY_TO_CLIPBOARD);
  s.run();
  ASSERT_EQ(s.platform.prints().size(), 1u);
  ASSERT_EQ(s.platform.prints()[0].pages.size(), 1u);
  ASSERT_EQ(s.platform.clipboard().size(), 1u);
  EXPECT_EQ(s.platform.clipboard()[0].width, 800);
  // The title block carries the print header and the scale: an A4 page at
  // 100 dpi leaves 7.27 x 9.19 inches; 40 m need more than 1:200 (~5.5 m
  // per 0.185 m), so 1:500.
  const ScriptedCanvas& page = s.platform.prints()[0].pages[0];
  bool header = false, scale = false;
  for (const DrawCall& c : page.calls()) {
    header = header || c.text == "Hall A";
    scale = scale || c.text == "Scale 1:500";
  }
  EXPECT_TRUE(header);
  EXPECT_TRUE(scale);
}

TEST(ShellFile, PlotScales) {
  EXPECT_EQ(plotScaleDenominator(40, 30, 0.2, 0.2), 200.0);
  EXPECT_EQ(plotScaleDenominator(0.1, 0.1, 0.2, 0.2), 1.0);
  EXPECT_EQ(plotScaleDenominator(1.01, 0.1, 0.2, 0.2), 10.0);
  EXPECT_EQ(plotScaleDenominator(1.0, 0.1, 0.2, 0.2), 5.0);
}

}  // namespace
}  // namespace tav::test
