// Groups: a begin marker, the members and an end marker in one run of the list.
#include "edit/object_groups.h"

#include <memory>
#include <vector>

namespace tav {

namespace {

std::unique_ptr<ModelObject> marker(std::uint32_t shape, std::uint32_t layer) {
  auto m = std::make_unique<ModelObject>();
  m->shape = shape;
  m->layer = layer;
  return m;
}

}  // namespace

bool buildGroup(ObjectList& list, std::uint32_t currentLayer) {
  std::vector<ModelObject*> selected;
  for (ModelObject& o : list)
    if (o.isSelected()) selected.push_back(&o);
  if (selected.size() < 2) return false;

  // The markers are linked beside the members first, then the whole run is
  // taken out in list order and put back at the head.
  ModelObject* begin =
      list.insertObjectBefore(marker(SHAPE_GROUP_BEGIN, selected.front()->layer), selected.front());
  ModelObject* end = nullptr;
  if (ModelObject* after = selected.back()->next)
    end = list.insertObjectBefore(marker(SHAPE_GROUP_END, currentLayer), after);
  else
    end = list.appendObject(marker(SHAPE_GROUP_END, currentLayer));

  std::vector<std::unique_ptr<ModelObject>> run;
  run.push_back(list.unlinkObject(begin));
  for (ModelObject* o : selected) run.push_back(list.unlinkObject(o));
  run.push_back(list.unlinkObject(end));
  for (auto it = run.rbegin(); it != run.rend(); ++it) list.insertAtHead(std::move(*it));
  return true;
}

bool splitGroup(ObjectList& list) {
  // A group counts as selected when its begin marker or any member is (the
  // selection takes a group as one unit).
  for (ModelObject& o : list) {
    if (!o.isGroupBegin()) continue;
    ModelObject* end = groupEnd(&o);
    if (end == nullptr) continue;
    bool selected = false;
    for (ModelObject* m = &o; m != nullptr && !selected; m = m == end ? nullptr : m->next)
      selected = m->isSelected();
    if (!selected) continue;
    list.freeObject(end);
    list.freeObject(&o);
    return true;
  }
  return false;
}

}  // namespace tav
