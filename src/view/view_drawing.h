// Drawing the model into the view through a Canvas: objects with highlight,
// back-face culling, small-object boxes and node markers, and in a full
// redraw also the grid, the node-list markers, the axis indicator and the
// comment. The perspective view draws faces only, filled and depth-sorted in
// hidden-backface mode, with its information block.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "model/project.h"
#include "platform/canvas.h"
#include "view/view_state.h"

namespace tav {

// Colours of the drawing.
constexpr int VIEW_HIGHLIGHT_COLOUR = 32;  // selected objects (dotted red)
constexpr int VIEW_ERASE_COLOUR = 30;      // background white
constexpr int VIEW_NODE_MARKER_COLOUR = 19;
constexpr int VIEW_NODE_LIST_COLOUR = 23;  // nodes picked for Move Nodes
// Half sizes of the markers, pixels.
constexpr int VIEW_NODE_MARKER_SIZE = 2;
constexpr int VIEW_NODE_LIST_SIZE = 3;
// Objects whose pixel box is smaller than this on both sides are drawn as
// that box only.
constexpr int VIEW_SMALL_OBJECT_PIXELS = 4;
// Centre of the 3D axis cross, from the lower left corner of the view.
constexpr int AXIS_CROSS_CENTRE = 45;
// The comment stands this many pixels above the lower edge of the view.
constexpr int VIEW_COMMENT_RISE = 16;
constexpr int VIEW_TEXT_HEIGHT = 16;

// A node of an object (Move Nodes' list).
struct NodeRef {
  const ModelObject* object = nullptr;
  std::uint32_t node = 0;
};

// What a drawing pass needs beside the view state.
struct ViewDrawContext {
  const Project* project = nullptr;        // layers, current layer
  const ModelObject* axisCross = nullptr;  // loaded axis cross (loadAxisCross)
  std::span<const NodeRef> nodeList;       // markers of Move Nodes
  std::string_view comment;                // shown at the bottom when not empty
  bool dragging = false;                   // selected objects are drawn by the drag preview
  std::optional<double> aimBandHz;         // band shown while a loudspeaker is aimed
};

enum class ObjectDrawMode {
  Over,   // draw these objects over the picture
  Full,   // clear, grid, objects, node-list markers, axis indicator, comment
  Erase,  // draw these objects in the background colour
};

// Draws the list stretch from `first` to `last` inclusive (null `last`: to
// the end of the list; null `first`: no objects, which a full redraw of an
// empty model uses).
void drawObjects(ViewState& state, Canvas& canvas, const ViewDrawContext& context,
                 const ModelObject* first, const ModelObject* last, ObjectDrawMode mode);

// Full redraw of the whole model.
void drawView(ViewState& state, Canvas& canvas, const ViewDrawContext& context);

// Pieces of the full redraw, usable on their own (for instance by printing).
void drawAxisIndicator(const ViewState& state, Canvas& canvas, const ModelObject* axisCross);
void drawComment(const ViewState& state, Canvas& canvas, std::string_view comment);

}  // namespace tav
