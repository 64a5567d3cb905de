// Small builders shared by the model tests.
#pragma once

#include <initializer_list>
#include <memory>
#include <utility>
#include <vector>

#include "model/model_object.h"
#include "model/model_observer.h"
#include "model/object_list.h"

namespace tav::test {

// An object with the given nodes and entries on a layer.
inline std::unique_ptr<ModelObject> makeObject(std::vector<Node> nodes,
                                               std::vector<IndexEntry> entries,
                                               std::uint32_t layer = LAYER_ROOM,
                                               std::uint32_t shape = SHAPE_FACE) {
  auto o = std::make_unique<ModelObject>();
  o->nodes = std::move(nodes);
  o->indices = std::move(entries);
  o->layer = layer;
  o->shape = shape;
  return o;
}

// A bare object that only carries a shape, layer and flags.
inline std::unique_ptr<ModelObject> makeMarker(std::uint32_t shape, std::uint32_t layer = 0,
                                               std::uint32_t flags = 0) {
  auto o = std::make_unique<ModelObject>();
  o->shape = shape;
  o->layer = layer;
  o->flags = flags;
  return o;
}

// Counts what the model asked to be drawn again.
struct RecordingObserver : ModelObserver {
  std::vector<const ModelObject*> changed;
  int all = 0;
  void objectChanged(const ModelObject& o) override { changed.push_back(&o); }
  void modelChanged() override { ++all; }
};

}  // namespace tav::test
