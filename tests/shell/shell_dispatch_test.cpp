// Running commands: one at a time, snapshots, the last command, the command
// buttons, greyed menus, Help at the running command's topic, closing.
#include <gtest/gtest.h>

#include "model/layers.h"
#include "platform/keys.h"
#include "shell/menu_table.h"
#include "shell_test_util.h"

namespace tav::test {
namespace {

// A command that only waits for one input and records how it ended.
struct Recorder {
  std::vector<int> runs;
  std::vector<InputOutcome> outcomes;
  CommandHandler handler(int number) {
    return [this, number](CommandContext& ctx) {
      runs.push_back(number);
      outcomes.push_back(ctx.askPoint("Point :"));
    };
  }
};

TEST(ShellDispatch, RightClickEnterAndSpaceRepeatOnlyDrawingCommands) {
  ShellSession s;
  Recorder rec;
  s.shell.registry().add(CMD_ROOM_MOVE, rec.handler(CMD_ROOM_MOVE));
  s.shell.registry().add(CMD_ZOOM_ALL, rec.handler(CMD_ZOOM_ALL));
  s.add(makeSquare(0, 0, 1));
  // Nothing to repeat yet: Enter while idle does nothing.
  s.platform.pushKey(KEY_RETURN);
  s.platform.pushMenu(CMD_ROOM_MOVE);
  s.platform.pushKey(KEY_ESCAPE);
  s.rightClick();  // repeats Move
  s.platform.pushKey(KEY_ESCAPE);
  s.platform.pushMenu(CMD_ZOOM_ALL);
  s.platform.pushKey(KEY_ESCAPE);
  s.platform.pushKey(KEY_SPACE);   // still Move: Zoom All is not remembered
  s.platform.pushKey(KEY_RETURN);  // finishes that Move's input
  s.platform.pushKey(KEY_RETURN);  // and repeats it once more
  s.platform.pushCommand(CMD_BUTTON_OK);
  s.run();
  EXPECT_EQ(rec.runs, (std::vector<int>{CMD_ROOM_MOVE, CMD_ROOM_MOVE, CMD_ZOOM_ALL, CMD_ROOM_MOVE,
                                        CMD_ROOM_MOVE}));
}

TEST(ShellDispatch, SecondCommandIgnoredWhileOneRunsAndMenusGreyed) {
  ShellSession s;
  Recorder rec;
  s.shell.registry().add(CMD_ROOM_MOVE, rec.handler(CMD_ROOM_MOVE));
  s.shell.registry().add(CMD_SPEAKER_LISTING, rec.handler(CMD_SPEAKER_LISTING));
  s.shell.registry().add(CMD_LEVEL_TIME, rec.handler(CMD_LEVEL_TIME));
  s.shell.registry().add(CMD_FACE_LIST, rec.handler(CMD_FACE_LIST));
  s.add(makeSquare(0, 0, 1));
  s.platform.pushMenu(CMD_ROOM_MOVE);
  s.check([&] {
    EXPECT_EQ(s.shell.activeCommand(), CMD_ROOM_MOVE);
    for (int i = 0; i < GREYED_TOP_MENUS; ++i) EXPECT_FALSE(s.window().topMenuEnabled(i)) << i;
    EXPECT_TRUE(s.window().topMenuEnabled(TOP_MENU_HELP));
    EXPECT_TRUE(s.window().commandButtonsShown());
  });
  s.platform.pushMenu(CMD_ZOOM_ALL);       // the View menu does not open
  s.platform.pushCommand(CMD_LEVEL_TIME);  // a command arriving another way is ignored
  s.platform.pushCommand(CMD_BUTTON_STOP);
  s.check([&] {
    EXPECT_EQ(s.shell.activeCommand(), 0);
    for (int i = 0; i < TOP_MENU_COUNT; ++i) EXPECT_TRUE(s.window().topMenuEnabled(i)) << i;
    EXPECT_FALSE(s.window().commandButtonsShown());
  });
  s.platform.pushMenu(CMD_SPEAKER_LISTING);  // no loudspeakers: no listing
  // The face listing shows no command buttons.
  s.platform.pushMenu(CMD_FACE_LIST);
  s.check([&] { EXPECT_FALSE(s.window().commandButtonsShown()); });
  s.platform.pushKey(KEY_ESCAPE);
  s.run();
  EXPECT_EQ(rec.runs, (std::vector<int>{CMD_ROOM_MOVE, CMD_FACE_LIST}));
  EXPECT_EQ(s.platform.ignoredMenuChoices(), (std::vector<int>{CMD_ZOOM_ALL, CMD_SPEAKER_LISTING}));
}

TEST(ShellDispatch, CloseDuringCommandCancelsItThenAsksAboutUnsavedWork) {
  ShellSession s;
  Recorder rec;
  bool progressCancelled = false;
  InputOutcome again = InputOutcome::PointGiven;
  s.shell.registry().add(CMD_ROOM_MOVE, [&](CommandContext& ctx) {
    rec.handler(CMD_ROOM_MOVE)(ctx);
    // A command that goes on regardless: its further waits and its
    // progress window report Cancel too.
    again = ctx.ui().waitForInput();
    ctx.ui().progressOpen("Working", "", "Cancel");
    progressCancelled = ctx.ui().progressUpdate(10, "");
    ctx.ui().progressClose();
  });
  s.add(makeSquare(0, 0, 1));  // modified
  s.platform.pushMenu(CMD_ROOM_MOVE);
  s.platform.pushCloseRequest();
  s.check([&] { EXPECT_TRUE(s.platform.messages().empty()); });
  s.platform.answerMessage(MessageResult::Cancel);
  s.platform.pushCloseRequest();  // asks; Cancel keeps the window
  s.check([&] { EXPECT_FALSE(s.shell.closed()); });
  s.platform.answerMessage(MessageResult::Discard);
  s.platform.pushCloseRequest();  // asks; Discard closes
  s.run();
  EXPECT_EQ(rec.outcomes, (std::vector<InputOutcome>{InputOutcome::Cancelled}));
  EXPECT_EQ(again, InputOutcome::Cancelled);
  EXPECT_TRUE(progressCancelled);
  ASSERT_EQ(s.platform.messages().size(), 2u);
  EXPECT_EQ(s.platform.messages()[0].text, "Current project status has not been saved");
  EXPECT_EQ(s.platform.messages()[0].caption, "WARNING");
  EXPECT_TRUE(s.shell.closed());
  EXPECT_FALSE(s.platform.ranDry());  // the shell quit by itself
}

TEST(ShellDispatch, HelpOpensTheTopicOfTheRunningCommand) {
  ShellSession s;
  Recorder rec;
  s.shell.registry().add(CMD_ROOM_MOVE, rec.handler(CMD_ROOM_MOVE));
  s.add(makeSquare(0, 0, 1));
  s.platform.pushMenu(CMD_HELP);  // idle: the manual's start
  s.platform.pushMenu(CMD_ROOM_MOVE);
  s.platform.pushMenu(CMD_HELP);  // waiting for a point
  s.platform.pushKey(KEY_ESCAPE);
  s.run();
  ASSERT_EQ(s.platform.helpRequests().size(), 2u);
  EXPECT_EQ(s.platform.helpRequests()[0].file, "manual.html");
  EXPECT_EQ(s.platform.helpRequests()[0].anchor, "");
  EXPECT_EQ(s.platform.helpRequests()[1].anchor, "cmd-2302");
}

TEST(ShellDispatch, MenuBarCheckMarksAndPanelFollowTheOptions) {
  ShellSession s;
  ScriptedMainWindow& w = s.window();
  // Every item of the table is there, the unregistered ones too.
  for (const CommandSpec& spec : commandSpecs()) {
    const bool recent = spec.number >= CMD_RECENT_FIRST && spec.number <= CMD_RECENT_LAST;
    if (*spec.text != '\0' || recent) {
      EXPECT_TRUE(w.hasMenuItem(spec.number)) << spec.number;
    }
  }
  EXPECT_FALSE(w.hasMenuItem(CMD_SYNC_LAYERS));  // a command of the program's own
  ModelObject* audience = s.add(makeSquare(0, 0, 1, 0, LAYER_AUDIENCE));
  ModelObject* aux = s.add(makeSquare(0, 0, 1, 0, LAYER_AUX));
  s.platform.pushMenu(CMD_TOGGLE_AUDIENCE);  // shown at start: hidden now
  s.platform.pushMenu(CMD_TOGGLE_AUX);       // hidden at start: shown now
  s.platform.pushMenu(CMD_TOGGLE_GRID);
  s.platform.pushKey(keyF(9));
  s.platform.pushKey(keyF(11));
  // The panel's buttons act as the keys; Comment asks for a line.
  s.platform.answerInputLine(std::string("Hall A"));
  s.platform.pushPanelClick(PANEL_COMMENT);
  s.platform.pushPanelClick(PANEL_HIDDEN);
  s.platform.pushPanelClick(PANEL_YZ);
  s.run();
  EXPECT_NE(audience->flags & OF_HIDDEN, 0u);
  EXPECT_FALSE(w.menuItemChecked(CMD_TOGGLE_AUDIENCE));
  EXPECT_EQ(aux->flags & OF_HIDDEN, 0u);
  EXPECT_TRUE(w.menuItemChecked(CMD_TOGGLE_AUX));
  EXPECT_FALSE(s.shell.view().grid.empty());
  EXPECT_TRUE(w.menuItemChecked(CMD_COORD_SNAP_OFF));
  EXPECT_TRUE(w.menuItemChecked(CMD_NODE_SNAP_ON));
  EXPECT_FALSE(w.panel()->checked(PANEL_COORDINATE_SNAP));
  EXPECT_TRUE(w.panel()->checked(PANEL_NODE_SNAP));
  EXPECT_EQ(s.shell.session().comment, "Hall A");
  EXPECT_EQ(s.platform.inputLines().at(0).prompt, "Comment (80 chars max.):");
  EXPECT_TRUE(s.shell.view().hiddenBackfaces);
  EXPECT_TRUE(w.menuItemChecked(CMD_HIDDEN_BACKFACES));
  EXPECT_EQ(s.shell.view().mode, VIEW_YZ);
  EXPECT_TRUE(w.panel()->checked(PANEL_YZ));
  EXPECT_FALSE(w.panel()->checked(PANEL_XY));
}

// Which registered items are enabled for a model: room editing needs room
// objects, the room calculations need room faces, the Level + Time
// calculation audience areas and loudspeakers.
enum ModelPart { ROOM_LINE = 1, ROOM_FACE = 2, AUDIENCE = 4, SPEAKER = 8, AUX_LINE = 16 };

struct MenuCase {
  const char* name;
  int parts;
  std::vector<int> on, off;
};

void PrintTo(const MenuCase& c, std::ostream* os) { *os << c.name; }

class MenuEnabling : public ::testing::TestWithParam<MenuCase> {};

TEST_P(MenuEnabling, FollowsWhatTheModelHolds) {
  ShellSession s;
  for (int n : {CMD_ROOM_MOVE, CMD_ASSIGN_MATERIAL, CMD_FACE_LIST, CMD_BUILD_ONTOP_FACES,
                CMD_AUDIENCE_MOVE, CMD_AUX_MOVE, CMD_SPEAKER_MOVE, CMD_LEVEL_TIME, CMD_RT60_SABINE,
                CMD_RT60_MEASURED, CMD_CALCULATE_RAYS, CMD_LOAD_RAY_FILE})
    s.shell.registry().add(n, [](CommandContext&) {});
  const int parts = GetParam().parts;
  if (parts & ROOM_LINE) s.add(makeLine({0, 0, 0}, {1, 0, 0}));
  if (parts & ROOM_FACE) s.add(makeSquare(0, 0, 1));
  if (parts & AUDIENCE) s.add(makeSquare(0, 0, 1, 0, LAYER_AUDIENCE));
  if (parts & SPEAKER) s.add(makeLine({0, 0, 0}, {1, 1, 1}, LAYER_SPEAKERS));
  if (parts & AUX_LINE) s.add(makeLine({0, 0, 0}, {1, 1, 1}, LAYER_AUX));
  s.shell.refreshStates();
  for (int n : GetParam().on) EXPECT_TRUE(s.window().menuItemEnabled(n)) << n;
  for (int n : GetParam().off) EXPECT_FALSE(s.window().menuItemEnabled(n)) << n;
}

INSTANTIATE_TEST_SUITE_P(
    Models, MenuEnabling,
    ::testing::Values(
        MenuCase{"Empty",
                 0,
                 {CMD_NEW, CMD_OPEN},
                 {CMD_SAVE_AS, CMD_PRINT, CMD_ZOOM_ALL, CMD_ZOOM_WINDOW, CMD_ROOM_MOVE,
                  CMD_AUDIENCE_MOVE, CMD_AUX_MOVE, CMD_SPEAKER_MOVE, CMD_UNDO, CMD_REDO,
                  CMD_RECENT_FIRST}},
        MenuCase{"RoomWithoutFaces",
                 ROOM_LINE | SPEAKER,
                 {CMD_SAVE_AS, CMD_ZOOM_ALL, CMD_ROOM_MOVE, CMD_SPEAKER_MOVE},
                 {CMD_ASSIGN_MATERIAL, CMD_FACE_LIST, CMD_BUILD_ONTOP_FACES, CMD_RT60_SABINE,
                  CMD_RT60_MEASURED, CMD_CALCULATE_RAYS, CMD_LOAD_RAY_FILE, CMD_LEVEL_TIME}},
        MenuCase{"RoomFace",
                 ROOM_FACE,
                 {CMD_PRINT, CMD_ROOM_MOVE, CMD_ASSIGN_MATERIAL, CMD_FACE_LIST,
                  CMD_BUILD_ONTOP_FACES, CMD_RT60_SABINE, CMD_RT60_MEASURED},
                 {CMD_AUDIENCE_MOVE, CMD_AUX_MOVE, CMD_SPEAKER_MOVE, CMD_CALCULATE_RAYS,
                  CMD_LEVEL_TIME}},
        MenuCase{"RoomFaceAndLoudspeaker",
                 ROOM_FACE | SPEAKER,
                 {CMD_CALCULATE_RAYS, CMD_LOAD_RAY_FILE, CMD_SPEAKER_MOVE},
                 {CMD_LEVEL_TIME}},
        MenuCase{"AudienceWithoutLoudspeakers",
                 AUDIENCE | AUX_LINE,
                 {CMD_AUDIENCE_MOVE, CMD_AUX_MOVE},
                 {CMD_LEVEL_TIME, CMD_ROOM_MOVE, CMD_RT60_SABINE}},
        MenuCase{
            "AudienceAndLoudspeaker", AUDIENCE | SPEAKER, {CMD_LEVEL_TIME}, {CMD_CALCULATE_RAYS}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tav::test
