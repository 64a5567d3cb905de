#include "view/view_drawing.h"

#include <algorithm>
#include <vector>

#include "view/axis_cross.h"
#include "view/eye_view.h"

namespace tav {

namespace {

PixelPoint pix(const ScreenPoint& s) { return {s.x, s.y}; }

// Pixel bounding box of projected points; none for no points.
struct Box {
  int minX = 0, minY = 0, maxX = 0, maxY = 0;
};
std::optional<Box> boxOf(const std::vector<ScreenPoint>& pts) {
  if (pts.empty()) return std::nullopt;
  Box b{pts[0].x, pts[0].y, pts[0].x, pts[0].y};
  for (const ScreenPoint& p : pts) {
    b.minX = std::min(b.minX, p.x);
    b.maxX = std::max(b.maxX, p.x);
    b.minY = std::min(b.minY, p.y);
    b.maxY = std::max(b.maxY, p.y);
  }
  return b;
}

PixelRect rectOf(const Box& b) {
  return {b.minX, b.minY, b.maxX - b.minX + 1, b.maxY - b.minY + 1};
}

void growArea(PixelRect& area, const Box& b) {
  if (area.width <= 0 || area.height <= 0) {
    area = rectOf(b);
    return;
  }
  const int left = std::min(area.x, b.minX), top = std::min(area.y, b.minY);
  const int right = std::max(area.right() - 1, b.maxX),
            bottom = std::max(area.bottom() - 1, b.maxY);
  area = {left, top, right - left + 1, bottom - top + 1};
}

// Twice the signed area of a closed outline as the viewer sees it: positive
// when it runs counter-clockwise on the screen (pixel y grows downwards),
// which is the front side of a face.
double viewerArea(std::span<const PixelPoint> figure) {
  double sum = 0.0;
  const std::size_t n = figure.size();
  for (std::size_t i = 0; i < n; ++i) {
    const PixelPoint& a = figure[i];
    const PixelPoint& b = figure[(i + 1) % n];
    sum += (double(b.x) - a.x) * (double(b.y) + a.y);
  }
  return sum;
}

// Walks an object's entries over its projected nodes and draws its figures
// as outlines. Figures of a culled object are drawn only when their front
// side faces the viewer.
void drawFigures(Canvas& canvas, const ModelObject& o, const std::vector<ScreenPoint>& pts,
                 bool culled) {
  std::vector<PixelPoint> list;
  bool haveStart = false;
  PixelPoint start;
  auto flushOpen = [&] {
    if (list.size() >= 2) canvas.polyline(list);
    list.clear();
  };
  for (const IndexEntry& e : o.indices) {
    const bool valid = e.ref < pts.size();
    switch (e.code) {
      case IDX_START:
        flushOpen();
        haveStart = valid;
        if (valid) {
          start = pix(pts[e.ref]);
          list.push_back(start);
        }
        break;
      case IDX_LINE:
        if (valid) list.push_back(pix(pts[e.ref]));
        break;
      case IDX_CLOSE: {
        if (valid) list.push_back(pix(pts[e.ref]));
        const bool show = !culled || viewerArea(list) >= 0;
        if (haveStart) list.push_back(start);  // the closing edge
        if (show && list.size() >= 2) canvas.polyline(list);
        list.clear();
        haveStart = false;
        break;
      }
      default:  // IDX_MATERIAL and unknown codes carry no node
        break;
    }
  }
  flushOpen();
}

bool isCulled(const ViewState& state, const ModelObject& o) {
  if (o.layer == LAYER_SPEAKERS || o.layer == 6) return true;
  return state.hiddenBackfaces && o.hasFaces() && o.layer != LAYER_AUDIENCE;
}

// One object in a parallel view. `full` grows the drawn area.
void drawParallelObject(ViewState& state, Canvas& canvas, const ViewDrawContext& ctx,
                        const ModelObject& o, ObjectDrawMode mode, std::vector<ScreenPoint>& pts) {
  const bool full = mode == ObjectDrawMode::Full;
  if (!o.isDrawable()) return;
  if (full && ctx.dragging && o.isSelected()) return;
  const int pen = mode == ObjectDrawMode::Erase
                      ? VIEW_ERASE_COLOUR
                      : (o.isSelected() ? VIEW_HIGHLIGHT_COLOUR : static_cast<int>(o.colour));
  pts.clear();
  for (const Node& n : o.nodes) pts.push_back(projectNode(state, n));
  const std::optional<Box> box = boxOf(pts);
  if (!box) return;
  if (full) growArea(state.drawnArea, *box);
  if (box->maxX < 0 || box->maxY < 0 || box->minX >= state.width || box->minY >= state.height)
    return;
  canvas.setPen(pen);
  canvas.setBrush(Brush::none());
  if (box->maxX - box->minX < VIEW_SMALL_OBJECT_PIXELS &&
      box->maxY - box->minY < VIEW_SMALL_OBJECT_PIXELS)
    canvas.rectangle(rectOf(*box));
  else
    drawFigures(canvas, o, pts, isCulled(state, o));

  const bool markers = state.nodeMarkers && ctx.project && o.layer == ctx.project->currentLayer &&
                       o.layer != LAYER_SPEAKERS;
  if (!markers) return;
  canvas.setPen(mode == ObjectDrawMode::Erase ? VIEW_ERASE_COLOUR : VIEW_NODE_MARKER_COLOUR);
  constexpr int S = VIEW_NODE_MARKER_SIZE;
  for (const ScreenPoint& p : pts) canvas.rectangle({p.x - S, p.y - S, 2 * S + 1, 2 * S + 1});
}

void drawPerspective(ViewState& state, Canvas& canvas, const ModelObject* first,
                     const ModelObject* last, ObjectDrawMode mode) {
  const std::vector<PerspectiveFace> faces = collectPerspectiveFaces(state, first, last);
  std::vector<PixelPoint> outline;
  for (const PerspectiveFace& f : faces) {
    const ModelObject& o = *f.object;
    const bool erase = mode == ObjectDrawMode::Erase;
    const int pen = erase ? VIEW_ERASE_COLOUR
                          : (o.isSelected() ? VIEW_HIGHLIGHT_COLOUR : static_cast<int>(o.colour));
    outline.clear();
    for (const ScreenPoint& s : f.outline) outline.push_back(pix(s));
    canvas.setPen(pen);
    if (state.hiddenBackfaces) {
      int fill = static_cast<int>(o.colour);
      if (o.layer == LAYER_ROOM) fill = PERSPECTIVE_ROOM_BRUSH;
      if (o.layer == LAYER_SPEAKERS) fill = PERSPECTIVE_SPEAKER_BRUSH;
      canvas.setBrush(Brush::solid(erase ? VIEW_ERASE_COLOUR : fill));
      canvas.polygon(outline);
    } else {
      canvas.setBrush(Brush::none());
      outline.push_back(outline.front());
      canvas.polyline(outline);
    }
    if (mode == ObjectDrawMode::Full) {
      Box b{outline[0].x, outline[0].y, outline[0].x, outline[0].y};
      for (const PixelPoint& p : outline) {
        b.minX = std::min(b.minX, p.x);
        b.maxX = std::max(b.maxX, p.x);
        b.minY = std::min(b.minY, p.y);
        b.maxY = std::max(b.maxY, p.y);
      }
      growArea(state.drawnArea, b);
    }
  }
}

void drawPerspectiveInfo(const ViewState& state, Canvas& canvas, std::optional<double> band) {
  const std::vector<std::string> lines = perspectiveInfoLines(state, band);
  TextStyle style;
  style.height = VIEW_TEXT_HEIGHT;
  for (std::size_t i = 0; i < lines.size(); ++i)
    canvas.text({0, static_cast<int>(i) * PERSPECTIVE_INFO_LINE_HEIGHT}, lines[i], style);
  const int cx = state.width / 2, cy = state.height / 2;
  constexpr int S = PERSPECTIVE_CROSS_SIZE;
  canvas.setPen(PERSPECTIVE_CROSS_COLOUR);
  canvas.line({cx - S, cy}, {cx + S, cy});
  canvas.line({cx, cy - S}, {cx, cy + S});
}

void drawNodeList(const ViewState& state, Canvas& canvas, std::span<const NodeRef> nodes) {
  if (nodes.empty()) return;
  canvas.setPen(VIEW_NODE_LIST_COLOUR);
  constexpr int S = VIEW_NODE_LIST_SIZE;
  for (const NodeRef& r : nodes) {
    if (!r.object || r.node >= r.object->nodes.size()) continue;
    const ScreenPoint p = projectNode(state, r.object->nodes[r.node]);
    if (!p.front) continue;
    canvas.line({p.x - S, p.y}, {p.x + S, p.y});
    canvas.line({p.x, p.y - S}, {p.x, p.y + S});
  }
}

}  // namespace

void drawAxisIndicator(const ViewState& state, Canvas& canvas, const ModelObject* axisCross) {
  const int H = state.height;
  canvas.setPen(static_cast<int>(AXIS_INDICATOR_COLOUR));
  canvas.setBrush(Brush::none());
  if (state.is2D()) {
    static constexpr const char* LABELS[3][2] = {{"Y", "X"}, {"Z", "Y"}, {"Z", "X"}};
    const PixelPoint l[3] = {{10, H - 20}, {10, H - 10}, {20, H - 10}};
    canvas.polyline(l);
    TextStyle style;
    style.colour = static_cast<int>(AXIS_INDICATOR_COLOUR);
    style.background = VIEW_ERASE_COLOUR;
    style.height = VIEW_TEXT_HEIGHT;
    canvas.text({6, H - 40}, LABELS[state.mode][0], style);
    canvas.text({30, H - 18}, LABELS[state.mode][1], style);
    return;
  }
  if (state.mode != VIEW_3D || !axisCross) return;
  // The cross turns with the view and is scaled by half the zoom.
  const double scale = state.zoom / 2.0;
  std::vector<ScreenPoint> pts;
  pts.reserve(axisCross->nodes.size());
  for (const Node& n : axisCross->nodes) {
    const ViewPlanePoint q = toViewPlane(state, n);
    pts.push_back({toPixel(AXIS_CROSS_CENTRE + q.h * scale),
                   toPixel(H - AXIS_CROSS_CENTRE - q.v * scale), q.depth, true});
  }
  drawFigures(canvas, *axisCross, pts, false);
}

void drawComment(const ViewState& state, Canvas& canvas, std::string_view comment) {
  if (comment.empty()) return;
  TextStyle style;
  style.height = VIEW_TEXT_HEIGHT;
  style.align = TextAlign::Centre;
  canvas.text({state.width / 2, state.height - VIEW_COMMENT_RISE}, comment, style);
}

void drawObjects(ViewState& state, Canvas& canvas, const ViewDrawContext& context,
                 const ModelObject* first, const ModelObject* last, ObjectDrawMode mode) {
  const bool full = mode == ObjectDrawMode::Full;
  canvas.setDrawMode(DrawMode::Copy);
  if (full) {
    canvas.clear(VIEW_ERASE_COLOUR);
    state.drawnArea = PixelRect{};
  }
  if (state.mode == VIEW_PERSPECTIVE) {
    drawPerspective(state, canvas, first, last, mode);
    if (full) {
      drawPerspectiveInfo(state, canvas, context.aimBandHz);
      drawComment(state, canvas, context.comment);
    }
    return;
  }
  std::vector<ScreenPoint> pts;
  if (full && context.project && context.project->layers[LAYER_GRID].visible) {
    ViewDrawContext gridContext;  // no markers, no drag on grid lines
    for (const ModelObject& g : state.grid)
      drawParallelObject(state, canvas, gridContext, g, ObjectDrawMode::Over, pts);
  }
  for (const ModelObject* o = first; o; o = o->next) {
    drawParallelObject(state, canvas, context, *o, mode, pts);
    if (o == last) break;
  }
  if (!full) return;
  drawNodeList(state, canvas, context.nodeList);
  drawAxisIndicator(state, canvas, context.axisCross);
  drawComment(state, canvas, context.comment);
}

void drawView(ViewState& state, Canvas& canvas, const ViewDrawContext& context) {
  const ModelObject* head = context.project ? context.project->objects.head() : nullptr;
  drawObjects(state, canvas, context, head, nullptr, ObjectDrawMode::Full);
}

}  // namespace tav
