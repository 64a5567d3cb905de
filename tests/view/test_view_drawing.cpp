// Drawing objects through a recording canvas: highlight, back-face culling,
// small-object boxes, ignored node references, node markers, the full
// redraw with grid, axis indicator and comment, and the perspective faces.
#include <gtest/gtest.h>

#include "model/project.h"
#include "platform/scripted/scripted_canvas.h"
#include "view/axis_cross.h"
#include "view/eye_view.h"
#include "view/grid.h"
#include "view/view_drawing.h"
#include "view/view_render.h"
#include "view_test_util.h"

namespace tav {
namespace {

using test::makeFace;
using test::makeObject;
using test::makeView;

// XY view 800 x 600, zoom 10, offsets 0: model (x, y) is pixel
// (400 + 10x, 300 - 10y).
struct Fixture {
  Project project;
  ViewState state = makeView(VIEW_XY, 800, 600, 10);
  ScriptedCanvas canvas{800, 600};
  ViewDrawContext context() const {
    ViewDrawContext c;
    c.project = &project;
    return c;
  }
  void drawOver(const ModelObject* o) {
    drawObjects(state, canvas, context(), o, o, ObjectDrawMode::Over);
  }
};

// Square 10 x 10 m, counter-clockwise seen from +z (front side up).
std::unique_ptr<ModelObject> squareCCW(std::uint32_t layer = LAYER_ROOM) {
  return makeFace({{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}}, layer);
}

TEST(ViewDrawing, CullingDependsOnTheLayer) {
  struct Case {
    std::uint32_t layer;
    bool hidden;
    bool clockwiseDrawn;
  };
  const Case cases[] = {
      {LAYER_SPEAKERS, false, false},  // loudspeakers: always culled
      {6, false, false},               // layer 6: always culled
      {LAYER_ROOM, false, true},
      {LAYER_ROOM, true, false},
      {LAYER_AUX, true, false},
      {LAYER_AUDIENCE, true, true},  // audience areas never
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.layer);
    Fixture f;
    f.state.hiddenBackfaces = c.hidden;
    auto face = squareCCW(c.layer);
    test::reverseFace(*face);
    f.drawOver(face.get());
    EXPECT_EQ(f.canvas.callsOf(DrawKind::Polyline).size(), c.clockwiseDrawn ? 1u : 0u);
  }
  // Counter-clockwise again (as Invert Face leaves it) the room face shows;
  // an open polyline always shows.
  Fixture f;
  f.state.hiddenBackfaces = true;
  f.drawOver(squareCCW().get());
  auto open = makeObject({{0, 0, 0}, {10, 0, 0}, {0, 10, 0}},
                         {{IDX_START, 0}, {IDX_LINE, 1}, {IDX_LINE, 2}}, SHAPE_SOLID);
  f.drawOver(open.get());
  EXPECT_EQ(f.canvas.callsOf(DrawKind::Polyline).size(), 2u);
}

TEST(ViewDrawing, SelectedHiddenAndInertObjects) {
  Fixture f;
  auto o = squareCCW();
  o->colour = 14;
  f.drawOver(o.get());
  EXPECT_EQ(f.canvas.calls().back().pen, 14);
  o->flags = OF_SELECTED;
  f.drawOver(o.get());
  EXPECT_EQ(f.canvas.calls().back().pen, VIEW_HIGHLIGHT_COLOUR);
  f.canvas.clearCalls();
  for (std::uint32_t flags : {0x80u, 0x40u, 0x20u, 0x88u}) {
    o->flags = flags;
    f.drawOver(o.get());
  }
  EXPECT_TRUE(f.canvas.calls().empty());
  // Erasing draws in the background colour.
  o->flags = OF_SELECTED;
  drawObjects(f.state, f.canvas, f.context(), o.get(), o.get(), ObjectDrawMode::Erase);
  EXPECT_EQ(f.canvas.calls().back().pen, VIEW_ERASE_COLOUR);
}

TEST(ViewDrawing, SmallObjectsAreDrawnAsTheirBox) {
  Fixture f;
  // 0.375 x 0.25 m: pixels 400..403.75 and 297.5..300 truncate to a box
  // 3 x 3 pixels from (400, 297) to (403, 300).
  auto tiny = makeFace({{0, 0, 0}, {0.375f, 0, 0}, {0.375f, 0.25f, 0}});
  f.drawOver(tiny.get());
  ASSERT_EQ(f.canvas.calls().size(), 1u);
  EXPECT_EQ(f.canvas.calls()[0].kind, DrawKind::Rectangle);
  EXPECT_EQ(f.canvas.calls()[0].rect, (PixelRect{400, 297, 4, 4}));
  // 4 pixels wide is no longer small.
  f.canvas.clearCalls();
  auto wide = makeObject({{0, 0, 0}, {0.45f, 0, 0}}, {{IDX_START, 0}, {IDX_LINE, 1}});
  f.drawOver(wide.get());
  ASSERT_EQ(f.canvas.calls().size(), 1u);
  EXPECT_EQ(f.canvas.calls()[0].kind, DrawKind::Polyline);
}

TEST(ViewDrawing, EntryWalkDrawsPolylinesAndIgnoresBadNodeReferences) {
  Fixture f;
  // Open polyline 0-1-(bad 7)-2, then a new figure 3-4 closed back to 3.
  auto o = makeObject({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {2, 2, 0}, {3, 2, 0}, {3, 3, 0}},
                      {{IDX_START, 0},
                       {IDX_MATERIAL, 9},
                       {IDX_LINE, 1},
                       {IDX_LINE, 7},
                       {IDX_LINE, 2},
                       {IDX_START, 3},
                       {IDX_LINE, 4},
                       {IDX_CLOSE, 5},
                       {IDX_START, 99},
                       {IDX_LINE, 0}});
  f.drawOver(o.get());
  const auto lines = f.canvas.callsOf(DrawKind::Polyline);
  ASSERT_EQ(lines.size(), 2u);  // the last figure has one valid point only
  EXPECT_EQ(lines[0].points, (std::vector<PixelPoint>{{400, 300}, {410, 300}, {410, 290}}));
  EXPECT_EQ(lines[1].points,
            (std::vector<PixelPoint>{{420, 280}, {430, 280}, {430, 270}, {420, 280}}));
}

TEST(ViewDrawing, ObjectsOutsideTheViewAreSkippedButCountInTheDrawnArea) {
  Fixture f;
  f.project.objects.appendObject(
      makeObject({{100, 0, 0}, {110, 5, 0}}, {{IDX_START, 0}, {IDX_LINE, 1}}));
  drawView(f.state, f.canvas, f.context());
  EXPECT_TRUE(f.canvas.callsOf(DrawKind::Polyline).size() == 1u);  // only the axis L
  // 400 + 1000 .. 400 + 1100, 300 - 50 .. 300.
  EXPECT_EQ(f.state.drawnArea, (PixelRect{1400, 250, 101, 51}));
}

TEST(ViewDrawing, NodeMarkersOnTheCurrentLayerExceptLoudspeakers) {
  Fixture f;
  f.state.nodeMarkers = true;
  f.project.currentLayer = LAYER_ROOM;
  auto room = makeObject({{0, 0, 0}, {5, 5, 0}}, {{IDX_START, 0}, {IDX_LINE, 1}});
  f.drawOver(room.get());
  const auto marks = f.canvas.callsOf(DrawKind::Rectangle);
  ASSERT_EQ(marks.size(), 2u);
  EXPECT_EQ(marks[0].pen, VIEW_NODE_MARKER_COLOUR);
  EXPECT_EQ(marks[0].rect, (PixelRect{398, 298, 5, 5}));  // +-2 pixels
  EXPECT_EQ(marks[1].rect, (PixelRect{448, 248, 5, 5}));

  // Not on the current layer, and loudspeakers even on it: no markers.
  f.canvas.clearCalls();
  f.project.currentLayer = LAYER_SPEAKERS;
  f.drawOver(room.get());
  auto speaker = makeObject({{0, 0, 0}, {5, 5, 0}}, {{IDX_START, 0}, {IDX_LINE, 1}}, SHAPE_SOLID,
                            LAYER_SPEAKERS);
  f.drawOver(speaker.get());
  EXPECT_TRUE(f.canvas.callsOf(DrawKind::Rectangle).empty());
}

TEST(ViewDrawing, FullRedrawIn2DClearsDrawsGridObjectsMarkersAxisAndComment) {
  Fixture f;
  f.project.layers[LAYER_GRID].visible = 1;
  f.project.settings.gridSize = 50;
  ModelObject* o = f.project.objects.appendObject(makeObject(
      {{0, 0, 0}, {5, 0, 0}}, {{IDX_START, 0}, {IDX_LINE, 1}}, SHAPE_POLYLINE, LAYER_ROOM, 12));
  rebuildGrid(f.state, f.project);
  const NodeRef picked[] = {{o, 1}, {o, 5}};  // the second reference is bad
  ViewDrawContext c = f.context();
  c.nodeList = picked;
  c.comment = "Hall A";
  drawView(f.state, f.canvas, c);

  const auto& ops = f.canvas.calls();
  ASSERT_FALSE(ops.empty());
  EXPECT_EQ(ops[0].kind, DrawKind::FillRect);
  EXPECT_EQ(ops[0].pen, VIEW_ERASE_COLOUR);
  EXPECT_EQ(ops[0].rect, (PixelRect{0, 0, 800, 600}));
  // Grid lines come before the object (colour 12).
  std::size_t lastGrid = 0, object = 0;
  for (std::size_t i = 0; i < ops.size(); ++i) {
    if (ops[i].pen == GRID_COLOUR && ops[i].kind == DrawKind::Polyline) lastGrid = i;
    if (ops[i].pen == 12) object = i;
  }
  EXPECT_GT(lastGrid, 0u);
  EXPECT_GT(object, lastGrid);
  // Node-list marker: a cross of +-3 pixels at (450, 300).
  const auto lines = f.canvas.callsOf(DrawKind::Line);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].pen, VIEW_NODE_LIST_COLOUR);
  EXPECT_EQ(lines[0].points, (std::vector<PixelPoint>{{447, 300}, {453, 300}}));
  EXPECT_EQ(lines[1].points, (std::vector<PixelPoint>{{450, 297}, {450, 303}}));
  // Axis indicator: the L and the labels of XY; the comment 16 pixels above
  // the lower edge.
  const auto polylines = f.canvas.callsOf(DrawKind::Polyline);
  EXPECT_EQ(polylines.back().points, (std::vector<PixelPoint>{{10, 580}, {10, 590}, {20, 590}}));
  const auto texts = f.canvas.callsOf(DrawKind::Text);
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[0].text, "Y");
  EXPECT_EQ(texts[0].points[0], (PixelPoint{6, 560}));
  EXPECT_EQ(texts[1].text, "X");
  EXPECT_EQ(texts[1].points[0], (PixelPoint{30, 582}));
  EXPECT_EQ(texts[2].text, "Hall A");
  EXPECT_EQ(texts[2].points[0].y, 584);
  EXPECT_EQ(f.state.drawnArea, (PixelRect{400, 300, 51, 1}));
  // The other 2D views label their own axes.
  for (auto [mode, labels] : {std::pair{VIEW_YZ, "ZY"}, std::pair{VIEW_XZ, "ZX"}}) {
    Fixture g;
    g.state = makeView(mode, 800, 600, 10);
    drawView(g.state, g.canvas, g.context());
    const auto t = g.canvas.callsOf(DrawKind::Text);
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[0].text + t[1].text, labels);
  }
}

TEST(ViewDrawing, AxisCrossIn3DIsScaledByHalfTheZoomAroundTheCorner) {
  const auto cross = loadAxisCross();
  Fixture f;
  f.state = makeView(VIEW_3D, 800, 600, 10);
  ViewDrawContext c = f.context();
  c.axisCross = cross.get();
  drawView(f.state, f.canvas, c);
  // The x arm from the origin (45, 555) to (3, 0, 0): with half the zoom (5)
  // h = 15 cos 15° = 14.49, v = 15 cos(-25°) sin 15° = 3.52: (59, 551).
  int arms = 0;
  for (const DrawCall& op : f.canvas.callsOf(DrawKind::Polyline))
    arms += op.points == std::vector<PixelPoint>{{45, 555}, {59, 551}};
  EXPECT_EQ(arms, 1);
  EXPECT_TRUE(f.canvas.callsOf(DrawKind::Text).empty());  // letters are strokes
}

TEST(ViewDrawing, PerspectiveDrawsFacesFilledFarFirstInHiddenBackfaceMode) {
  Fixture f;
  f.state = ViewState{};
  setViewSize(f.state, 800, 600);
  enterPerspective(f.state, {0, 0, 0});
  // Room face at 10 m and loudspeaker face at 20 m (loudspeakers take the
  // opposite orientation), both facing the eye; an audience area is not drawn.
  f.project.objects.appendObject(makeFace({{10, 1, -1}, {10, -1, -1}, {10, -1, 1}, {10, 1, 1}}));
  f.project.objects
      .appendObject(makeFace({{20, 1, -1}, {20, 1, 1}, {20, -1, 1}, {20, -1, -1}}, LAYER_SPEAKERS))
      ->colour = 12;
  f.project.objects.appendObject(
      makeFace({{5, 1, -1}, {5, -1, -1}, {5, -1, 1}, {5, 1, 1}}, LAYER_AUDIENCE));
  f.state.hiddenBackfaces = true;
  ViewDrawContext c = f.context();
  c.comment = "note";
  drawView(f.state, f.canvas, c);
  const auto polys = f.canvas.callsOf(DrawKind::Polygon);
  ASSERT_EQ(polys.size(), 2u);
  EXPECT_EQ(polys[0].brush, Brush::solid(PERSPECTIVE_SPEAKER_BRUSH));  // far one first
  EXPECT_EQ(polys[0].pen, 12);
  EXPECT_EQ(polys[1].brush, Brush::solid(PERSPECTIVE_ROOM_BRUSH));
  // Information block (its lines are the eye view's test) from the top
  // left, one line every 16 pixels, and the cross at the centre.
  const auto texts = f.canvas.callsOf(DrawKind::Text);
  ASSERT_EQ(texts.size(), 6u);
  EXPECT_EQ(texts[4].points[0].y, 64);
  EXPECT_EQ(texts[5].text, "note");
  const auto lines = f.canvas.callsOf(DrawKind::Line);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].points, (std::vector<PixelPoint>{{395, 300}, {405, 300}}));
  // Wireframe: outlines, no fill.
  f.state.hiddenBackfaces = false;
  drawView(f.state, f.canvas, c);
  EXPECT_EQ(f.canvas.callsOf(DrawKind::Polygon).size(), 2u);
}

}  // namespace
}  // namespace tav
