// Editing single faces and edges: Split Face, Insert Nodes, Delete Face.
// Crossings are found in the plane of a 2D view.
#pragma once

#include <cstddef>
#include <optional>

#include "model/model_object.h"
#include "model/vec3.h"

namespace tav {

// A crossing of an edge A -> B with the line P1 -> P2 in the view plane:
// the new node on the edge, its in-plane coordinates those of the crossing,
// its coordinate across the view interpolated along the edge with the
// parameter taken on the in-plane axis the edge spans more. Crossings are
// counted on the edge from A inclusive to B exclusive and anywhere on the
// line from P1 to P2; parallel edges never cross.
std::optional<Vec3d> edgeCrossing(Vec3d a, Vec3d b, Vec3d p1, Vec3d p2, int viewMode);

enum class SplitOutcome {
  Split,            // the face is now two faces
  NoIntersection,   // the line misses the face
  OneIntersection,  // the line crosses one edge only
  TooManyIntersections,
  NotAFace,  // no closed face starts at the given entry
  TooBig     // the object would exceed the editing limits
};

// Splits the face starting at IDX_START entry `startEntry` along the line
// P1 -> P2: new nodes N1 on the first and N2 on the second crossed edge (in
// vertex order); the first face runs from the start vertex to the start of
// the first crossed edge, N1, N2, and on from the end of the second crossed
// edge; the second face runs N1, the vertices between, N2. Both get
// material 0 and take the face's place; the shape follows the face count;
// compacted.
SplitOutcome splitFace(ModelObject& object, std::size_t startEntry, Vec3d p1, Vec3d p2,
                       int viewMode);

struct InsertNodesResult {
  std::size_t inserted = 0;
  bool tooBig = false;  // the object was left unchanged
};

// Puts a new node into every edge of the object that the line P1 -> P2
// crosses; compacted when anything was inserted.
InsertNodesResult insertNodes(ModelObject& object, Vec3d p1, Vec3d p2, int viewMode);

enum class DeleteFaceOutcome {
  Removed,      // the face is gone, other figures remain
  ObjectEmpty,  // nothing remains: the caller deletes the object
  NotAFace
};

// Removes the entries of the face starting at `startEntry`. If entries
// remain, the unused nodes are dropped (nodes within 2 mm shared as when
// assembling), the shape is recomputed from the closing entries and the
// object compacted.
DeleteFaceOutcome deleteFace(ModelObject& object, std::size_t startEntry);

}  // namespace tav
