// The undo history is never wasted: a command that leaves the model as it
// was (looked at, cancelled, refused) leaves the ring and the redo chain as
// they were, and Edit > Undo and Redo name the command they act on.
#include <gtest/gtest.h>

#include "platform/keys.h"
#include "shell/command_set.h"
#include "shell_test_util.h"

namespace tav::test {
namespace {

struct UndoSession : ShellSession {
  UndoSession() {
    registerAllCommands(shell);
    shell.setRandomSource([](std::uint32_t) { return 0u; });
    xyView(20.0f);
    add(makeSquare(0, 0, 4));
    add(makeSquare(10, 0, 2));
  }
  void deleteFaceAt(float x, float y) {
    menu(CMD_ROOM_DELETE_FACE);
    clickAt(x, y);
    platform.pushKey(KEY_RETURN);
  }
  std::string menuText(int id) { return window().menuItemText(id); }
};

struct NeutralCase {
  const char* name;
  std::function<void(UndoSession&)> script;
};

class UndoHistory : public ::testing::TestWithParam<NeutralCase> {};

TEST_P(UndoHistory, ACommandThatChangesNothingTakesNoStep) {
  UndoSession s;
  std::string afterNeutral;
  s.deleteFaceAt(1, 1);
  s.menu(CMD_UNDO);
  GetParam().script(s);
  s.check([&] { afterNeutral = s.menuText(CMD_REDO); });
  // Redo, the neutral command again, then one Undo brings the face back.
  s.menu(CMD_REDO);
  s.check([&] { EXPECT_EQ(s.project().objects.countObjects(), 1u); });
  GetParam().script(s);
  s.menu(CMD_UNDO);
  s.run();
  EXPECT_EQ(afterNeutral, "&Redo Delete Face");
  EXPECT_EQ(s.project().objects.countObjects(), 2u);
  EXPECT_EQ(s.menuText(CMD_UNDO), "&Undo");  // nothing older to undo
}

INSTANTIATE_TEST_SUITE_P(
    Table, UndoHistory,
    ::testing::Values(NeutralCase{"DeleteFaceCancelled",
                                  [](UndoSession& s) {
                                    s.menu(CMD_ROOM_DELETE_FACE);
                                    s.clickAt(11, 1);
                                    s.platform.pushKey(KEY_ESCAPE);
                                  }},
                      NeutralCase{"ViewCommand", [](UndoSession& s) { s.menu(CMD_WIREFRAME); }},
                      NeutralCase{"RectangleRefusedIn3D",
                                  [](UndoSession& s) {
                                    s.platform.pushKey(keyF(4));
                                    s.menu(CMD_ROOM_RECTANGLE);
                                    s.platform.pushKey(keyF(1));
                                  }}),
    [](const ::testing::TestParamInfo<NeutralCase>& info) { return info.param.name; });

TEST(UndoHistory, EachChangeIsOneStepNamedAfterItsCommand) {
  UndoSession s;
  const std::vector<IndexEntry> original = s.project().objects.objectAt(1)->indices;
  s.deleteFaceAt(1, 1);
  s.menu(CMD_ROOM_INVERT_FACE);  // Invert Face of the other square
  s.clickAt(11, 1);
  s.platform.pushKey(KEY_RETURN);
  s.menu(CMD_ROOM_MOVE);  // then Move it by (1, 0)
  s.clickAt(10, 1);
  s.platform.pushKey(KEY_RETURN);
  s.clickAt(10, 0);
  s.clickAt(11, 0);
  std::vector<std::string> labels;
  s.check([&] { labels.push_back(s.menuText(CMD_UNDO)); });
  s.menu(CMD_UNDO);
  s.check([&] { labels.push_back(s.menuText(CMD_UNDO)); });
  s.menu(CMD_UNDO);
  s.check([&] { labels.push_back(s.menuText(CMD_UNDO)); });
  s.run();
  EXPECT_EQ(labels,
            (std::vector<std::string>{"&Undo Move", "&Undo Invert Face", "&Undo Delete Face"}));
  EXPECT_EQ(s.menuText(CMD_REDO), "&Redo Invert Face");
  ASSERT_EQ(s.project().objects.countObjects(), 1u);
  const ModelObject& square = *s.project().objects.objectAt(0);
  EXPECT_FLOAT_EQ(square.nodes[0].x, 10.0f);  // moved back
  EXPECT_EQ(square.indices, original);        // turned back
}

}  // namespace
}  // namespace tav::test
