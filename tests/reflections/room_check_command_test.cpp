// The room check as a user runs it (2803): the progress window, the views
// of the three scans, the result message and caption, faces turned back in
// the model, error markers on the view, and Cancel.
#include "reflections/ui/room_check_command.h"

#include <gtest/gtest.h>

#include "materials/ui/acoustics_commands.h"
#include "reflections/room_check.h"
#include "shell/shell_test_util.h"
#include "support/model_builders.h"

namespace tav {
namespace {

struct CheckSession : test::ShellSession {
  CheckSession() { registerAcousticsCommands(shell.registry()); }
  // A 3 x 2 x 2.5 m box (one solid, faces inwards unless told otherwise).
  ModelObject* box(const test::BoxOptions& options = {}) {
    test::addBox(project().objects, {0, 0, 0}, {3, 2, 2.5}, options);
    project().modified = false;
    ModelObject* last = nullptr;
    for (ModelObject& o : project().objects) last = &o;
    return last;
  }
  void roomCheck() { platform.pushMenu(CMD_ROOM_CHECK); }
  int markers() const {
    int n = 0;
    for (const DrawCall& c : platform.mainWindow()->picture().callsOf(DrawKind::Rectangle))
      if (c.pen == ROOM_ERROR_MARKER_COLOUR) ++n;
    return n;
  }
};

TEST(RoomCheckCommand, AClosedBoxHasNoErrorsAndEndsInThePlanView) {
  CheckSession s;
  s.box();
  s.shell.selectViewMode(VIEW_3D);
  s.roomCheck();
  s.run();
  ASSERT_EQ(s.platform.messages().size(), 1u);
  EXPECT_EQ(s.platform.messages()[0].text, "No errors found");
  const auto& progress = s.platform.progress();
  ASSERT_GE(progress.size(), 3u);
  EXPECT_EQ(progress.front().title, "Scan Mode :");
  EXPECT_EQ(progress.back().kind, ProgressEventKind::Close);
  EXPECT_EQ(progress[progress.size() - 2].text, "100.00 %");
  // The z scan runs last in the plan view, and the view stays there.
  EXPECT_EQ(s.shell.view().mode, VIEW_XY);
  EXPECT_EQ(s.project().settings.view, VIEW_XY);
  EXPECT_FALSE(s.project().modified);
}

TEST(RoomCheckCommand, AMissingWallIsReportedWithMarkersAndAWallFacingOutTurnedBack) {
  CheckSession s;
  test::BoxOptions open;
  open.missing = {test::WALL_XHI};
  open.outward = {test::WALL_YHI};
  s.box(open);
  s.roomCheck();
  int shownWithMessage = -1;
  s.platform.messageShown = [&](const MessageRecord&) {
    shownWithMessage = s.markers();
    for (const DrawCall& c : s.platform.mainWindow()->picture().callsOf(DrawKind::Rectangle))
      if (c.pen == ROOM_ERROR_MARKER_COLOUR) {
        EXPECT_EQ(c.rect.width, 5);
        EXPECT_EQ(c.rect.height, 5);
      }
  };
  s.run();
  ASSERT_EQ(s.platform.messages().size(), 1u);
  // Only the x scan leaks: 20 × 25 of its lines, a quarter of all.
  EXPECT_EQ(s.platform.messages()[0].text, "1Faces auto-inverted YZ -Error");
  EXPECT_EQ(s.platform.messages()[0].caption, "Missing faces !");
  // One 5 x 5 marker per leaking line, over the final picture while the
  // message is shown; they go with the command.
  EXPECT_EQ(shownWithMessage, 20 * 25);
  EXPECT_EQ(s.markers(), 0);
  // The turned wall modifies the model, with an undo entry.
  EXPECT_TRUE(s.project().modified);
  EXPECT_TRUE(s.shell.session().undo.canUndo());
}

TEST(RoomCheckCommand, CancelEndsWithoutAMessage) {
  CheckSession s;
  s.box();
  s.platform.cancelProgressAtUpdate(1);
  s.roomCheck();
  s.run();
  EXPECT_TRUE(s.platform.messages().empty());
  ASSERT_FALSE(s.platform.progress().empty());
  EXPECT_TRUE(s.platform.progress()[s.platform.progress().size() - 2].cancelled);
  EXPECT_FALSE(s.platform.progressOpen());
}

TEST(RoomCheckCommand, NoRoomAndTooManyFacesAreRefusedWithoutProgress) {
  CheckSession s;
  s.add(test::makeSquare(0, 0, 1));
  s.roomCheck();
  // 16001 triangles in one object: one more than the face table holds; the
  // face listing reports it too.
  s.check([&] { s.add(test::makeManyTriangles(16001, SHAPE_FACE)); });
  s.roomCheck();
  s.platform.pushMenu(CMD_FACE_LIST);
  s.run();
  EXPECT_EQ(s.messages(), (std::vector<std::string>{"No room boundaries to process",
                                                    "Too many room faces", "Too many room faces"}));
  EXPECT_TRUE(s.platform.progress().empty());
}

}  // namespace
}  // namespace tav
