// Shared pieces of the editing commands.
#include "edit/ui/edit_support.h"

#include <set>
#include <utility>

#include "shell/drag_transform.h"

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

bool moveListedNodes(const ObjectList& objects, std::span<const SelectedNode> list,
                     const Node& base, const Node& current) {
  std::set<std::pair<ModelObject*, std::uint32_t>> done;
  std::set<ModelObject*> changed;
  for (const SelectedNode& s : list) {
    if (s.object == nullptr || !objects.contains(s.object) || s.node >= s.object->nodes.size() ||
        !done.insert({s.object, s.node}).second)
      continue;
    s.object->nodes[s.node] = dragMoveNode(s.object->nodes[s.node], base, current);
    changed.insert(s.object);
  }
  for (ModelObject* o : changed)
    if (o->shape != SHAPE_TEXT) compactObject(*o);
  return !changed.empty();
}

}  // namespace tav
