// Extrude, Rotate, Dismantle Solid and Assemble Solid.
#include <cmath>
#include <string>
#include <vector>

#include "edit/edit_limits.h"
#include "edit/solid_ops.h"
#include "edit/ui/edit_commands.h"
#include "edit/ui/edit_support.h"
#include "model/number_text.h"

namespace tav {

void runExtrude(CommandContext& ctx) {
  ctx.setCommandName("EXTRUDE >");
  if (!selectAndAskBase(ctx)) return;
  ctx.setLineMode(true);
  const InputOutcome r = ctx.askPoint(PROMPT_OFFSET_POINT);
  ctx.setLineMode(false);
  const Vec3d vector = currentPoint(ctx) - basePoint(ctx);
  if (r != InputOutcome::PointGiven || vector == Vec3d{}) {
    endEdit(ctx);
    return;
  }
  Project& project = ctx.project();
  for (ModelObject* source : selectedObjects(project)) {
    SolidResult result = extrudeObject(*source, vector);
    if (result.status == SolidBuild::TooBig) {
      // What was extruded so far stays.
      ctx.ui().showMessage(MSG_EXTRUDE_TOO_BIG);
      break;
    }
    if (result.status != SolidBuild::Built) continue;
    replaceObject(project, source, std::move(result.object));
    ctx.setModified();
  }
  endEdit(ctx);
}

void runRotate(CommandContext& ctx) {
  ctx.setCommandName("ROTATE >");
  if (!selectAndAskBase(ctx)) return;
  const std::optional<std::string> angleText =
      ctx.ui().inputLine("Rotation angle [deg] :", "360", 39);
  if (!angleText) {
    endEdit(ctx);
    return;
  }
  const double angle = parseNumber(*angleText);
  const std::optional<std::string> segmentText = ctx.ui().inputLine(
      "Amount of segments :", formatNumber("%3.0f", std::fabs(angle) / 10.0), 39);
  if (!segmentText) {
    endEdit(ctx);
    return;
  }
  const double segments = std::trunc(parseNumber(*segmentText));
  // No turn or no segment sweeps nothing (and would divide by zero).
  if (angle == 0.0 || !(segments >= 1.0)) {
    ctx.ui().showMessage(MSG_INVALID_ENTRY);
    endEdit(ctx);
    return;
  }
  const int count = segments > 1e6 ? 1000000 : static_cast<int>(segments);
  const bool fullTurn = isFullTurnText(*angleText);
  Project& project = ctx.project();
  for (ModelObject* source : selectedObjects(project)) {
    SolidResult result =
        rotateObject(*source, basePoint(ctx), ctx.view().mode, angle, count, fullTurn);
    if (result.status == SolidBuild::TooBig) {
      ctx.ui().showMessage(MSG_ROTATE_TOO_BIG);
      break;
    }
    if (result.status != SolidBuild::Built) continue;
    replaceObject(project, source, std::move(result.object));
    ctx.setModified();
  }
  endEdit(ctx);
}

void runDismantleSolid(CommandContext& ctx) {
  ctx.setCommandName("DISMANTLE SOLID > ");
  if (ctx.selectObjects() > 0) {
    Project& project = ctx.project();
    for (ModelObject* solid : selectedObjects(project)) {
      if (solid->shape != SHAPE_SOLID) continue;
      for (auto& part : dismantleSolid(*solid))
        project.objects.insertObjectBefore(std::move(part), solid);
      project.objects.freeObject(solid);
      ctx.setModified();
    }
  }
  endEdit(ctx);
}

void runAssembleSolid(CommandContext& ctx) {
  ctx.setCommandName("ASSEMBLE SOLID > ");
  if (ctx.selectObjects() > 0) {
    Project& project = ctx.project();
    std::vector<ModelObject*> faces;
    for (ModelObject* o : selectedObjects(project))
      if (o->shape == SHAPE_FACE) faces.push_back(o);
    const std::vector<const ModelObject*> input(faces.begin(), faces.end());
    const std::uint32_t layer = project.currentLayer;
    AssembleResult result = assembleFaces(input, layer, layer == LAYER_AUX ? 14u : 0u);
    if (result.object) {
      project.objects.insertAtHead(std::move(result.object));
      for (std::size_t i = 0; i < result.merged; ++i) project.objects.freeObject(faces[i]);
      ctx.setModified();
    }
  }
  endEdit(ctx);
}

}  // namespace tav
