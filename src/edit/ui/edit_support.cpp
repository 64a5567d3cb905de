// Shared pieces of the editing commands.
#include "edit/ui/edit_support.h"

namespace tav {

void endEdit(CommandContext& ctx) {
  deselectAll(ctx.project());
  ctx.redrawAll();
}

std::vector<ModelObject*> selectedObjects(Project& project) {
  std::vector<ModelObject*> out;
  for (ModelObject& o : project.objects)
    if (o.isSelected()) out.push_back(&o);
  return out;
}

ModelObject* replaceObject(Project& project, ModelObject* old,
                           std::unique_ptr<ModelObject> object) {
  ModelObject* linked = project.objects.insertObjectBefore(std::move(object), old);
  project.objects.freeObject(old);
  return linked;
}

bool selectAndAskBase(CommandContext& ctx) {
  if (ctx.selectObjects() == 0) {
    endEdit(ctx);
    return false;
  }
  if (ctx.askBasePoint() != InputOutcome::PointGiven) {
    endEdit(ctx);
    return false;
  }
  return true;
}

}  // namespace tav
