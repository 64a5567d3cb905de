// The shell sessions of tests/support, a command that collects points and a
// stand-in Move command.
#pragma once

#include <filesystem>

#include "shell/command_context.h"
#include "shell/panel_template.h"
#include "support/shell_session.h"

namespace tav::test {

// Collects every point given until the input is finished or cancelled;
// `runs` counts how often the command ran.
struct PointCollector {
  std::vector<Node> points;
  InputOutcome end = InputOutcome::PointGiven;
  int runs = 0;
  void operator()(CommandContext& ctx) {
    ++runs;
    while ((end = ctx.askPoint("Point :")) == InputOutcome::PointGiven)
      points.push_back(ctx.input().current);
  }
};

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

}  // namespace tav::test
