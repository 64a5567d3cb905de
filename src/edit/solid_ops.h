// Solids from faces and profiles: Extrude, Rotate, Dismantle Solid and
// Assemble Solid as functions of their inputs to new objects.
#pragma once

#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "model/model_object.h"
#include "model/vec3.h"

namespace tav {

enum class SolidBuild {
  Built,    // object holds the new solid
  Skipped,  // the source is a solid, a text or has no edge: left alone
  TooBig    // the result would exceed the editing limits
};

struct SolidResult {
  SolidBuild status = SolidBuild::Skipped;
  std::unique_ptr<ModelObject> object;
};

// The solid swept by moving the object's figures along `vector`: the
// object's nodes and their moved copies; a single face keeps its entries as
// the bottom and gets a reversed moved copy as the top; every edge gives a
// side face (0,a') (3,0) (1,b') (1,b) (2,a). Layer and colour of the source,
// its flags without OF_SELECTED; faces turned outwards (positive signed
// volume); compacted. TooBig when 2 × nodes > 5 400 or 8 × entries > 32 760.
SolidResult extrudeObject(const ModelObject& source, Vec3d vector);

// The solid swept by turning the object's figures about the view's axis
// (z in XY and 3D, x in YZ, y in XZ) through `base` by `degrees` in
// `segments` equal steps. A single face keeps its face as the start and gets
// a reversed copy of the last profile as the end, unless `fullTurn` (the
// user typed exactly "360"): then no end faces, and the last profile merges
// with the first. Sources as for extrudeObject; TooBig beyond 5 400 nodes or
// 32 760 entries. segments must be at least 1.
SolidResult rotateObject(const ModelObject& source, Vec3d base, int viewMode, double degrees,
                         int segments, bool fullTurn);

// True when the typed rotation angle asks for a closed ring.
inline bool isFullTurnText(std::string_view text) { return text == "360"; }

// One object per figure of a solid, each with its own copies of the
// figure's nodes: shape 8 for a closed figure, else 1; layer, colour and
// flags of the solid, selected.
std::vector<std::unique_ptr<ModelObject>> dismantleSolid(const ModelObject& solid);

struct AssembleResult {
  std::unique_ptr<ModelObject> object;  // null when nothing was merged
  std::size_t merged = 0;               // faces taken, from the front of the input
};

// Merges single faces, in the given order, into one solid while it stays
// within 5 400 nodes and 32 760 entries; a node within 2 mm of a node
// already in the solid is shared. Shape 16, flags 0, the given layer and
// colour.
AssembleResult assembleFaces(std::span<const ModelObject* const> faces, std::uint32_t layer,
                             std::uint32_t colour);

}  // namespace tav
