// The shared selection services: objects (picking and window, groups as one
// unit), nodes and faces.
#include <algorithm>

#include "model/project.h"
#include "shell/pick_geometry.h"
#include "shell/shell.h"

namespace tav {

namespace {

// At most this many faces per object and points per face are considered.
constexpr std::size_t FACE_SELECT_MAX_FACES = 16000;
constexpr std::size_t FACE_SELECT_MAX_POINTS = 512;

// Flags that keep an object out of selection: hidden, inert or selected.
constexpr std::uint32_t NOT_SELECTABLE = OF_HIDDEN | OF_INERT | OF_SELECTED;

PixelPoint pixel(const ViewState& view, const Node& n) {
  const ScreenPoint s = projectNode(view, n);
  return {s.x, s.y};
}

// Whether any figure of the object touches the box: a figure's start node
// inside it or an edge crossing it. Objects without entries: any node inside.
bool touches(const ViewState& view, const ModelObject& o, const PickBox& box) {
  if (o.indices.empty()) {
    for (const Node& n : o.nodes) {
      if (box.contains(pixel(view, n))) return true;
    }
    return false;
  }
  bool open = false;
  PixelPoint start, prev;
  for (const IndexEntry& e : o.indices) {
    if (e.code == IDX_MATERIAL || e.ref >= o.nodes.size()) continue;
    const PixelPoint p = pixel(view, o.nodes[e.ref]);
    if (e.code == IDX_START) {
      if (box.contains(p)) return true;
      start = prev = p;
      open = true;
      continue;
    }
    if (!open) continue;
    if (segmentTouchesBox(prev, p, box)) return true;
    prev = p;
    if (e.code == IDX_CLOSE) {
      if (segmentTouchesBox(p, start, box)) return true;
      open = false;
    }
  }
  return false;
}

// Whether every projected node lies inside the box (false without nodes).
bool inside(const ViewState& view, const ModelObject& o, const PickBox& box) {
  for (const Node& n : o.nodes) {
    if (!box.contains(pixel(view, n))) return false;
  }
  return !o.nodes.empty();
}

// The outline of the face starting at entry `start` (its IDX_START).
std::vector<PixelPoint> faceOutline(const ViewState& view, const ModelObject& o,
                                    std::size_t start) {
  std::vector<PixelPoint> out;
  for (std::size_t i = start; i < o.indices.size(); ++i) {
    const IndexEntry& e = o.indices[i];
    if (e.code == IDX_MATERIAL) continue;
    if (i > start && e.code == IDX_START) break;
    if (e.ref < o.nodes.size() && out.size() < FACE_SELECT_MAX_POINTS) {
      out.push_back(pixel(view, o.nodes[e.ref]));
    }
    if (e.code == IDX_CLOSE) break;
  }
  return out;
}

// The culling rule of the drawing: a face is a front face when its pixel
// outline runs counter-clockwise as the viewer sees it (pixel y downwards),
// the sum (x_i+1 - x_i)(y_i+1 + y_i) being not negative.
bool frontFacing(const std::vector<PixelPoint>& outline) {
  double area = 0.0;
  for (std::size_t i = 0; i < outline.size(); ++i) {
    const PixelPoint& a = outline[i];
    const PixelPoint& b = outline[(i + 1) % outline.size()];
    area += double(b.x - a.x) * double(b.y + a.y);
  }
  return area >= 0.0;
}

}  // namespace

int Shell::selectObjects() {
  if (project_.objects.empty()) return 0;
  input_.selection = SelectionMode::Picking;
  showPrompt(PROMPT_SELECT_OBJECTS);
  int count = 0;
  for (;;) {
    const InputOutcome r = waitForInput();
    if (r == InputOutcome::Cancelled) {
      input_.selection = SelectionMode::None;
      deselectAll(project_);
      updateOverlay();
      return 0;
    }
    if (r == InputOutcome::Finished) break;
    const PixelPoint click = input_.cursor;
    const bool window = input_.selection == SelectionMode::Window;
    const PickBox box =
        window ? pickBoxBetween(input_.windowCorner, click) : pickBoxAround(click, PICK_BOX_HALF);
    // Leftwards or upwards: only what lies entirely inside.
    const bool entirely =
        window && (click.x < input_.windowCorner.x || click.y < input_.windowCorner.y);
    bool hit = false;
    for (ModelObject* o = project_.objects.head(); o != nullptr;) {
      ModelObject* end = groupEnd(o);
      if (end == nullptr) end = project_.objects.tail();
      ModelObject* next = end->next;
      if ((o->flags & NOT_SELECTABLE) == 0 && o->layer == project_.currentLayer) {
        bool take = false;
        if (entirely) {
          bool anyNodes = false;
          take = true;
          for (ModelObject* m = o;; m = m->next) {
            if (m->isDrawable() && !m->nodes.empty()) {
              anyNodes = true;
              if (!inside(view_, *m, box)) take = false;
            }
            if (m == end) break;
          }
          take = take && anyNodes;
        } else {
          for (ModelObject* m = o;; m = m->next) {
            if (m->isDrawable() && touches(view_, *m, box)) take = true;
            if (take || m == end) break;
          }
        }
        if (take) {
          for (ModelObject* m = o;; m = m->next) {
            m->flags |= OF_SELECTED;
            ++count;
            drawObject(*m);
            if (m == end) break;
          }
          hit = true;
          if (!window) break;  // picking takes the first unit hit
        }
      }
      o = next;
    }
    if (hit) {
      input_.selection = SelectionMode::Picking;
    } else if (!window) {
      input_.selection = SelectionMode::Window;
      input_.windowCorner = click;
    } else {
      input_.selection = SelectionMode::Picking;
    }
    updateOverlay();
  }
  input_.selection = SelectionMode::None;
  updateOverlay();
  return count;
}

std::size_t Shell::selectNodes() {
  nodeList_.clear();
  input_.selection = SelectionMode::Picking;
  showPrompt(PROMPT_SELECT_NODES);
  for (;;) {
    const InputOutcome r = waitForInput();
    if (r == InputOutcome::Cancelled) {
      input_.selection = SelectionMode::None;
      nodeList_.clear();
      deselectAll(project_);
      redrawAll();
      return 0;
    }
    if (r == InputOutcome::Finished) break;
    const PickBox box = pickBoxAround(input_.cursor, PICK_BOX_HALF);
    for (ModelObject& o : project_.objects) {
      if (!o.isDrawable() || o.layer != project_.currentLayer) continue;
      for (std::uint32_t i = 0; i < o.nodeCount(); ++i) {
        const PixelPoint p = pixel(view_, o.nodes[i]);
        if (!box.contains(p)) continue;
        const SelectedNode s{&o, i};
        if (std::find(nodeList_.begin(), nodeList_.end(), s) != nodeList_.end()) continue;
        nodeList_.push_back(s);
        if (!o.isSelected()) {
          o.flags |= OF_SELECTED;
          drawObject(o);
        }
        drawOnView([p](Canvas& c) {
          constexpr int S = VIEW_NODE_LIST_SIZE;
          c.setDrawMode(DrawMode::Copy);
          c.setPen(VIEW_NODE_LIST_COLOUR);
          c.line({p.x - S, p.y - S}, {p.x + S + 1, p.y + S + 1});
          c.line({p.x - S, p.y + S}, {p.x + S + 1, p.y - S - 1});
        });
      }
    }
  }
  input_.selection = SelectionMode::None;
  return nodeList_.size();
}

std::optional<FaceSelection> Shell::selectFace() {
  face_.reset();
  input_.selection = SelectionMode::Picking;
  showPrompt(PROMPT_SELECT_FACE);
  for (;;) {
    const InputOutcome r = waitForInput();
    if (r == InputOutcome::Cancelled) {
      face_.reset();
      input_.selection = SelectionMode::None;
      updateOverlay();
      return std::nullopt;
    }
    if (r == InputOutcome::Finished) break;
    const PixelPoint click = input_.cursor;
    bool selected = face_.has_value();
    bool done = false;
    for (ModelObject& o : project_.objects) {
      if (done) break;
      if (!o.isDrawable() || o.layer != project_.currentLayer || !o.hasFaces()) continue;
      // The object's projected box must hold the click.
      PickBox bounds{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
      for (const Node& n : o.nodes) {
        const PixelPoint p = pixel(view_, n);
        bounds = {std::min(bounds.left, p.x), std::min(bounds.top, p.y),
                  std::max(bounds.right, p.x), std::max(bounds.bottom, p.y)};
      }
      if (o.nodes.empty() || !bounds.contains(click)) continue;
      std::vector<std::size_t> faces = faceStarts(o);
      if (faces.size() > FACE_SELECT_MAX_FACES) faces.resize(FACE_SELECT_MAX_FACES);
      std::vector<std::vector<PixelPoint>> outlines;
      std::vector<std::size_t> kept;
      for (std::size_t f : faces) {
        std::vector<PixelPoint> outline = faceOutline(view_, o, f);
        if (view_.hiddenBackfaces && !frontFacing(outline)) continue;
        kept.push_back(f);
        outlines.push_back(std::move(outline));
      }
      // Random order, so repeated clicks reach every face under the cursor.
      const std::uint32_t n = static_cast<std::uint32_t>(kept.size());
      for (std::uint32_t i = 0; i < n; ++i) {
        const std::uint32_t j = std::min(random_ ? random_(n) : 0u, n - 1);
        std::swap(kept[i], kept[j]);
        std::swap(outlines[i], outlines[j]);
      }
      for (std::uint32_t i = 0; i < n; ++i) {
        if (!polygonContains(outlines[i], click)) continue;
        if (face_ && face_->object == &o && face_->startEntry == kept[i]) continue;
        face_ = FaceSelection{&o, kept[i]};
        if (selected) {
          done = true;
          break;
        }
        // The first hit of a fresh selection: a further face may replace it.
        selected = true;
      }
    }
    updateOverlay();
  }
  input_.selection = SelectionMode::None;
  updateOverlay();
  return face_;
}

}  // namespace tav
