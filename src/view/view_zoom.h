// Choosing, zooming and turning the view. Each operation changes only the
// view state; the caller redraws when it returns true.
#pragma once

#include <optional>

#include "model/object_list.h"
#include "model/project.h"
#include "view/view_state.h"

namespace tav {

// Zoom factors: zoom all leaves 5 % free, a window 1 %.
constexpr double ZOOM_ALL_FACTOR = 0.95;
constexpr double ZOOM_WINDOW_FACTOR = 0.99;
// Zooming in stops at this zoom, zooming out below the minimum.
constexpr float ZOOM_IN_LIMIT = 1000.0f;
constexpr float ZOOM_OUT_MINIMUM = 0.001f;
// Upper bound of any computed zoom (pixels per metre): a model that is a
// single point would otherwise grow the zoom without end on repeated zoom all.
constexpr double ZOOM_MAXIMUM = 1.0e7;

// A rectangle in view-plane coordinates (metres).
struct ViewRect {
  double minH = 0.0;
  double minV = 0.0;
  double maxH = 0.0;
  double maxV = 0.0;
};

// The smallest view-plane rectangle holding the projections of all nodes of
// the drawable objects (flags AND 0xE0 = 0); none when there is no such node.
// Non-finite coordinates (damaged files) are left out.
std::optional<ViewRect> viewBoundingBox(const ViewState& state, const ObjectList& objects);

// Fits the drawable objects into the view: zoom 0.95 x fit, offsets at the
// box centre (shared axes included). Nothing happens on an empty model, in
// the perspective view or while the view has no size.
bool zoomAll(ViewState& state, const ObjectList& objects);

// Zooms to the window between two pixel corners (any order), each side at
// least 2 pixels, with the factor 0.99 and the window's centre as offsets.
bool zoomWindow(ViewState& state, int x1, int y1, int x2, int y2);

// One zoom-in step at a pixel: the window P +- (width / 4, height / 4).
// Only in the 2D views and while the zoom is below 1000.
bool zoomInAt(ViewState& state, int px, int py);

// Halves the zoom in the 2D views while it is at least 0.001.
bool zoomOut(ViewState& state);

// The mouse wheel: zooms by `factor` (> 1 in, < 1 out) about a pixel, so
// that the model point under that pixel stays under it. The zoom stays in
// ZOOM_OUT_MINIMUM .. ZOOM_IN_LIMIT; a step that would leave the range stops
// at its end, and at the end nothing happens (false). Parallel views only.
bool zoomAtPixel(ViewState& state, int px, int py, double factor);
// Wheel notches (120 units each) as a zoom factor: 1.25 per notch, in for
// positive deltas.
double wheelZoomFactor(int delta);

// Moves the picture by a pixel offset (a middle-button drag): the model
// point under one pixel ends up under the pixel (dx, dy) further.
// Parallel views only.
bool panByPixels(ViewState& state, int dx, int dy);

// A new client size: the view keeps its centre, and the zoom follows the
// side that changed less in proportion, so what was in view stays in view
// and a larger window shows the drawing larger. False when nothing changed.
bool resizeView(ViewState& state, int width, int height);

// Selects view 0..3 with its own offsets; the 3D view first takes the 3D
// angles and then zooms all.
bool selectView(ViewState& state, const ObjectList& objects, int mode);

// Arrow keys of the 3D and perspective views.
enum class ArrowKey { Left, Right, Up, Down };

// 3D view: Left alpha -= step, Right alpha += step, Up gamma -= step, Down
// gamma += step, then zoom all. Perspective view: Left/Right alpha -/+ 1
// step, Up/Down gamma +/- 1 step. Other views: nothing.
bool turnView(ViewState& state, const ObjectList& objects, ArrowKey key);

// A new project: the 3D view with zoom 5 and the default 3D angles, offsets
// at the origin. The node-marker switch keeps its state.
void resetViewForNewProject(ViewState& state, const ObjectList& objects);

// After loading a project: wireframe drawing and the stored view selected
// (a stored value outside 0..3 falls back to the XY view).
void applyLoadedView(ViewState& state, const Project& project);

}  // namespace tav
