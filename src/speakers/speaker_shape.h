// Drawing models of loudspeaker types: the built-in default cabinet, the
// shape data stored behind a type in a database, and ".scf" shape files.
// A shape is one layer-3 solid in the loudspeaker's local frame whose last
// two nodes are the direction nodes (1, 0, 0) and (0, 0, 1).
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "model/message.h"
#include "model/model_object.h"

namespace tav {

// Magics of shape files (32-byte NUL-padded text).
inline constexpr const char* SHAPE_MAGIC = "BRESKA 1.0     ";
inline constexpr const char* SHAPE_MAGIC_OLD_PROJECT = "BRESKA V1.27";
inline constexpr const char* SHAPE_MAGIC_PROJECT = "TAVIRON V2.80  ";
constexpr std::size_t SHAPE_FILE_HEADER_SIZE = 32;
constexpr std::size_t SHAPE_LAYER_TABLE_SIZE = 384;
constexpr std::size_t SHAPE_OLD_PROJECT_HEADER_SIZE = 102;
constexpr std::size_t SHAPE_RECORD_HEAD_SIZE = 18;
constexpr std::size_t SHAPE_OLD_OBJECT_RECORD_SIZE = 40;
constexpr std::size_t SHAPE_OBJECT_RECORD_SIZE = 48;
// Extension of shape files beside layout-1 and layout-2 databases.
inline constexpr const char* SHAPE_FILE_EXTENSION = ".scf";

// Adds the direction nodes and makes the object a speaker shape (layer 3,
// SHAPE_SOLID, hidden compound).
std::unique_ptr<ModelObject> makeSpeakerShape(std::vector<Node> nodes,
                                              std::vector<IndexEntry> entries,
                                              std::vector<std::uint8_t> data = {});

// True for a shape object: at least the two direction nodes.
bool isUsableShape(const ModelObject& shape);

// The built-in shape of types without their own: a 0.30 x 0.40 x 0.60
// cabinet with a 36-node circle of radius 0.15 on its front face. Built in
// code once; never part of a project's object list.
const ModelObject& defaultSpeakerShape();

// Shape data behind a database record: object records as the project file
// stores them (48-byte head, data, nodes, 4-byte entries), merged into one
// shape. Null when the bytes are short or inconsistent.
std::unique_ptr<ModelObject> readShapeData(std::span<const std::uint8_t> bytes);
// The inverse for one shape object (its two direction nodes left out).
std::vector<std::uint8_t> encodeShapeData(const ModelObject& shape);

struct ShapeFileResult {
  std::unique_ptr<ModelObject> shape;  // null: use the default shape
  bool opened = false;                 // the file exists and was read
  UserMessage message;                 // set for an unknown or damaged file
};

// ".scf" file contents in any of the three header kinds.
ShapeFileResult parseShapeFile(std::span<const std::uint8_t> bytes);
ShapeFileResult readShapeFile(const std::string& path);

}  // namespace tav
