// Working limits and user messages of the drawing and editing commands.
#pragma once

#include <cstddef>

#include "model/message.h"  // MSG_INVALID_ENTRY

namespace tav {

// An object built by Extrude, Rotate, Assemble Solid, Insert Nodes or Split
// Face holds at most this many nodes and index entries.
constexpr std::size_t EDIT_MAX_NODES = 5400;
constexpr std::size_t EDIT_MAX_ENTRIES = 32760;
// An object drawn interactively (lines, polygon, circle) holds at most this
// many nodes and entries.
constexpr std::size_t DRAW_MAX_NODES = 360;
constexpr std::size_t DRAW_MAX_ENTRIES = 361;
// Move Nodes handles at most this many nodes.
constexpr std::size_t MOVE_NODES_MAX = 5400;
// Copy and Mirror duplicate at most this many bytes of objects (snapshot sizes).
constexpr std::size_t COPY_MAX_BYTES = 1048576;
// Two nodes closer than 2 mm (squared distance in m²) are shared when faces
// are assembled into a solid.
constexpr double ASSEMBLE_SHARE_DISTANCE_SQUARED = 4e-6;

// Failure messages (shown without a caption).
inline constexpr const char* MSG_COPY_TOO_BIG = "ERROR : Insufficient memory";
inline constexpr const char* MSG_EXTRUDE_TOO_BIG = "Object too big for extrusion";
inline constexpr const char* MSG_ROTATE_TOO_BIG = "Object too big or too many segments";
inline constexpr const char* MSG_NO_INTERSECTION = "No intersection found, operation cancelled";
inline constexpr const char* MSG_ONE_INTERSECTION =
    "Only 1 intersection found, operation cancelled";
// A split line crossing the face more than twice would cut it into more than
// two pieces, which one split cannot express.
inline constexpr const char* MSG_TOO_MANY_INTERSECTIONS =
    "More than 2 intersections found, operation cancelled";
inline constexpr const char* MSG_INTERSECTION_IN_3D =
    "Can\u00B4t calculate intersection in 3D-view";
inline constexpr const char* MSG_NO_FONT = "No Font loaded";
inline constexpr const char* MSG_SWITCH_TO_2D_VIEW = "Please switch to XY-, YZ-, or XZ-View ";

}  // namespace tav
