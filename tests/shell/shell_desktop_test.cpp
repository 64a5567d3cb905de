// File > Save, the Save/Discard/Cancel question, standard shortcuts, key
// names in the shortcut column, hidden empty recent slots, tooltips, wheel
// zoom, middle-button pan and the coordinate read-out.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <set>

#include "model/project_file.h"
#include "model/save_file.h"
#include "platform/keys.h"
#include "shell/command_ids.h"
#include "shell/coordinate_text.h"
#include "shell/menu_table.h"
#include "shell/panel_template.h"
#include "shell/point_snap.h"
#include "shell_test_util.h"

namespace tav::test {
namespace {

namespace fs = std::filesystem;

void writeProject(const std::string& path, int squares) {
  Project p;
  newProject(p);
  for (int i = 0; i < squares; ++i) p.objects.appendObject(makeSquare(3.0f * i, 0, 2));
  ASSERT_TRUE(saveProjectAs(p, path).empty());
}

TEST(ShellDesktop, SaveRewritesTheOpenFileKeepsTheBackupAndTheTitleKeepsTheCase) {
  ShellSession s;
  fs::create_directories(s.dir.path / "Halls");
  const std::string path = (s.dir.path / "Halls" / "Main Hall.tpr").string();
  writeProject(path, 1);
  const std::vector<std::uint8_t> before = readWholeFile(path).value();
  ASSERT_TRUE(s.shell.openProjectFile(path));
  s.check([&] { s.add(makeSquare(5, 5, 1)); });
  s.platform.pushShortcut(StandardShortcut::Save);
  s.platform.pushMenu(CMD_SAVE_AS);  // starts in the project's own folder
  s.run();
  ASSERT_EQ(s.platform.fileDialogs().size(), 1u);  // Save asked for no name
  EXPECT_EQ(s.platform.fileDialogs()[0].request.folder, (s.dir.path / "Halls").string());
  EXPECT_EQ(s.platform.fileDialogs()[0].request.fileName, "Main Hall.tpr");
  EXPECT_EQ(s.window().title(), "Taviron 2.90 > " + path);
  EXPECT_EQ(readWholeFile((s.dir.path / "Halls" / "Main Hall_old.TPR").string()), before);
  EXPECT_EQ(loadProject(path).project.objects.countObjects(), 2u);
}

// The unsaved-work question before New.
struct DiscardCase {
  const char* name;
  MessageResult answer;
  bool hasFile;   // opened from a file, else new and unnamed
  bool giveName;  // the Save as dialog of an unnamed project gets the path
  bool goesOn;    // New replaces the model
  bool written;   // the work is on disk afterwards
};

class UnsavedWork : public testing::TestWithParam<DiscardCase> {};

TEST_P(UnsavedWork, AnswerDecides) {
  const DiscardCase& c = GetParam();
  ShellSession s;
  const std::string path = s.dir.file("work.TPR");
  if (c.hasFile) {
    writeProject(path, 1);
    ASSERT_TRUE(s.shell.openProjectFile(path));
  }
  s.add(makeSquare(9, 9, 1));
  const std::size_t count = s.project().objects.countObjects();
  s.platform.answerMessage(c.answer);
  if (c.giveName) s.platform.answerSaveFile(path);
  s.platform.pushMenu(CMD_NEW);
  s.run();
  ASSERT_EQ(s.platform.messages().size(), 1u);
  EXPECT_EQ(s.platform.messages()[0].buttons, MessageButtons::SaveDiscardCancel);
  EXPECT_EQ(s.project().objects.empty(), c.goesOn);
  const ProjectLoadResult onDisk = loadProject(path);
  EXPECT_EQ(onDisk.ok() && onDisk.project.objects.countObjects() == count, c.written);
  // A new project's Save as starts at home, never in the data folder.
  for (const FileDialogRecord& d : s.platform.fileDialogs())
    EXPECT_EQ(d.request.folder, s.dir.file("home"));
}

INSTANTIATE_TEST_SUITE_P(
    ShellDesktop, UnsavedWork,
    testing::Values(DiscardCase{"SaveToItsFile", MessageResult::Save, true, false, true, true},
                    DiscardCase{"SaveUnnamed", MessageResult::Save, false, true, true, true},
                    DiscardCase{"SaveCancelled", MessageResult::Save, false, false, false, false},
                    DiscardCase{"Discard", MessageResult::Discard, true, false, true, false},
                    DiscardCase{"Cancel", MessageResult::Cancel, true, false, false, false}),
    [](const testing::TestParamInfo<DiscardCase>& info) { return std::string(info.param.name); });

TEST(ShellDesktop, MenusBindStandardKeysShowKeyNamesApartAndHideEmptyRecentSlots) {
  ShellSession s;
  const std::pair<StandardShortcut, int> keys[] = {
      {StandardShortcut::New, CMD_NEW},     {StandardShortcut::Open, CMD_OPEN},
      {StandardShortcut::Save, CMD_SAVE},   {StandardShortcut::SaveAs, CMD_SAVE_AS},
      {StandardShortcut::Print, CMD_PRINT}, {StandardShortcut::Undo, CMD_UNDO},
      {StandardShortcut::Redo, CMD_REDO},   {StandardShortcut::Quit, CMD_EXIT}};
  for (const auto& [shortcut, command] : keys)
    EXPECT_EQ(s.window().itemWithShortcut(shortcut), command);
  // "Of&f F9", "Zoom &All (F7)": the key goes to the shortcut column; F1..F12 only.
  EXPECT_EQ(s.window().menuItem(CMD_COORD_SNAP_OFF)->text, "Of&f");
  EXPECT_EQ(s.window().menuItem(CMD_COORD_SNAP_OFF)->keyHint, "F9");
  EXPECT_EQ(s.window().menuItem(CMD_ZOOM_ALL)->keyHint, "F7");
  EXPECT_EQ(splitKeyHint("Item F12").keyHint, "F12");
  EXPECT_EQ(splitKeyHint("Item F13").text, "Item F13");
  EXPECT_EQ(splitKeyHint("Item (F0)").keyHint, "");
  for (int n = CMD_RECENT_FIRST; n <= CMD_RECENT_LAST; ++n)
    EXPECT_FALSE(s.window().menuItemVisible(n)) << n;
  s.add(makeSquare(0, 0, 1));
  s.platform.answerSaveFile(s.dir.file("R&D.TPR"));
  s.platform.pushMenu(CMD_SAVE_AS);
  s.run();
  EXPECT_TRUE(s.window().menuItemVisible(CMD_RECENT_FIRST));
  EXPECT_EQ(s.window().menuItemText(CMD_RECENT_FIRST), s.dir.file("R&&D.TPR"));
  EXPECT_FALSE(s.window().menuItemVisible(CMD_RECENT_FIRST + 1));
}

TEST(ShellDesktop, UnbuiltCommandsSaySoUntilRegisteredAndPanelControlsHaveTooltips) {
  ShellSession s;
  EXPECT_EQ(s.window().menuItemTip(CMD_ROOM_CHECK), TIP_NOT_BUILT);
  EXPECT_FALSE(s.window().menuItemEnabled(CMD_ROOM_CHECK));
  s.shell.registry().add(CMD_ROOM_CHECK, [](CommandContext&) {});
  s.shell.refreshStates();
  EXPECT_TRUE(s.window().menuItemEnabled(CMD_ROOM_CHECK));
  EXPECT_NE(s.window().menuItemTip(CMD_ROOM_CHECK).find("Room check"), std::string::npos);
  std::set<std::string> tips;
  for (const ControlTemplate& c : panelTemplate().controls)
    if (c.kind == ControlKind::PushButton || c.kind == ControlKind::CheckBox ||
        c.kind == ControlKind::RadioButton)
      tips.insert(c.tooltip);
  EXPECT_EQ(tips.size(), 13u);  // 13 buttons and boxes, each its own
  EXPECT_FALSE(tips.count(""));
}

TEST(ShellDesktop, WheelZoomsAboutThePointerAndMiddleDragPans) {
  ShellSession s;
  s.xyView(100);
  // (600, 150) is (2, 1.5) m at 100 px/m; it stays under the pointer.
  s.platform.pushWheel({600, 150}, 120);
  s.check([&] {
    EXPECT_FLOAT_EQ(s.shell.view().zoom, 125.0f);
    EXPECT_NEAR(screenToModel(s.shell.view(), 600, AXIS_H), 2.0, 1e-5);
    EXPECT_NEAR(screenToModel(s.shell.view(), 150, AXIS_V), 1.5, 1e-5);
  });
  // Dragged 50 px right and 100 px up: the drawing follows the pointer.
  s.platform.pushMiddleDrag({600, 150}, {650, 50});
  s.run();
  EXPECT_NEAR(screenToModel(s.shell.view(), 650, AXIS_H), 2.0, 1e-5);
  EXPECT_NEAR(screenToModel(s.shell.view(), 50, AXIS_V), 1.5, 1e-5);
}

TEST(ShellDesktop, ReadOutFollowsZoomKeysAndNeverShowsMinusZero) {
  ShellSession s;
  s.xyView(100);
  auto field = [&](int id) { return s.window().panel()->text(id); };
  // (-0.01, -0.01) m, which the 0.5 m snap truncates to 0, not -0.
  s.platform.pushMouseMove({399, 301});
  s.check([&] {
    EXPECT_EQ(field(PANEL_FIELD_X), "0.000");
    EXPECT_FALSE(std::signbit(s.shell.input().current.x));
    s.project().settings.cursorSnapOn = false;
  });
  s.platform.pushMouseMove({399, 301});
  // F5 halves the zoom under the resting mouse: the point under it doubles.
  s.platform.pushKey(keyF(5));
  s.check([&] { EXPECT_EQ(field(PANEL_FIELD_X), "-0.020"); });
  s.platform.pushKey(keyF(2));  // YZ: across is y, up is z; x keeps its value
  s.run();
  EXPECT_EQ(field(PANEL_FIELD_X), "-0.020");
  EXPECT_EQ(field(PANEL_FIELD_Y), "-0.020");
  EXPECT_EQ(field(PANEL_FIELD_Z), "-0.020");
  // Feet turn tiny negative values into text too: never "-0.000".
  EXPECT_EQ(formatCoordinate(-0.0004, 3), "0.000");
  EXPECT_EQ(formatCoordinate(-0.0006, 3), "-0.001");
}

}  // namespace
}  // namespace tav::test
