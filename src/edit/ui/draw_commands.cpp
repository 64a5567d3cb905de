// Draw Lines, Draw Polygon, Draw Circle and Draw Rectangle.
#include <string>
#include <vector>

#include "edit/edit_limits.h"
#include "edit/figure_builders.h"
#include "edit/ui/edit_commands.h"
#include "edit/ui/edit_support.h"

namespace tav {

namespace {

// Given points end the input by themselves once the drawing object, with its
// moving node and material entry, reaches 360 entries.
constexpr std::size_t DRAW_MAX_POINTS = DRAW_MAX_ENTRIES - 3;

// A drawn face needs three distinct vertices, a line two: less is nothing.
bool worthKeeping(const ModelObject& o) {
  return o.nodes.size() >= (o.shape == SHAPE_POLYLINE ? 2u : 3u);
}

void keepDrawn(CommandContext& ctx, std::unique_ptr<ModelObject> object) {
  if (!object) return;
  compactObject(*object);
  if (!worthKeeping(*object)) return;
  ctx.project().objects.insertAtHead(std::move(object));
  ctx.setModified();
}

void drawFigure(CommandContext& ctx, bool closed) {
  ctx.setCommandName(closed ? "POLYGON > Point #" : "LINES > Point #");
  const Project& project = ctx.project();
  const std::uint32_t layer = project.currentLayer, colour = project.currentColour;
  auto build = [&](const std::vector<Vec3d>& points) {
    return closed ? buildPolygon(points, layer, colour) : buildPolyline(points, layer, colour);
  };
  std::vector<Vec3d> points;
  InputOutcome r = InputOutcome::Finished;
  while (points.size() < DRAW_MAX_POINTS) {
    r = ctx.askPoint(std::to_string(points.size() + 1));
    if (r != InputOutcome::PointGiven) break;
    points.push_back(currentPoint(ctx));
    // The next edge follows the cursor from the point just given.
    ctx.input().base = ctx.input().current;
    ctx.setLineMode(true);
    if (points.size() >= 2) {
      if (auto shown = build(points)) ctx.drawObject(*shown);
    }
  }
  ctx.setLineMode(false);
  if (r != InputOutcome::Cancelled) keepDrawn(ctx, build(points));
  endEdit(ctx);
}

}  // namespace

void runDrawLines(CommandContext& ctx) { drawFigure(ctx, false); }

void runDrawPolygon(CommandContext& ctx) { drawFigure(ctx, true); }

void runDrawCircle(CommandContext& ctx) {
  ctx.setCommandName("CIRCLE > ");
  if (ctx.askPoint("Center point :") != InputOutcome::PointGiven) {
    endEdit(ctx);
    return;
  }
  const Vec3d centre = currentPoint(ctx);
  ctx.input().base = ctx.input().current;
  const int mode = ctx.view().mode;
  const int segments = ctx.session().circleSegments;
  const std::uint32_t layer = ctx.project().currentLayer, colour = ctx.project().currentColour;
  auto circleTo = [=](const Node& point) {
    return buildCircle(centre, circleRadius(centre, toVec(point), mode), segments, mode, layer,
                       colour);
  };
  ctx.startDrag(DragMode::CirclePreview, circleTo);
  const InputOutcome r = ctx.askPoint("Radius point :");
  ctx.stopDrag();
  if (r == InputOutcome::PointGiven) keepDrawn(ctx, circleTo(ctx.input().current));
  endEdit(ctx);
}

void runDrawRectangle(CommandContext& ctx) {
  ctx.setCommandName("RECTANGLE > ");
  // The 3D view has no plane of its own: the user is asked to pick one.
  if (!ctx.view().is2D()) {
    ctx.ui().showMessage(MSG_SWITCH_TO_2D_VIEW);
    endEdit(ctx);
    return;
  }
  if (ctx.askPoint("1.Point :") != InputOutcome::PointGiven) {
    endEdit(ctx);
    return;
  }
  const Vec3d p0 = currentPoint(ctx);
  ctx.input().base = ctx.input().current;
  const int mode = ctx.view().mode;
  const std::uint32_t layer = ctx.project().currentLayer, colour = ctx.project().currentColour;
  auto rectangleTo = [=](const Node& point) {
    return buildRectangle(p0, toVec(point), mode, layer, colour);
  };
  ctx.startDrag(DragMode::RectanglePreview, rectangleTo);
  const InputOutcome r = ctx.askPoint("2.Point :");
  ctx.stopDrag();
  if (r == InputOutcome::PointGiven) keepDrawn(ctx, rectangleTo(ctx.input().current));
  endEdit(ctx);
}

}  // namespace tav
