// A user's session with the shell on the scripted platform, and small
// builders for the model the sessions work on.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "model/object_list.h"
#include "model/project.h"
#include "platform/scripted/scripted_platform.h"
#include "shell/command_context.h"
#include "shell/panel_template.h"
#include "shell/shell.h"
#include "support/model_builders.h"
#include "support/temp_folder.h"

namespace tav::test {

using TempDir = tavtest::TempFolder;

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
