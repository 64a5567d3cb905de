// Insert Nodes, Split Face, Invert Face and Delete Face.
#include <string>

#include "edit/edit_geometry.h"
#include "edit/edit_limits.h"
#include "edit/face_edit.h"
#include "edit/ui/edit_commands.h"
#include "edit/ui/edit_support.h"
#include "materials/project_materials.h"

namespace tav {

namespace {

// Crossings are found in a 2D view's plane only.
bool needs2DView(CommandContext& ctx) {
  if (ctx.view().is2D()) return true;
  ctx.ui().showMessage(MSG_INTERSECTION_IN_3D);
  return false;
}

// The intersection line: first point, then the second with a rubber line.
bool askLine(CommandContext& ctx, const char* secondPrompt, Vec3d& p1, Vec3d& p2) {
  if (ctx.askPoint("Intersection line, 1st point") != InputOutcome::PointGiven) return false;
  p1 = currentPoint(ctx);
  ctx.input().base = ctx.input().current;
  ctx.setLineMode(true);
  const InputOutcome r = ctx.askPoint(secondPrompt);
  ctx.setLineMode(false);
  if (r != InputOutcome::PointGiven) return false;
  p2 = currentPoint(ctx);
  return true;
}

}  // namespace

void runInsertNodes(CommandContext& ctx) {
  ctx.setCommandName("INSERT NODES > ");
  Vec3d p1, p2;
  if (needs2DView(ctx) && ctx.selectObjects() > 0 &&
      askLine(ctx, "Intersection line, 2nd point", p1, p2)) {
    for (ModelObject* o : selectedObjects(ctx.project())) {
      // An object that would outgrow the limits is left as it is.
      if (insertNodes(*o, p1, p2, ctx.view().mode).inserted > 0) ctx.setModified();
    }
  }
  endEdit(ctx);
}

void runSplitFace(CommandContext& ctx) {
  ctx.setCommandName("SPLIT FACE >");
  if (!needs2DView(ctx)) {
    endEdit(ctx);
    return;
  }
  const std::optional<FaceSelection> face = ctx.selectFace();
  Vec3d p1, p2;
  if (face && askLine(ctx, "Intersection line, 2nd point, max. 2 intersections", p1, p2)) {
    switch (splitFace(*face->object, face->startEntry, p1, p2, ctx.view().mode)) {
      case SplitOutcome::Split:
        ctx.setModified();
        break;
      case SplitOutcome::NoIntersection:
        ctx.ui().showMessage(MSG_NO_INTERSECTION);
        break;
      case SplitOutcome::OneIntersection:
        ctx.ui().showMessage(MSG_ONE_INTERSECTION);
        break;
      case SplitOutcome::TooManyIntersections:
        ctx.ui().showMessage(MSG_TOO_MANY_INTERSECTIONS);
        break;
      case SplitOutcome::NotAFace:
      case SplitOutcome::TooBig:
        break;
    }
  }
  endEdit(ctx);
}

void runInvertFace(CommandContext& ctx) {
  ctx.setCommandName("INVERT FACE > ");
  if (const std::optional<FaceSelection> face = ctx.selectFace()) {
    if (invertFace(*face->object, face->startEntry)) ctx.setModified();
  }
  endEdit(ctx);
}

void runDeleteFace(CommandContext& ctx) {
  ctx.setCommandName("DELETE FACE > ");
  if (const std::optional<FaceSelection> face = ctx.selectFace()) {
    Project& project = ctx.project();
    switch (deleteFace(*face->object, face->startEntry)) {
      case DeleteFaceOutcome::ObjectEmpty:
        project.objects.freeObject(face->object);
        [[fallthrough]];
      case DeleteFaceOutcome::Removed:
        releaseUnusedMaterials(project);
        ctx.setModified();
        break;
      case DeleteFaceOutcome::NotAFace:
        break;
    }
  }
  endEdit(ctx);
}

}  // namespace tav
