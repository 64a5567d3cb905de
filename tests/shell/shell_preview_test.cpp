// Drag previews and rubber bands are an overlay: the picture under them keeps
// only what is not being dragged, and the model is not touched until the
// command applies the final point.
#include <gtest/gtest.h>

#include "edit/ui/edit_commands.h"
#include "platform/keys.h"
#include "shell_test_util.h"

namespace tav::test {
namespace {

// Non-white pixels in column x between rows y0 and y1 (exclusive).
int inkInColumn(const RgbImage& image, int x, int y0, int y1) {
  int ink = 0;
  for (int y = y0 + 1; y < y1; ++y) ink += image.pixel(x, y) != Rgb{255, 255, 255};
  return ink;
}

TEST(ShellPreview, MovedObjectsAreDrawnByTheOverlayOnly) {
  // Square from (0, 0) to (1, 1): its right edge is pixel column 500 between
  // rows 200 and 300. Dragged by 2 m it shows at column 700.
  ShellSession s;
  registerEditCommands(s.shell.registry());
  s.xyView(100.0f);
  ModelObject* sq = s.add(makeSquare(0, 0, 1));
  s.platform.pushMenu(CMD_ROOM_MOVE);
  s.clickAt(1, 0.5f);
  s.platform.pushKey(KEY_RETURN);
  s.clickAt(0, 0);
  s.platform.pushMouseMove(s.at(2, 0));
  s.check([&] {
    const RgbImage overlay = s.window().overlayPicture().image();
    EXPECT_EQ(inkInColumn(s.window().viewPicture(), 500, 200, 300), 0);  // left the picture
    EXPECT_EQ(inkInColumn(overlay, 500, 200, 300), 0);
    EXPECT_GT(inkInColumn(overlay, 700, 200, 300), 20);  // dotted highlight
    EXPECT_EQ(sq->nodes[0], (Node{0, 0, 0}));            // model untouched
  });
  s.platform.pushKey(KEY_ESCAPE);
  s.run();
  EXPECT_GT(inkInColumn(s.window().viewPicture(), 500, 200, 300), 50);
  EXPECT_EQ(inkInColumn(s.window().overlayPicture().image(), 700, 200, 300), 0);
}

TEST(ShellPreview, CircleBuilderAndRubberLineFollowTheCursor) {
  ShellSession s;
  s.xyView(100.0f);
  std::vector<Node> seen;
  s.shell.registry().add(CMD_ROOM_CIRCLE, [&](CommandContext& ctx) {
    ctx.setCommandName("CIRCLE > ");
    if (ctx.askPoint("Center point :") != InputOutcome::PointGiven) return;
    ctx.input().base = ctx.input().current;
    ctx.setLineMode(true);
    ctx.startDrag(DragMode::CirclePreview, [&](const Node& current) {
      seen.push_back(current);
      auto o = std::make_unique<ModelObject>();
      o->nodes = {{current.x, current.y, 0}, {current.x, current.y + 1, 0}};
      o->indices = {{IDX_START, 0}, {IDX_LINE, 1}};
      return o;
    });
    ctx.askPoint("Radius point :");
    ctx.stopDrag();
    ctx.setLineMode(false);
  });
  s.platform.pushMenu(CMD_ROOM_CIRCLE);
  s.clickAt(0, 0);
  s.platform.pushMouseMove(s.at(2, -1));
  s.check([&] {
    const RgbImage overlay = s.window().overlayPicture().image();
    // The built object: a vertical line up from (2, -1) at column 600.
    EXPECT_GT(inkInColumn(overlay, 600, 300, 400), 50);
    // The rubber line from the base point (400, 300) towards (600, 400).
    EXPECT_NE(overlay.pixel(500, 350), (Rgb{255, 255, 255}));
    EXPECT_EQ(s.window().viewPicture().pixel(500, 350), (Rgb{255, 255, 255}));
  });
  s.platform.pushKey(KEY_ESCAPE);
  s.run();
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.back(), (Node{2, -1, 0}));
}

}  // namespace
}  // namespace tav::test
