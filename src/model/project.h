// A project: the object list and everything the project file stores beside
// it, plus the marks and current-layer state that belong to the open model.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "mapping/level_map.h"
#include "materials/absorber_material.h"
#include "model/layers.h"
#include "model/model_observer.h"
#include "model/object_list.h"
#include "model/print_header.h"
#include "model/project_settings.h"
#include "speakers/speaker_type.h"

namespace tav {

constexpr const char* DEFAULT_PROJECT_NAME = "PROJECT1.TPR";

class Project {
 public:
  Project();  // a new, empty project (see newProject)
  Project(const Project&) = delete;
  Project& operator=(const Project&) = delete;
  Project(Project&&) = default;
  Project& operator=(Project&&) = default;

  ObjectList objects;
  LayerTable layers;
  ProjectSpeakerTypes speakerTypes;
  ProjectMaterials materials;
  PrintHeader printHeader;
  ProjectSettings settings;

  std::string name = DEFAULT_PROJECT_NAME;  // full path once opened or saved
  bool modified = false;
  // The project description (Windows-1252, at most 79 characters): stored
  // with the map and shown by the result windows.
  std::string description;
  // The result of the last Level + Time calculation (or loaded map); none
  // while there is no valid map.
  std::optional<LevelMap> levelMap;
  // The map block as read from the project file. It is written back byte
  // for byte while it still reads as `levelMap` and `description`.
  std::vector<std::uint8_t> storedMapBlock;
  bool hasCalculationResult() const { return levelMap.has_value(); }

  std::uint32_t currentLayer = 0;
  std::uint32_t currentColour = 0;
  std::uint32_t nodeSnapLayer = 0;

  // Told when objects must be drawn again; may be null.
  ModelObserver* observer = nullptr;
  void notifyObject(const ModelObject& o) const {
    if (observer) observer->objectChanged(o);
  }
  void notifyAll() const {
    if (observer) observer->modelChanged();
  }
};

// Resets to a new project: frees all objects and speaker types, clears the
// print header and the map, default layers and settings, material slot 0,
// current layer and colour 0, node-snap layer 0, name "PROJECT1.TPR".
// The observer is kept.
void newProject(Project& project);

// Sets the current layer and colour from a menu command number; commands of
// layers 0, 2 and 7 also set the node-snap layer. A chosen layer that is off
// is switched on and its hidden objects are shown again.
void applyCommandLayer(Project& project, int command);

// Clears OF_SELECTED everywhere, redrawing each object that had it.
void deselectAll(Project& project);

// Objects on layers that are off get OF_HIDDEN; on visible layers (except the
// speaker-shape layer 3) it is cleared. Then everything is redrawn.
void syncLayerVisibility(Project& project);

// Number of IDX_START entries of layer-0 objects with faces.
std::size_t countRoomFaces(const Project& project);

}  // namespace tav
