// What a command handler receives: the project, the program-wide session,
// the Interaction through which it talks to the user, the shared input
// state (current, last and base point), the selection services, the drag
// previews, the view services and the undo ring.
//
// A command is straight-line code. It writes a prompt and waits:
//
//   void runMove(CommandContext& ctx) {
//     ctx.setCommandName("MOVE > ");
//     if (ctx.selectObjects() == 0) return;
//     if (ctx.askBasePoint() != InputOutcome::PointGiven) { deselectAll(ctx.project()); return; }
//     ctx.startDrag(DragMode::MoveObjects);
//     InputOutcome r = ctx.askPoint("Offset-point :");
//     ctx.stopDrag();
//     ...apply dragMoveNode(node, ctx.input().base, ctx.input().current)...
//   }
//
// The dispatcher has already set the current layer and colour from the
// command number and taken the undo snapshot when the command takes one;
// it clears the command name and the prompt afterwards.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "model/model_object.h"
#include "model/project.h"
#include "model/undo_ring.h"
#include "model/units.h"
#include "platform/canvas.h"
#include "platform/interaction.h"
#include "shell/drag_transform.h"
#include "shell/session.h"
#include "view/view_drawing.h"
#include "view/view_state.h"

namespace tav {

// Prompts of the shared input services.
inline constexpr const char* PROMPT_BASEPOINT = "Basepoint :";
inline constexpr const char* PROMPT_OFFSET_POINT = "Offset-point :";
inline constexpr const char* PROMPT_SELECT_OBJECTS = "Select Objects";
inline constexpr const char* PROMPT_SELECT_NODES = "Select Nodes";
inline constexpr const char* PROMPT_SELECT_FACE = "Select Face";

// Half size of the square searched around a click when picking, pixels
// (a 9 x 9 box).
constexpr int PICK_BOX_HALF = 4;

enum class SelectionMode { None, Picking, Window };

// The shared input state. Points are model coordinates in metres.
struct InputState {
  Node current;       // the point under the cursor after snapping; read after PointGiven
  Node last;          // the previously given point: origin of relative and polar input
  Node tracked;       // the cursor position before it becomes the current point
  Node base;          // set by askBasePoint: origin of offsets
  PixelPoint cursor;  // the cross-hair position in the view
  bool cursorInView = false;
  SelectionMode selection = SelectionMode::None;
  PixelPoint windowCorner;  // first corner of a selection window
};

// A node picked by node selection.
struct SelectedNode {
  ModelObject* object = nullptr;
  std::uint32_t node = 0;
  friend bool operator==(const SelectedNode&, const SelectedNode&) = default;
};

// The face chosen by face selection: its object and its IDX_START entry.
struct FaceSelection {
  ModelObject* object = nullptr;
  std::size_t startEntry = 0;
};

// Drag previews, drawn as an overlay from the model and the current point;
// the model is not changed by a preview. While a preview of the selected
// objects runs, full redraws leave the selected objects out.
enum class DragMode {
  None,
  MoveObjects,       // selected objects moved by current - base (dragMoveNode)
  CirclePreview,     // the object the PreviewBuilder makes from the current point
  RectanglePreview,  // the same
  MoveNodes,         // the node list's nodes moved by current - base
  MirrorPreview      // selected objects mirrored across base -> current (mirrorInViewPlane)
};

// Builds the object to show for a cursor at `current` (circle and rectangle
// previews); null shows nothing.
using PreviewBuilder = std::function<std::unique_ptr<ModelObject>(const Node& current)>;

// Random numbers for the face order of face selection: a value in
// 0 .. bound - 1 (bound > 0). Tests inject a fixed sequence.
using RandomSource = std::function<std::uint32_t(std::uint32_t bound)>;

class CommandContext {
 public:
  virtual ~CommandContext() = default;

  // --- what the command works on ---
  virtual Project& project() = 0;
  virtual Session& session() = 0;
  virtual Interaction& ui() = 0;
  Platform& platform() { return ui().platform(); }
  // Number of the running command (0 outside a command).
  virtual int command() const = 0;
  // Prefix of the prompt line, e.g. "MOVE > " (shown again at once).
  virtual void setCommandName(std::string_view name) = 0;

  // --- input ---
  virtual InputState& input() = 0;
  // showPrompt(prompt) and waitForInput(); on PointGiven input().current
  // holds the point.
  InputOutcome askPoint(std::string_view prompt) {
    ui().showPrompt(prompt);
    return ui().waitForInput();
  }
  // "Basepoint :" until a point, finish or cancel; on a point it becomes
  // input().base (and the last point).
  virtual InputOutcome askBasePoint() = 0;

  // --- selection ---
  // "Select Objects": picking and window selection on the current layer,
  // groups as one unit. Returns the number of selected objects; 0 on cancel
  // (everything deselected) or when nothing was selected.
  virtual int selectObjects() = 0;
  // "Select Nodes": fills nodeList(); returns its size (0 and the list
  // cleared on cancel).
  virtual std::size_t selectNodes() = 0;
  virtual std::vector<SelectedNode>& nodeList() = 0;
  // "Select Face": the confirmed face, or nothing on cancel or when no face
  // was hit. The face stays highlighted until the next redraw.
  virtual std::optional<FaceSelection> selectFace() = 0;

  // --- previews ---
  // Starts a drag preview (builder only for the circle and rectangle).
  virtual void startDrag(DragMode mode, PreviewBuilder builder = {}) = 0;
  virtual void stopDrag() = 0;
  // Rubber line from the base point to the cursor while on.
  virtual void setLineMode(bool on) = 0;

  // --- view ---
  virtual ViewState& view() = 0;
  // Everything drawn again (grid, objects, node-list markers, axes, comment).
  virtual void redrawAll() = 0;
  // One object drawn over the picture (highlighted when selected), or
  // erased (drawn in the background colour).
  virtual void drawObject(const ModelObject& object) = 0;
  virtual void eraseObject(const ModelObject& object) = 0;
  // Free drawing over the picture (markers, information blocks).
  virtual void drawOnView(const PaintFunction& paint) = 0;
  virtual void zoomAll() = 0;
  // Grid rebuilt from the model, then everything redrawn.
  virtual void rebuildGrid() = 0;
  // What drawing passes need beside the view state.
  virtual ViewDrawContext drawContext() = 0;

  // --- model services ---
  const Units& units() { return session().units; }
  UndoRing& undoRing() { return session().undo; }
  // Sets the modified mark (confirmDiscard asks before the model is dropped).
  virtual void setModified() = 0;
  // Window title from the project name.
  virtual void updateTitle() = 0;
  // Enters the project in the recent list and writes the history file.
  virtual void updateHistory() = 0;
  // Menu and panel states from the model (after a command changed them).
  virtual void refreshStates() = 0;
};

}  // namespace tav
