// Delete, Move, Copy, Mirror, Turn, Scale and Move Nodes.
#include <algorithm>
#include <vector>

#include "edit/edit_geometry.h"
#include "edit/edit_limits.h"
#include "edit/ui/edit_commands.h"
#include "edit/ui/edit_support.h"
#include "materials/project_materials.h"
#include "model/number_text.h"
#include "shell/typed_point.h"

namespace tav {

namespace {

// Duplicates of the selected objects, in list order as one run at the head
// of the list (groups stay intact), flags of the source plus OF_CREATED, on
// the current layer; the copies are selected, the sources deselected.
std::vector<ModelObject*> copySelected(CommandContext& ctx) {
  Project& project = ctx.project();
  std::vector<ModelObject*> copies;
  ModelObject* before = project.objects.head();
  for (ModelObject* source : selectedObjects(project)) {
    auto copy = ObjectList::copyObject(*source);
    if (!copy) continue;
    copy->flags = source->flags | OF_CREATED;
    copy->layer = project.currentLayer;
    copies.push_back(project.objects.insertObjectBefore(std::move(copy), before));
    source->flags &= ~OF_SELECTED;
  }
  return copies;
}

void freeAll(Project& project, const std::vector<ModelObject*>& objects) {
  for (ModelObject* o : objects) project.objects.freeObject(o);
}

// The copies of Copy and Mirror, checked against the size limit first.
bool copyWithinLimit(CommandContext& ctx) {
  if (selectedSnapshotBytes(ctx.project().objects) > COPY_MAX_BYTES) {
    ctx.ui().showMessage(MSG_COPY_TOO_BIG);
    return false;
  }
  return true;
}

}  // namespace

void runDelete(CommandContext& ctx) {
  ctx.setCommandName("DELETE > ");
  if (ctx.selectObjects() > 0) {
    Project& project = ctx.project();
    freeAll(project, selectedObjects(project));
    releaseUnusedMaterials(project);
    ctx.setModified();
  }
  endEdit(ctx);
}

void runMove(CommandContext& ctx) {
  ctx.setCommandName("MOVE > ");
  if (!selectAndAskBase(ctx)) return;
  // The preview moves the objects on screen only; the model changes once
  // the offset point is given, so Escape leaves everything in place.
  ctx.startDrag(DragMode::MoveObjects);
  const InputOutcome r = ctx.askPoint(PROMPT_OFFSET_POINT);
  ctx.stopDrag();
  if (r == InputOutcome::PointGiven) {
    const Vec3d delta = currentPoint(ctx) - basePoint(ctx);
    for (ModelObject* o : selectedObjects(ctx.project())) moveObject(*o, delta);
    ctx.setModified();
  }
  endEdit(ctx);
}

void runCopy(CommandContext& ctx) {
  ctx.setCommandName("COPY > ");
  if (ctx.selectObjects() == 0 || !copyWithinLimit(ctx) ||
      ctx.askBasePoint() != InputOutcome::PointGiven) {
    endEdit(ctx);
    return;
  }
  const std::vector<ModelObject*> copies = copySelected(ctx);
  ctx.startDrag(DragMode::MoveObjects);
  const InputOutcome r = ctx.askPoint(PROMPT_OFFSET_POINT);
  ctx.stopDrag();
  if (r == InputOutcome::PointGiven) {
    const Vec3d delta = currentPoint(ctx) - basePoint(ctx);
    for (ModelObject* o : copies) moveObject(*o, delta);
    ctx.setModified();
  } else {
    freeAll(ctx.project(), copies);
  }
  endEdit(ctx);
}

void runMirror(CommandContext& ctx) {
  ctx.setCommandName("MIRROR > ");
  if (ctx.selectObjects() == 0 || !copyWithinLimit(ctx) ||
      ctx.askBasePoint() != InputOutcome::PointGiven) {
    endEdit(ctx);
    return;
  }
  const std::vector<ModelObject*> copies = copySelected(ctx);
  ctx.startDrag(DragMode::MirrorPreview);
  const InputOutcome r = ctx.askPoint(PROMPT_OFFSET_POINT);
  ctx.stopDrag();
  // A mirror line of no length mirrors nothing: the copies would only lie
  // on their sources, so they go as on Escape.
  bool mirrored = r == InputOutcome::PointGiven;
  for (ModelObject* o : copies) {
    if (!mirrored) break;
    mirrored = mirrorObject(*o, ctx.view().mode, basePoint(ctx), currentPoint(ctx));
    // Mirrored faces would show their backs: turn them round.
    if (mirrored && o->hasFaces()) invertAllFaces(*o);
  }
  if (mirrored || copies.empty()) {
    if (!copies.empty()) ctx.setModified();
  } else {
    freeAll(ctx.project(), copies);
  }
  endEdit(ctx);
}

void runTurn(CommandContext& ctx) {
  ctx.setCommandName("TURN >");
  if (!selectAndAskBase(ctx)) return;
  const std::optional<std::string> text = ctx.ui().inputLine("Angle [deg] : ", "0", 39);
  if (text) {
    const TurnMatrix m = turnMatrixForView(ctx.view().mode, parseNumber(*text));
    for (ModelObject* o : selectedObjects(ctx.project())) {
      ctx.eraseObject(*o);
      turnObject(*o, m, basePoint(ctx));
      ctx.drawObject(*o);
    }
    ctx.setModified();
  }
  endEdit(ctx);
}

namespace {

// Reads the three factors of the point dialog titled "Factors X,Y,Z :".
class FactorsHandler : public DialogHandler {
 public:
  void onInit(DialogControls& c) override {
    for (int id : {POINT_FIELD_X, POINT_FIELD_Y, POINT_FIELD_Z}) c.setText(id, "1");
    c.setFocus(POINT_FIELD_X);
  }
  void onCommand(int id, DialogEventKind kind, DialogControls& c) override {
    if (kind != DialogEventKind::Clicked) return;
    if (id == DLG_OK) {
      factors = Vec3d{parseNumber(c.text(POINT_FIELD_X)), parseNumber(c.text(POINT_FIELD_Y)),
                      parseNumber(c.text(POINT_FIELD_Z))};
      c.endDialog(DLG_OK);
    } else if (id == DLG_CANCEL) {
      c.endDialog(DLG_CANCEL);
    }
  }
  std::optional<Vec3d> factors;
};

}  // namespace

void runScale(CommandContext& ctx) {
  ctx.setCommandName("SCALE > ");
  if (!selectAndAskBase(ctx)) return;
  ctx.ui().showPrompt(TITLE_SCALE_FACTORS);
  FactorsHandler handler;
  // Factors are plain numbers: never converted to feet.
  if (runDialogOrReport(ctx.platform(), pointDialogTemplate(TITLE_SCALE_FACTORS), handler) ==
          DLG_OK &&
      handler.factors) {
    for (ModelObject* o : selectedObjects(ctx.project()))
      scaleObject(*o, basePoint(ctx), *handler.factors);
    ctx.setModified();
  }
  endEdit(ctx);
}

void runMoveNodes(CommandContext& ctx) {
  ctx.setCommandName("MOVE NODES >");
  ViewState& view = ctx.view();
  const bool markers = view.nodeMarkers;
  view.nodeMarkers = true;
  ctx.redrawAll();
  auto finish = [&] {
    ctx.nodeList().clear();
    view.nodeMarkers = markers;
    endEdit(ctx);
  };
  if (ctx.selectNodes() == 0 || ctx.askBasePoint() != InputOutcome::PointGiven) {
    finish();
    return;
  }
  std::vector<SelectedNode>& list = ctx.nodeList();
  if (list.size() > MOVE_NODES_MAX) list.resize(MOVE_NODES_MAX);
  ctx.startDrag(DragMode::MoveNodes);
  const InputOutcome r = ctx.askPoint(PROMPT_OFFSET_POINT);
  ctx.stopDrag();
  if (r == InputOutcome::PointGiven &&
      moveListedNodes(ctx.project().objects, list, ctx.input().base, ctx.input().current))
    ctx.setModified();
  finish();
}

}  // namespace tav
