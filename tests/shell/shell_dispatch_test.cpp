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

TEST(ShellDispatch, ExampleCommandRegisteredFromItsOwnFile) {
  // A subsystem registers its command; the menu item comes alive and the
  // handler runs with the layer and colour of its menu, the prompt carrying
  // the command's name.
  ShellSession s;
  std::string prompt;
  std::uint32_t layer = 99, colour = 99;
  auto registerExample = [&](CommandRegistry& r) {
    r.add(4203, [&](CommandContext& ctx) {
      layer = ctx.project().currentLayer;
      colour = ctx.project().currentColour;
      ctx.setCommandName("CIRCLE > ");
      ctx.ui().showPrompt("Center point :");
      prompt = s.window().promptText();
    });
  };
  EXPECT_FALSE(s.window().menuItemEnabled(4203));  // not built: present, disabled
  registerExample(s.shell.registry());
  s.platform.pushMenu(4203);
  s.run();
  EXPECT_EQ(prompt, "CIRCLE > Center point :");
  EXPECT_EQ(layer, LAYER_AUX);
  EXPECT_EQ(colour, 14u);
  EXPECT_TRUE(s.window().menuItemEnabled(4203));
  EXPECT_EQ(s.window().menuItemText(4203), "Draw &Circle");
  EXPECT_EQ(s.window().promptText(), "");  // cleared when the command ends
}

TEST(ShellDispatch, SnapshotBeforeEditingCommandsOnlyAndUndoRedoByMenu) {
  // Move takes a snapshot, so Undo brings back the model as it was before
  // it; Wireframe takes none. Redo goes forward again. (Pixels are computed
  // when the script is written, so nothing in it may change the view.)
  ShellSession s;
  s.shell.registry().add(2302, standInMove);
  s.xyView();
  s.add(makeSquare(0, 0, 1));
  s.check([&] { EXPECT_FALSE(s.window().menuItemEnabled(201)); });
  s.platform.pushMenu(604);
  s.check([&] { EXPECT_FALSE(s.shell.session().undo.canUndo()); });
  s.platform.pushMenu(2302);
  s.clickAt(0, 0.5f);  // picks the square's left edge
  s.platform.pushKey(KEY_RETURN);
  s.clickAt(0, 0);  // base point
  s.clickAt(2, 1);  // offset point
  s.check([&] {
    EXPECT_FLOAT_EQ(s.project().objects.head()->nodes[0].x, 2.0f);
    EXPECT_FLOAT_EQ(s.project().objects.head()->nodes[0].y, 1.0f);
    EXPECT_TRUE(s.window().menuItemEnabled(201));
  });
  s.platform.pushMenu(201);
  s.check([&] {
    EXPECT_FLOAT_EQ(s.project().objects.head()->nodes[0].x, 0.0f);
    EXPECT_FLOAT_EQ(s.project().objects.head()->nodes[0].y, 0.0f);
  });
  s.platform.pushMenu(202);
  s.run();
  EXPECT_FLOAT_EQ(s.project().objects.head()->nodes[0].x, 2.0f);
  EXPECT_TRUE(s.platform.ignoredMenuChoices().empty());
}

TEST(ShellDispatch, RightClickEnterAndSpaceRepeatOnlyDrawingCommands) {
  ShellSession s;
  Recorder rec;
  s.shell.registry().add(2302, rec.handler(2302));
  s.shell.registry().add(602, rec.handler(602));
  s.add(makeSquare(0, 0, 1));
  // Nothing to repeat yet: Enter while idle does nothing.
  s.platform.pushKey(KEY_RETURN);
  s.platform.pushMenu(2302);
  s.platform.pushKey(KEY_ESCAPE);
  s.rightClick();  // repeats Move
  s.platform.pushKey(KEY_ESCAPE);
  s.platform.pushMenu(602);
  s.platform.pushKey(KEY_ESCAPE);
  s.platform.pushKey(KEY_SPACE);   // still Move: 602 is not remembered
  s.platform.pushKey(KEY_RETURN);  // finishes that Move's input
  s.platform.pushKey(KEY_RETURN);  // and repeats it once more
  s.platform.pushCommand(CMD_BUTTON_OK);
  s.run();
  EXPECT_EQ(rec.runs, (std::vector<int>{2302, 2302, 602, 2302, 2302}));
  EXPECT_EQ(rec.outcomes,
            (std::vector<InputOutcome>{InputOutcome::Cancelled, InputOutcome::Cancelled,
                                       InputOutcome::Cancelled, InputOutcome::Finished,
                                       InputOutcome::Finished}));
  EXPECT_EQ(s.shell.lastCommand(), 2302);
}

TEST(ShellDispatch, SecondCommandIgnoredWhileOneRunsAndMenusGreyed) {
  ShellSession s;
  Recorder rec;
  s.shell.registry().add(2302, rec.handler(2302));
  s.shell.registry().add(1004, rec.handler(1004));
  s.shell.registry().add(5001, rec.handler(5001));
  s.add(makeSquare(0, 0, 1));
  s.platform.pushMenu(2302);
  s.check([&] {
    EXPECT_EQ(s.shell.activeCommand(), 2302);
    for (int i = 0; i < GREYED_TOP_MENUS; ++i) EXPECT_FALSE(s.window().topMenuEnabled(i)) << i;
    EXPECT_TRUE(s.window().topMenuEnabled(TOP_MENU_HELP));
    EXPECT_TRUE(s.window().commandButtonsShown());
  });
  s.platform.pushMenu(602);      // the View menu does not open
  s.platform.pushCommand(5001);  // a command arriving another way is ignored
  s.platform.pushCommand(CMD_BUTTON_STOP);
  s.check([&] {
    EXPECT_EQ(s.shell.activeCommand(), 0);
    for (int i = 0; i < TOP_MENU_COUNT; ++i) EXPECT_TRUE(s.window().topMenuEnabled(i)) << i;
    EXPECT_FALSE(s.window().commandButtonsShown());
  });
  // The listing shows no command buttons.
  s.platform.pushMenu(1004);
  s.check([&] { EXPECT_FALSE(s.window().commandButtonsShown()); });
  s.platform.pushKey(KEY_ESCAPE);
  s.run();
  EXPECT_EQ(rec.runs, (std::vector<int>{2302}));  // 1004 is disabled: no loudspeakers
  EXPECT_EQ(s.platform.ignoredMenuChoices(), (std::vector<int>{602, 1004}));
  EXPECT_EQ(rec.outcomes, (std::vector<InputOutcome>{InputOutcome::Cancelled}));
}

TEST(ShellDispatch, CloseDuringCommandCancelsItThenAsksAboutUnsavedWork) {
  ShellSession s;
  Recorder rec;
  bool progressCancelled = false;
  InputOutcome again = InputOutcome::PointGiven;
  s.shell.registry().add(2302, [&](CommandContext& ctx) {
    rec.handler(2302)(ctx);
    // A command that goes on regardless: its further waits and its
    // progress window report Cancel too.
    again = ctx.ui().waitForInput();
    ctx.ui().progressOpen("Working", "", "Cancel");
    progressCancelled = ctx.ui().progressUpdate(10, "");
    ctx.ui().progressClose();
  });
  s.add(makeSquare(0, 0, 1));  // modified
  s.platform.pushMenu(2302);
  s.platform.pushCloseRequest();
  s.check([&] {
    EXPECT_FALSE(s.shell.closed());
    EXPECT_TRUE(s.platform.messages().empty());
  });
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
  for (const MessageRecord& m : s.platform.messages()) {
    EXPECT_EQ(m.text, "Current project status has not been saved");
    EXPECT_EQ(m.caption, "WARNING");
    EXPECT_EQ(m.buttons, MessageButtons::SaveDiscardCancel);
  }
  EXPECT_TRUE(s.shell.closed());
  EXPECT_FALSE(s.platform.ranDry());  // the shell quit by itself
  // Exit writes the history file.
  EXPECT_TRUE(std::filesystem::exists(s.dir.file("HISTORY.TVX")));
}

TEST(ShellDispatch, HelpDuringMoveOpensItsTopic) {
  ShellSession s;
  s.shell.registry().add(2302, standInMove);
  s.shell.registry().add(3302, standInMove);
  s.xyView();
  s.add(makeSquare(0, 0, 1));
  s.add(makeSquare(0, 0, 1, LAYER_AUDIENCE));
  s.platform.pushMenu(11111);  // idle: the manual's start
  s.platform.pushMenu(2302);
  s.clickAt(0, 0.5f);
  s.platform.pushKey(KEY_RETURN);
  s.check([&] { EXPECT_EQ(s.window().promptText(), "MOVE > Basepoint :"); });
  s.platform.pushMenu(11111);  // waiting for the base point
  s.platform.pushKey(KEY_ESCAPE);
  s.platform.pushMenu(3302);
  s.platform.pushMenu(11111);
  s.platform.pushKey(KEY_ESCAPE);
  s.run();
  ASSERT_EQ(s.platform.helpRequests().size(), 3u);
  EXPECT_EQ(s.platform.helpRequests()[0].file, "manual.html");
  EXPECT_EQ(s.platform.helpRequests()[0].anchor, "");
  EXPECT_EQ(s.platform.helpRequests()[1].anchor, "cmd-2302");
  EXPECT_EQ(s.platform.helpRequests()[2].anchor, "cmd-3302");
  // Escape at the base point left the square where it was.
  EXPECT_FLOAT_EQ(s.project().objects.head()->nodes[0].x, 0.0f);
  EXPECT_FALSE(s.project().objects.head()->isSelected());
}

TEST(ShellDispatch, MenuStatesFollowTheModel) {
  ShellSession s;
  for (int n : {2302, 3302, 4302, 1005, 2501, 5001, 5010, 5020}) {
    s.shell.registry().add(n, [](CommandContext&) {});
  }
  MainWindow& w = s.window();
  s.shell.refreshStates();
  // Every menu of the table is there, in order, with unregistered items present.
  const auto& bar = s.window().menu();
  ASSERT_EQ(bar.size(), 10u);
  const char* tops[] = {"&File",           "&Edit",         "&View",        "&Room",
                        "&Audience Areas", "&Loudspeakers", "A&UX Drawing", "&Calculate",
                        "&Options",        "&Help"};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(bar[static_cast<std::size_t>(i)].text, tops[i]);
  for (const CommandSpec& spec : commandSpecs()) {
    if (*spec.text != '\0' || (spec.number >= 110 && spec.number <= 113)) {
      EXPECT_TRUE(s.window().hasMenuItem(spec.number)) << spec.number;
    }
  }
  EXPECT_FALSE(s.window().hasMenuItem(2319));
  EXPECT_FALSE(s.window().hasMenuItem(606));
  // Empty model.
  for (int n : {102, 103, 602, 603, 2302, 3302, 4302, 1005, 201, 202, 110}) {
    EXPECT_FALSE(w.menuItemEnabled(n)) << n;
  }
  EXPECT_TRUE(w.menuItemEnabled(104));
  EXPECT_TRUE(w.menuItemChecked(610));
  EXPECT_FALSE(w.menuItemChecked(614));
  EXPECT_TRUE(w.menuItemChecked(512));
  EXPECT_TRUE(w.menuItemChecked(508));
  EXPECT_TRUE(w.menuItemChecked(516));
  EXPECT_TRUE(w.menuItemChecked(604));
  // A room face: room editing and the room calculations come alive, not
  // those of audience areas and loudspeakers; unregistered items stay off.
  s.add(makeSquare(0, 0, 1));
  s.shell.refreshStates();
  for (int n : {102, 103, 602, 2302, 2501, 5010}) EXPECT_TRUE(w.menuItemEnabled(n)) << n;
  for (int n : {3302, 4302, 1005, 5001, 5020, 2303, 5011}) EXPECT_FALSE(w.menuItemEnabled(n)) << n;
  // Audience area without loudspeakers: its editing, not the calculation.
  s.add(makeSquare(0, 0, 1, LAYER_AUDIENCE));
  s.add(makeLine({0, 0, 0}, {1, 1, 1}, LAYER_AUX));
  s.shell.refreshStates();
  EXPECT_TRUE(w.menuItemEnabled(3302));
  EXPECT_TRUE(w.menuItemEnabled(4302));
  EXPECT_FALSE(w.menuItemEnabled(5001));
  // Options and layers follow their states.
  s.platform.pushMenu(611);
  s.platform.pushKey(keyF(9));
  s.platform.pushKey(keyF(11));
  s.platform.pushMenu(517);
  s.run();
  EXPECT_FALSE(w.menuItemChecked(611));
  EXPECT_TRUE((s.project().objects.head()->next->flags & OF_HIDDEN) != 0);
  EXPECT_TRUE(w.menuItemChecked(511));
  EXPECT_TRUE(w.menuItemChecked(509));
  EXPECT_TRUE(w.menuItemChecked(517));
  DialogControls* panel = w.panel();
  ASSERT_NE(panel, nullptr);
  EXPECT_FALSE(panel->checked(109));
  EXPECT_TRUE(panel->checked(110));
}

}  // namespace
}  // namespace tav::test
