// The records of the model: objects made of nodes and a small drawing program
// of index entries over them, with a shape type, flags, colour and layer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/vec3.h"

namespace tav {

// A node: a point in model coordinates, always metres.
struct Node {
  float x = 0, y = 0, z = 0;
  friend bool operator==(const Node&, const Node&) = default;
};
inline Vec3d toVec(const Node& n) { return {n.x, n.y, n.z}; }
inline Node toNode(const Vec3d& v) {
  return {static_cast<float>(v.x), static_cast<float>(v.y), static_cast<float>(v.z)};
}

// One step of an object's drawing program. For IDX_MATERIAL, ref is a
// material number, otherwise a node number.
struct IndexEntry {
  std::uint16_t code = 0;
  std::uint16_t ref = 0;
  friend bool operator==(const IndexEntry&, const IndexEntry&) = default;
};

// Index entry codes.
constexpr std::uint16_t IDX_START = 0;     // pen up, move to node
constexpr std::uint16_t IDX_LINE = 1;      // edge to node
constexpr std::uint16_t IDX_CLOSE = 2;     // edge to node, then closing edge; ends a face
constexpr std::uint16_t IDX_MATERIAL = 3;  // material number of the face just started

// Shape types.
constexpr std::uint32_t SHAPE_LINE = 0;
constexpr std::uint32_t SHAPE_POLYLINE = 1;
constexpr std::uint32_t SHAPE_FACE = 8;
constexpr std::uint32_t SHAPE_SOLID = 16;
constexpr std::uint32_t SHAPE_TEXT = 32;
constexpr std::uint32_t SHAPE_PRINT_HEADER = 33;
constexpr std::uint32_t SHAPE_GROUP_BEGIN = 0x20000;
constexpr std::uint32_t SHAPE_GROUP_END = 0x40000;
// Mask of the shapes that carry closed faces.
constexpr std::uint32_t SHAPE_FACES_MASK = SHAPE_FACE | SHAPE_SOLID;

// Flag bits.
constexpr std::uint32_t OF_CREATED = 0x01;
constexpr std::uint32_t OF_COMPOUND = 0x02;
constexpr std::uint32_t OF_COMPOUND_END = 0x04;
constexpr std::uint32_t OF_SELECTED = 0x08;
constexpr std::uint32_t OF_MARKED = 0x10;
constexpr std::uint32_t OF_INERT = 0x60;
constexpr std::uint32_t OF_HIDDEN = 0x80;
// Flags of a loudspeaker shape object (hidden compound).
constexpr std::uint32_t OF_SPEAKER_SHAPE = OF_HIDDEN | OF_COMPOUND | OF_COMPOUND_END;
// Flags of the print-header pseudo-object.
constexpr std::uint32_t OF_PRINT_HEADER = OF_HIDDEN | OF_INERT;

// Layers with a fixed meaning.
constexpr std::uint32_t LAYER_ROOM = 0;
constexpr std::uint32_t LAYER_AUDIENCE = 1;
constexpr std::uint32_t LAYER_SPEAKERS = 2;
constexpr std::uint32_t LAYER_SPEAKER_SHAPES = 3;
constexpr std::uint32_t LAYER_AIM_LINES = 4;
constexpr std::uint32_t LAYER_RAYS = 5;
constexpr std::uint32_t LAYER_AUX = 7;
constexpr std::uint32_t LAYER_GRID = 8;
constexpr int LAYER_COUNT = 32;

// Limits of compaction and editing: an object of at most this many nodes and
// entries fits the model's scratch buffer (256 KiB / 12 bytes per node).
constexpr std::size_t MAX_OBJECT_NODES = 21845;
constexpr std::size_t MAX_OBJECT_ENTRIES = 65536;

// One object of the model. Objects live in an ObjectList, which owns them;
// prev and next are the list links (null at the ends or when unlinked).
struct ModelObject {
  ModelObject* prev = nullptr;
  ModelObject* next = nullptr;
  std::vector<std::uint8_t> data;  // data block (a PlacedSpeaker on layer 2)
  std::vector<Node> nodes;
  std::vector<IndexEntry> indices;
  std::uint32_t shape = 0;
  std::uint32_t flags = 0;
  std::uint32_t colour = 0;
  std::uint32_t layer = 0;

  std::uint32_t nodeCount() const { return static_cast<std::uint32_t>(nodes.size()); }
  std::uint32_t indexCount() const { return static_cast<std::uint32_t>(indices.size()); }
  std::uint32_t dataSize() const { return static_cast<std::uint32_t>(data.size()); }

  bool hasFaces() const { return (shape & SHAPE_FACES_MASK) != 0; }
  bool isDrawable() const { return (flags & (OF_HIDDEN | OF_INERT)) == 0; }
  bool isSelected() const { return (flags & OF_SELECTED) != 0; }
  bool isGroupBegin() const { return shape == SHAPE_GROUP_BEGIN; }
  bool isGroupEnd() const { return shape == SHAPE_GROUP_END; }
};

// Bytes an object takes in a snapshot or a file: record, data, nodes, entries.
std::size_t snapshotSize(const ModelObject& object);

// The face's area vector: starting at the IDX_START entry `startEntry`,
// the sum over the face's edges (closing edge included) of the cross terms;
// not halved, so its length is twice the area; it points to the front side.
Vec3d faceAreaVector(const ModelObject& object, std::size_t startEntry);

// Positions of the IDX_START entries of the closed faces of an object
// (figures that end with IDX_CLOSE).
std::vector<std::size_t> faceStarts(const ModelObject& object);

// Number of IDX_CLOSE entries, and the shape that count implies:
// none -> SHAPE_POLYLINE, one -> SHAPE_FACE, more -> SHAPE_SOLID.
std::size_t countClosedFaces(const ModelObject& object);
std::uint32_t shapeFromClosedFaces(std::size_t closedFaces);

// Node merging and entry cleanup after drawing or editing. Returns false
// (object unchanged) when the object exceeds the scratch-buffer limits.
bool compactObject(ModelObject& object);

}  // namespace tav
