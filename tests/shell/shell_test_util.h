// A user's session with the shell on the scripted platform, and small
// builders for the model the sessions work on.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "model/object_list.h"
#include "model/project.h"
#include "platform/scripted/scripted_platform.h"
#include "shell/command_context.h"
#include "shell/shell.h"
#include "support/temp_folder.h"

namespace tav::test {

using TempDir = tavtest::TempFolder;

// A closed face over the nodes, in their order.
inline std::unique_ptr<ModelObject> makeFace(std::vector<Node> nodes,
                                             std::uint32_t layer = LAYER_ROOM) {
  auto o = std::make_unique<ModelObject>();
  o->nodes = std::move(nodes);
  const auto n = static_cast<std::uint16_t>(o->nodes.size());
  o->indices.push_back({IDX_START, 0});
  o->indices.push_back({IDX_MATERIAL, 0});
  for (std::uint16_t i = 1; i < n; ++i)
    o->indices.push_back({i + 1u == n ? IDX_CLOSE : IDX_LINE, i});
  o->shape = SHAPE_FACE;
  o->layer = layer;
  return o;
}

// A straight line between two points.
inline std::unique_ptr<ModelObject> makeLine(Node a, Node b, std::uint32_t layer = LAYER_ROOM) {
  auto o = std::make_unique<ModelObject>();
  o->nodes = {a, b};
  o->indices = {{IDX_START, 0}, {IDX_LINE, 1}};
  o->shape = SHAPE_LINE;
  o->layer = layer;
  return o;
}

// An axis-aligned square face in the XY plane.
inline std::unique_ptr<ModelObject> makeSquare(float x, float y, float size,
                                               std::uint32_t layer = LAYER_ROOM) {
  return makeFace({{x, y, 0}, {x + size, y, 0}, {x + size, y + size, 0}, {x, y + size, 0}}, layer);
}

// Move as the editing commands do it, standing in for the real one: select,
// base point, offset point with the objects dragged, Escape puts nothing
// right because the preview never changed the model.
inline void standInMove(CommandContext& ctx) {
  ctx.setCommandName("MOVE > ");
  if (ctx.selectObjects() == 0) return;
  if (ctx.askBasePoint() == InputOutcome::PointGiven) {
    ctx.startDrag(DragMode::MoveObjects);
    const InputOutcome r = ctx.askPoint(PROMPT_OFFSET_POINT);
    ctx.stopDrag();
    if (r == InputOutcome::PointGiven) {
      for (ModelObject& o : ctx.project().objects) {
        if (!o.isSelected()) continue;
        for (Node& n : o.nodes) n = dragMoveNode(n, ctx.input().base, ctx.input().current);
      }
      ctx.setModified();
    }
  }
  deselectAll(ctx.project());
  ctx.redrawAll();
}

// The platform, a shell started on it (history in a folder of its own, the
// manual at "manual.html", the home folder "home" in it) and a view of
// 800 x 600 pixels.
struct ShellSession {
  TempDir dir;
  ScriptedPlatform platform{800, 600};
  Shell shell{platform, ShellOptions{dir.file("HISTORY.TVX"), dir.path.string(), "manual.html",
                                     dir.file("home")}};

  ShellSession() { EXPECT_TRUE(shell.start()); }

  Project& project() { return shell.project(); }
  ScriptedMainWindow& window() { return *platform.mainWindow(); }
  ModelObject* add(std::unique_ptr<ModelObject> o) {
    ModelObject* p = project().objects.appendObject(std::move(o));
    project().modified = true;
    return p;
  }
  // The XY view with `zoom` pixels per metre and the origin at the centre
  // (400, 300).
  void xyView(float zoom = 100.0f) {
    shell.selectViewMode(VIEW_XY);
    shell.view().zoom = zoom;
    for (int axis : {AXIS_H, AXIS_V}) setViewOffset(shell.view(), VIEW_XY, axis, 0.0f);
  }
  PixelPoint at(float x, float y, float z = 0) { return shell.pixelOf({x, y, z}); }
  void click(PixelPoint p) { platform.pushClick(p); }
  void clickAt(float x, float y) { platform.pushClick(at(x, y)); }
  void rightClick(PixelPoint p = {400, 300}) { platform.pushClick(p, MouseButton::Right); }
  void check(std::function<void()> f) { platform.pushAction(std::move(f)); }
  void run() {
    shell.run();
    EXPECT_TRUE(platform.problems().empty()) << platform.problems().front();
  }
};

}  // namespace tav::test
