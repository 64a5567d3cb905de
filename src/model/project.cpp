#include "model/project.h"

#include "materials/absorber_material.h"

namespace tav {

Project::Project() { newProject(*this); }

void newProject(Project& project) {
  project.objects.freeAllObjects();
  project.speakerTypes.clear();
  resetProjectMaterials(project.materials);
  project.printHeader = PrintHeader{};
  project.settings = ProjectSettings{};
  project.layers = defaultLayers();
  project.name = DEFAULT_PROJECT_NAME;
  project.modified = false;
  project.description.clear();
  project.levelMap.reset();
  project.storedMapBlock.clear();
  project.currentLayer = LAYER_ROOM;
  project.currentColour = 0;
  project.nodeSnapLayer = LAYER_ROOM;
  project.notifyAll();
}

void applyCommandLayer(Project& project, int command) {
  const std::optional<CommandLayer> chosen = layerForCommand(command);
  if (!chosen) return;
  project.currentLayer = chosen->layer;
  project.currentColour = chosen->colour;
  if (chosen->setsNodeSnapLayer) project.nodeSnapLayer = chosen->layer;
  LayerRecord& layer = project.layers[chosen->layer];
  if (layer.visible) return;
  layer.visible = 1;
  for (ModelObject& o : project.objects) {
    if (o.layer == chosen->layer && (o.flags & OF_HIDDEN)) {
      o.flags &= ~OF_HIDDEN;
      project.notifyObject(o);
    }
  }
}

void deselectAll(Project& project) {
  for (ModelObject& o : project.objects) {
    if (o.flags & OF_SELECTED) {
      o.flags &= ~OF_SELECTED;
      project.notifyObject(o);
    }
  }
}

void syncLayerVisibility(Project& project) {
  for (ModelObject& o : project.objects) {
    // A layer number beyond the table (only a damaged file can bring one)
    // counts as a layer that is off.
    const bool visible = o.layer < project.layers.size() && project.layers[o.layer].visible != 0;
    if (!visible)
      o.flags |= OF_HIDDEN;
    else if (o.layer != LAYER_SPEAKER_SHAPES)  // shapes are drawn with their loudspeakers only
      o.flags &= ~OF_HIDDEN;
  }
  project.notifyAll();
}

std::size_t countRoomFaces(const Project& project) {
  std::size_t n = 0;
  for (const ModelObject& o : project.objects) {
    if (o.layer != LAYER_ROOM || !o.hasFaces()) continue;
    for (const IndexEntry& e : o.indices)
      if (e.code == IDX_START) ++n;
  }
  return n;
}

}  // namespace tav
