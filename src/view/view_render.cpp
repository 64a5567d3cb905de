#include "view/view_render.h"

#include "platform/keys.h"
#include "view/axis_cross.h"
#include "view/eye_view.h"
#include "view/grid.h"

namespace tav {

void redrawView(ViewState& state, Canvas& canvas, const ViewDrawContext& context) {
  prepareView(state, canvas.width(), canvas.height());
  drawView(state, canvas, context);
}

void scrollView(ViewState& state, const ScrollEvent& event) {
  if (state.mode == VIEW_PERSPECTIVE)
    scrollPerspective(state, event.axis, event.action, event.position);
  else
    addScrollShift(state, event.axis, event.action, event.position);
}

std::optional<ArrowKey> arrowKeyOf(int key) {
  switch (key) {
    case KEY_LEFT:
      return ArrowKey::Left;
    case KEY_RIGHT:
      return ArrowKey::Right;
    case KEY_UP:
      return ArrowKey::Up;
    case KEY_DOWN:
      return ArrowKey::Down;
    default:
      return std::nullopt;
  }
}

bool renderFittedView(const Project& project, int mode, Canvas& canvas) {
  if (mode < VIEW_XY || mode > VIEW_3D) return false;
  ViewState state;
  setViewSize(state, canvas.width(), canvas.height());
  selectView(state, project.objects, mode);
  if (mode != VIEW_3D) zoomAll(state, project.objects);
  rebuildGrid(state, project);
  const auto cross = loadAxisCross();
  ViewDrawContext context;
  context.project = &project;
  context.axisCross = cross.get();
  redrawView(state, canvas, context);
  return true;
}

}  // namespace tav
