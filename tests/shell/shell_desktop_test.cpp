// What a Linux desktop user expects beside the described keys and menus:
// File > Save, the Save/Discard/Cancel question, standard shortcuts, key
// names in the shortcut column, hidden empty recent slots, tooltips, wheel
// zoom and middle-button pan, and the coordinate read-out.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <tuple>

#include "model/project_file.h"
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

std::vector<char> bytesOf(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// A project file with `squares` squares, written at `path`.
void writeProject(const std::string& path, int squares) {
  Project p;
  newProject(p);
  for (int i = 0; i < squares; ++i) p.objects.appendObject(makeSquare(3.0f * i, 0, 2));
  ASSERT_TRUE(saveProjectAs(p, path).empty());
}

TEST(ShellDesktop, SaveRewritesTheOpenFileKeepsTheBackupAndTheTitleKeepsTheCase) {
  ShellSession s;
  // Mixed case in folder and name: the title and the file written keep it.
  const fs::path folder = s.dir.path / "Halls";
  fs::create_directories(folder);
  const std::string path = (folder / "Main Hall.tpr").string();
  writeProject(path, 1);
  const std::vector<char> before = bytesOf(path);
  ASSERT_TRUE(s.shell.openProjectFile(path));
  EXPECT_EQ(s.window().title(), "Taviron 2.90 > " + path);
  s.check([&] { s.add(makeSquare(5, 5, 1)); });
  s.platform.pushShortcut(StandardShortcut::Save);
  s.run();
  EXPECT_TRUE(s.platform.fileDialogs().empty());  // no name asked for
  EXPECT_TRUE(s.platform.messages().empty());
  EXPECT_FALSE(s.project().modified);
  EXPECT_EQ(s.window().title(), "Taviron 2.90 > " + path);
  EXPECT_EQ(bytesOf((folder / "Main Hall_old.TPR").string()), before);
  const ProjectLoadResult saved = loadProject(path);
  ASSERT_TRUE(saved.ok());
  EXPECT_EQ(saved.project.objects.countObjects(), 2u);
  EXPECT_EQ(s.shell.session().history.recent[0], path);
}

TEST(ShellDesktop, SaveOfANewProjectAsksForANameStartingAtHome) {
  ShellSession s;
  s.add(makeSquare(0, 0, 2));
  s.platform.answerSaveFile(std::nullopt);
  s.platform.pushMenu(CMD_SAVE);
  // Save as of a saved project starts in its folder.
  const std::string elsewhere = (s.dir.path / "sub").string();
  fs::create_directories(elsewhere);
  s.platform.answerSaveFile(elsewhere + "/room");
  s.platform.pushMenu(CMD_SAVE_AS);
  s.platform.answerSaveFile(std::nullopt);
  s.platform.pushMenu(CMD_SAVE_AS);
  s.run();
  ASSERT_EQ(s.platform.fileDialogs().size(), 3u);
  EXPECT_TRUE(s.platform.fileDialogs()[0].save);
  EXPECT_EQ(s.platform.fileDialogs()[0].request.folder, s.dir.file("home"));
  EXPECT_EQ(s.platform.fileDialogs()[0].request.fileName, "PROJECT1.TPR");
  EXPECT_EQ(s.platform.fileDialogs()[1].request.folder, s.dir.file("home"));
  EXPECT_EQ(s.platform.fileDialogs()[2].request.folder, elsewhere);
  EXPECT_EQ(s.platform.fileDialogs()[2].request.fileName, "room.TPR");
}

// The unsaved-work question before New.
struct DiscardCase {
  const char* name;
  MessageResult answer;
  bool hasFile;                           // the project was opened from a file
  std::optional<std::string> saveAnswer;  // Save as dialog of an unnamed project
  bool goesOn;                            // New replaces the model
  bool written;                           // the work is on disk afterwards
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
  if (c.saveAnswer) s.platform.answerSaveFile(*c.saveAnswer == "-" ? path : *c.saveAnswer);
  s.platform.pushMenu(CMD_NEW);
  s.run();
  ASSERT_EQ(s.platform.messages().size(), 1u);
  EXPECT_EQ(s.platform.messages()[0].buttons, MessageButtons::SaveDiscardCancel);
  EXPECT_EQ(s.project().objects.empty(), c.goesOn);
  if (!c.goesOn) EXPECT_EQ(s.project().objects.countObjects(), count);
  const ProjectLoadResult onDisk = loadProject(path);
  EXPECT_EQ(onDisk.ok() && onDisk.project.objects.countObjects() == count, c.written);
}

INSTANTIATE_TEST_SUITE_P(
    ShellDesktop, UnsavedWork,
    testing::Values(
        DiscardCase{"SaveToItsFile", MessageResult::Save, true, std::nullopt, true, true},
        DiscardCase{"SaveUnnamedGivesAName", MessageResult::Save, false, "-", true, true},
        DiscardCase{"SaveUnnamedCancelled", MessageResult::Save, false, std::nullopt, false, false},
        DiscardCase{"Discard", MessageResult::Discard, true, std::nullopt, true, false},
        DiscardCase{"Cancel", MessageResult::Cancel, true, std::nullopt, false, false}),
    [](const testing::TestParamInfo<DiscardCase>& info) { return std::string(info.param.name); });

TEST(ShellDesktop, StandardShortcutsReachTheirCommands) {
  const std::pair<StandardShortcut, int> table[] = {
      {StandardShortcut::New, CMD_NEW},     {StandardShortcut::Open, CMD_OPEN},
      {StandardShortcut::Save, CMD_SAVE},   {StandardShortcut::SaveAs, CMD_SAVE_AS},
      {StandardShortcut::Print, CMD_PRINT}, {StandardShortcut::Undo, CMD_UNDO},
      {StandardShortcut::Redo, CMD_REDO},   {StandardShortcut::Quit, CMD_EXIT}};
  ShellSession s;
  for (const auto& [shortcut, command] : table)
    EXPECT_EQ(s.window().itemWithShortcut(shortcut), command);
  // Ctrl+Z takes a step back, Ctrl+Shift+Z brings it again.
  s.shell.registry().add(CMD_ROOM_POLYLINE, [](CommandContext& ctx) {
    ctx.project().objects.appendObject(makeSquare(0, 0, 1));
  });
  s.platform.pushMenu(CMD_ROOM_POLYLINE);
  s.platform.pushShortcut(StandardShortcut::Undo);
  s.check([&] { EXPECT_TRUE(s.project().objects.empty()); });
  s.platform.pushShortcut(StandardShortcut::Redo);
  s.run();
  EXPECT_EQ(s.project().objects.countObjects(), 1u);
}

struct HintCase {
  const char* name;
  const char* text;
  const char* label;
  const char* hint;
};

class KeyHints : public testing::TestWithParam<HintCase> {};

TEST_P(KeyHints, KeyNamesGoToTheShortcutColumn) {
  const MenuLabel l = splitKeyHint(GetParam().text);
  EXPECT_EQ(l.text, GetParam().label);
  EXPECT_EQ(l.keyHint, GetParam().hint);
}

INSTANTIATE_TEST_SUITE_P(
    ShellDesktop, KeyHints,
    testing::Values(HintCase{"SnapOff", "Of&f F9", "Of&f", "F9"},
                    HintCase{"NodeSnapOn", "O&n F11", "O&n", "F11"},
                    HintCase{"InBrackets", "Zoom &All (F7)", "Zoom &All", "F7"},
                    HintCase{"LastKey", "Item F12", "Item", "F12"},
                    HintCase{"NoSuchKey", "Item F13", "Item F13", ""},
                    HintCase{"NoKeyZero", "Item (F0)", "Item (F0)", ""},
                    HintCase{"Letters", "1 Unit = 1 &ft", "1 Unit = 1 &ft", ""},
                    HintCase{"OneWord", "F9", "F9", ""}),
    [](const testing::TestParamInfo<HintCase>& info) { return std::string(info.param.name); });

TEST(ShellDesktop, MenuShowsKeysApartHidesEmptyRecentSlotsAndNotesUnbuiltCommands) {
  ShellSession s;
  const MenuItemState* snapOff = s.window().menuItem(CMD_COORD_SNAP_OFF);
  ASSERT_NE(snapOff, nullptr);
  EXPECT_EQ(snapOff->text, "Of&f");
  EXPECT_EQ(snapOff->keyHint, "F9");
  for (int n = CMD_RECENT_FIRST; n <= CMD_RECENT_LAST; ++n)
    EXPECT_FALSE(s.window().menuItemVisible(n)) << n;
  // A path with '&' shows as itself.
  const std::string saved = s.dir.file("R&D.TPR");
  s.add(makeSquare(0, 0, 1));
  s.platform.answerSaveFile(saved);
  s.platform.pushMenu(CMD_SAVE_AS);
  s.check([&] {
    EXPECT_TRUE(s.window().menuItemVisible(CMD_RECENT_FIRST));
    EXPECT_EQ(s.window().menuItemText(CMD_RECENT_FIRST), s.dir.file("R&&D.TPR"));
    EXPECT_FALSE(s.window().menuItemVisible(CMD_RECENT_FIRST + 1));
  });
  // The note of an unbuilt command goes once its handler is registered.
  s.check([&] {
    EXPECT_EQ(s.window().menuItemTip(CMD_ROOM_CHECK), TIP_NOT_BUILT);
    EXPECT_FALSE(s.window().menuItemEnabled(CMD_ROOM_CHECK));
    EXPECT_EQ(s.window().menuItemTip(CMD_ZOOM_ALL), "");
    s.shell.registry().add(CMD_ROOM_CHECK, [](CommandContext&) {});
  });
  s.platform.pushMenu(CMD_ZOOM_ALL);
  s.run();
  EXPECT_TRUE(s.window().menuItemEnabled(CMD_ROOM_CHECK));
  EXPECT_NE(s.window().menuItemTip(CMD_ROOM_CHECK).find("Room check"), std::string::npos);
}

TEST(ShellDesktop, EveryPanelButtonAndCheckBoxHasItsOwnTooltip) {
  std::set<std::string> tips;
  int controls = 0;
  for (const ControlTemplate& c : panelTemplate().controls) {
    if (c.kind != ControlKind::PushButton && c.kind != ControlKind::CheckBox &&
        c.kind != ControlKind::RadioButton)
      continue;
    ++controls;
    EXPECT_FALSE(c.tooltip.empty()) << c.text;
    tips.insert(c.tooltip);
  }
  EXPECT_EQ(controls, 13);
  EXPECT_EQ(tips.size(), 13u);
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
  // One pixel left of and below the centre: (-0.01, -0.01) m, which the
  // 0.5 m snap truncates to -0.
  s.platform.pushMouseMove({399, 301});
  s.check([&] {
    EXPECT_EQ(field(PANEL_FIELD_X), "0.000");
    EXPECT_EQ(field(PANEL_FIELD_Y), "0.000");
    s.project().settings.cursorSnapOn = false;
  });
  s.platform.pushMouseMove({399, 301});
  s.check([&] { EXPECT_EQ(field(PANEL_FIELD_X), "-0.010"); });
  // F5 halves the zoom under the resting mouse: the point under it doubles.
  s.platform.pushKey(keyF(5));
  s.check([&] {
    EXPECT_EQ(field(PANEL_FIELD_X), "-0.020");
    EXPECT_EQ(field(PANEL_FIELD_Y), "-0.020");
  });
  s.platform.pushKey(keyF(2));  // YZ: across is y, up is z; x keeps its value
  s.run();
  EXPECT_EQ(field(PANEL_FIELD_X), "-0.020");
  EXPECT_EQ(field(PANEL_FIELD_Y), "-0.020");
  EXPECT_EQ(field(PANEL_FIELD_Z), "-0.020");
}

TEST(ShellDesktop, CoordinateTextHasNoNegativeZero) {
  const std::tuple<double, int, const char*> table[] = {
      {-0.0004, 3, "0.000"},  {-0.0, 3, "0.000"},       {-0.0006, 3, "-0.001"},
      {1.5, 3, "1.500"},      {-2.25, 2, "-2.25"},      {-0.004, 2, "0.00"},
      {12.3456, 3, "12.346"}, {-1000.0, 3, "-1000.000"}};
  for (const auto& [value, decimals, text] : table)
    EXPECT_EQ(formatCoordinate(value, decimals), text) << value;
  // A small negative value snaps to 0, not to -0 (fields, dialogs, files).
  EXPECT_FALSE(std::signbit(snapCoordinate(-0.01, true, 0.5)));
  EXPECT_FALSE(std::signbit(snapCoordinate(-0.0004, false, 0.5)));
  EXPECT_DOUBLE_EQ(snapCoordinate(-0.74, true, 0.5), -0.5);
}

}  // namespace
}  // namespace tav::test
