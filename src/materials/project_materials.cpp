#include "materials/project_materials.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "model/object_list.h"
#include "model/project.h"

namespace tav {

namespace {

// Names compare as NUL-terminated texts within their 23-byte field.
bool sameName(const AbsorberMaterial& a, const AbsorberMaterial& b) {
  return std::strncmp(a.name, b.name, sizeof a.name) == 0;
}

}  // namespace

int addMaterialToProject(ProjectMaterials& materials, const AbsorberMaterial& record) {
  if (record.isFree()) return -1;
  const std::size_t count = std::min(materials.slots.size(), MAX_MATERIALS);
  int highestFree = -1;
  for (std::size_t i = 0; i < count; ++i) {
    const AbsorberMaterial& slot = materials.slots[i];
    if (slot.isFree()) {
      highestFree = static_cast<int>(i);
    } else if (sameName(slot, record)) {
      return static_cast<int>(i);
    }
  }
  if (highestFree >= 0) {
    materials.slots[static_cast<std::size_t>(highestFree)] = record;
    return highestFree;
  }
  if (materials.slots.size() >= MAX_MATERIALS) return -1;
  materials.slots.push_back(record);
  return static_cast<int>(materials.slots.size() - 1);
}

void releaseUnusedMaterials(const ObjectList& objects, ProjectMaterials& materials) {
  const std::size_t count = materials.slots.size();
  std::vector<bool> used(count, false);
  for (const ModelObject& o : objects) {
    if (o.layer != LAYER_ROOM || !o.hasFaces()) continue;
    for (const IndexEntry& e : o.indices)
      if (e.code == IDX_MATERIAL && e.ref < count) used[e.ref] = true;
  }
  for (std::size_t i = 0; i < count; ++i) {
    if (i == DEFAULT_MATERIAL_SLOT) continue;
    if (!used[i]) materials.slots[i].name[0] = '\0';
  }
}

void releaseUnusedMaterials(Project& project) {
  releaseUnusedMaterials(project.objects, project.materials);
}

void resetProjectMaterials(Project& project) {
  resetProjectMaterials(project.materials);
  project.settings.measuredRT.fill(0.0f);
}

}  // namespace tav
