// Mouse tracking with both snaps, typed points, the base point and the
// overlay with the cross-hair, rubber bands and drag previews.
#include <algorithm>
#include <cmath>
#include <set>

#include "model/number_text.h"
#include "model/object_list.h"
#include "platform/keys.h"
#include "shell/point_snap.h"
#include "shell/shell.h"
#include "shell/typed_point.h"
#include "view/view_drawing.h"

namespace tav {

namespace {

// Sets the two coordinates of a 2D view's plane.
void setPlane(std::int16_t mode, Node& p, double h, double v) {
  switch (mode) {
    case VIEW_YZ:
      p.y = static_cast<float>(h);
      p.z = static_cast<float>(v);
      break;
    case VIEW_XZ:
      p.x = static_cast<float>(h);
      p.z = static_cast<float>(v);
      break;
    default:
      p.x = static_cast<float>(h);
      p.y = static_cast<float>(v);
      break;
  }
}

void copyPlane(std::int16_t mode, Node& p, const Node& from) {
  switch (mode) {
    case VIEW_YZ:
      p.y = from.y;
      p.z = from.z;
      break;
    case VIEW_XZ:
      p.x = from.x;
      p.z = from.z;
      break;
    default:
      p.x = from.x;
      p.y = from.y;
      break;
  }
}

// Collects the values of a dialog's fields when OK is pressed.
class PointDialogHandler : public DialogHandler {
 public:
  PointDialogHandler(std::vector<int> ids, std::vector<std::string> initial)
      : ids_(std::move(ids)), initial_(std::move(initial)) {}
  void onInit(DialogControls& c) override {
    for (std::size_t i = 0; i < ids_.size(); ++i) c.setText(ids_[i], initial_[i]);
    c.setFocus(ids_.front());
  }
  void onCommand(int id, DialogEventKind kind, DialogControls& c) override {
    if (kind != DialogEventKind::Clicked) return;
    if (id == DLG_OK) {
      values.clear();
      for (int f : ids_) values.push_back(parseNumber(c.text(f)));
      c.endDialog(DLG_OK);
    } else if (id == DLG_CANCEL) {
      c.endDialog(DLG_CANCEL);
    }
  }
  std::vector<double> values;

 private:
  std::vector<int> ids_;
  std::vector<std::string> initial_;
};

}  // namespace

void Shell::onMouse(const MouseEvent& event) {
  const bool inside = event.pos.x >= 0 && event.pos.y >= 0 && event.pos.x < view_.width &&
                      event.pos.y < view_.height;
  if (panWithMiddleButton(event)) return;
  if (event.action == MouseAction::Move) mousePixel_ = event.pos;
  switch (event.action) {
    case MouseAction::Move: {
      // Inside the view the cross-hair replaces the system cursor; with Ctrl
      // held the arrow is shown instead.
      const bool entered = !input_.cursorInView;
      input_.cursorInView = inside;
      if ((entered || crossHidden_ != event.ctrl) && canDraw()) {
        window_->setViewCursor(event.ctrl ? CursorShape::Arrow : CursorShape::Hidden);
      }
      crossHidden_ = event.ctrl;
      trackMouse(event.pos);
      break;
    }
    case MouseAction::Press:
    case MouseAction::DoubleClick:
      // The second press of a double click is a press like the first.
      if (event.button == MouseButton::Left) {
        if (inside) queueInput(PendingKind::Point);
      } else if (event.button == MouseButton::Right) {
        if (active_ != 0) {
          queueInput(PendingKind::Finish, true);
        } else if (last_ != 0 && canDraw()) {
          window_->postCommand(last_);
        }
      }
      break;
    default:
      break;
  }
}

void Shell::onMouseLeave() {
  input_.cursorInView = false;
  if (canDraw()) window_->setViewCursor(CursorShape::Arrow);
  updateOverlay();
}

void Shell::trackMouse(PixelPoint pixel) {
  Node p = input_.current;  // the coordinate off the view plane keeps its value
  const ProjectSettings& s = project_.settings;
  if (view_.is2D()) {
    const double h = screenToModel(view_, pixel.x, AXIS_H);
    const double v = screenToModel(view_, pixel.y, AXIS_V);
    setPlane(view_.mode, p, snapCoordinate(h, s.cursorSnapOn, s.cursorSnap),
             snapCoordinate(v, s.cursorSnapOn, s.cursorSnap));
  }
  input_.cursor = pixel;
  if (input_.selection == SelectionMode::None && s.nodeSnapOn && !project_.objects.empty()) {
    const bool skipSelected =
        drag_ == DragMode::CirclePreview || drag_ == DragMode::RectanglePreview;
    if (const auto snap = findSnapNode(view_, project_.objects, project_.nodeSnapLayer,
                                       s.nodeSnapWidth, pixel, skipSelected)) {
      if (view_.is2D()) {
        copyPlane(view_.mode, p, snap->node);
      } else {
        p = snap->node;
        input_.cursor = snap->pixel;
      }
    }
  }
  if (view_.is2D() && input_.selection == SelectionMode::None) {
    // The cross-hair jumps to the snapped position.
    input_.cursor = pixelOf(p);
  }
  input_.tracked = p;
  input_.current = p;
  updateOverlay();
  refreshCoordinates();
}

void Shell::afterPointInput() {
  if (view_.is2D()) input_.cursor = pixelOf(input_.current);
  crossHidden_ = false;
  updateOverlay();
  refreshCoordinates();
  queueInput(PendingKind::Point);
}

void Shell::typedPoint(int key) {
  const Units& u = session_.units;
  const char* format = u.feet ? "%0.2f" : "%0.3f";
  crossHidden_ = true;
  updateOverlay();
  Node p;
  int result = DLG_CANCEL;
  if (key == KEY_P) {
    PointDialogHandler h({POLAR_FIELD_DISTANCE, POLAR_FIELD_ANGLE}, {"0", "0"});
    result = runDialogOrReport(platform_, polarDialogTemplate(), h);
    if (result == DLG_OK && h.values.size() == 2) {
      const Node off = polarOffset(view_.mode, h.values[0], h.values[1], u);
      p = {input_.last.x + off.x, input_.last.y + off.y, input_.last.z + off.z};
    } else {
      result = DLG_CANCEL;
    }
  } else {
    const bool absolute = key == KEY_A;
    const Node& c = input_.current;
    std::vector<std::string> initial;
    if (absolute) {
      for (float v : {c.x, c.y, c.z}) initial.push_back(formatNumber(format, u.lengthToDisplay(v)));
    } else {
      initial = {"0", "0", "0"};
    }
    PointDialogHandler h({POINT_FIELD_X, POINT_FIELD_Y, POINT_FIELD_Z}, initial);
    result = runDialogOrReport(
        platform_, pointDialogTemplate(absolute ? TITLE_POINT_ABSOLUTE : TITLE_POINT_RELATIVE), h);
    if (result == DLG_OK && h.values.size() == 3) {
      const double x = u.lengthFromInput(h.values[0]);
      const double y = u.lengthFromInput(h.values[1]);
      const double z = u.lengthFromInput(h.values[2]);
      if (absolute) {
        p = toNode({x, y, z});
      } else {
        p = toNode(Vec3d{input_.last.x + x, input_.last.y + y, input_.last.z + z});
      }
    } else {
      result = DLG_CANCEL;
    }
  }
  if (result != DLG_OK) {
    // No point: the command keeps waiting.
    crossHidden_ = false;
    updateOverlay();
    return;
  }
  input_.tracked = p;
  input_.current = p;
  afterPointInput();
}

InputOutcome Shell::askBasePoint() {
  const InputOutcome r = askPoint(PROMPT_BASEPOINT);
  if (r == InputOutcome::PointGiven) input_.base = input_.current;
  return r;
}

void Shell::startDrag(DragMode mode, PreviewBuilder builder) {
  const bool wasHiding = drawContext().dragging;
  drag_ = mode;
  builder_ = std::move(builder);
  // Objects dragged as a whole leave the picture while the preview shows them.
  if (drawContext().dragging != wasHiding) redrawAll();
  updateOverlay();
}

void Shell::stopDrag() {
  const bool wasHiding = drawContext().dragging;
  drag_ = DragMode::None;
  builder_ = nullptr;
  if (wasHiding) redrawAll();
  updateOverlay();
}

void Shell::setLineMode(bool on) {
  lineMode_ = on;
  updateOverlay();
}

void Shell::updateOverlay() {
  if (canDraw()) window_->updateOverlay();
}

void Shell::paintOverlay(Canvas& canvas) {
  const ViewDrawContext context = drawContext();
  auto drawCopy = [&](const ModelObject& copy) {
    drawObjects(view_, canvas, context, &copy, &copy, ObjectDrawMode::Over);
  };
  const Node& base = input_.base;
  const Node& cur = input_.current;
  switch (drag_) {
    case DragMode::MoveObjects:
    case DragMode::MirrorPreview:
      for (const ModelObject& o : project_.objects) {
        if (!o.isSelected() || !o.isDrawable()) continue;
        auto copy = ObjectList::copyObject(o);
        if (!copy) continue;
        for (Node& n : copy->nodes) {
          n = drag_ == DragMode::MoveObjects ? dragMoveNode(n, base, cur)
                                             : mirrorInViewPlane(view_.mode, n, base, cur);
        }
        drawCopy(*copy);
      }
      break;
    case DragMode::MoveNodes: {
      std::set<const ModelObject*> done;
      for (const SelectedNode& s : nodeList_) {
        if (s.object == nullptr || !done.insert(s.object).second) continue;
        auto copy = ObjectList::copyObject(*s.object);
        if (!copy) continue;
        for (const SelectedNode& t : nodeList_) {
          if (t.object == s.object && t.node < copy->nodes.size()) {
            copy->nodes[t.node] = dragMoveNode(copy->nodes[t.node], base, cur);
          }
        }
        drawCopy(*copy);
      }
      break;
    }
    case DragMode::CirclePreview:
    case DragMode::RectanglePreview:
      if (builder_) {
        if (auto preview = builder_(cur)) drawCopy(*preview);
      }
      break;
    case DragMode::None:
      break;
  }
  canvas.setDrawMode(DrawMode::Copy);
  if (face_ && face_->object != nullptr) {
    // The selected face, outlined in the highlight colour.
    const ModelObject& o = *face_->object;
    std::vector<PixelPoint> outline;
    for (std::size_t i = face_->startEntry; i < o.indices.size(); ++i) {
      const IndexEntry& e = o.indices[i];
      if (e.code == IDX_MATERIAL) continue;
      if (i > face_->startEntry && e.code == IDX_START) break;
      if (e.ref < o.nodes.size()) {
        const ScreenPoint s = projectNode(view_, o.nodes[e.ref]);
        outline.push_back({s.x, s.y});
      }
      if (e.code == IDX_CLOSE) break;
    }
    if (outline.size() >= 2) {
      canvas.setPen(COLOUR_HIGHLIGHT);
      canvas.setBrush(Brush::none());
      canvas.polygon(outline);
    }
  }
  canvas.setPen(COLOUR_BLACK);
  if (lineMode_) canvas.line(pixelOf(base), input_.cursor);
  if (rubberWindow_ || input_.selection == SelectionMode::Window) {
    const PixelPoint a = input_.windowCorner, b = input_.cursor;
    const PixelRect r{std::min(a.x, b.x), std::min(a.y, b.y), std::abs(a.x - b.x) + 1,
                      std::abs(a.y - b.y) + 1};
    canvas.setBrush(Brush::none());
    canvas.rectangle(r);
  }
  if (!crossHidden_ && input_.cursorInView) {
    const PixelPoint c = input_.cursor;
    canvas.line({0, c.y}, {canvas.width(), c.y});
    canvas.line({c.x, 0}, {c.x, canvas.height()});
  }
}

}  // namespace tav
