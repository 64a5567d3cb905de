// The state of the drawing view and the projection maths: view modes and
// angles, the projection matrix, the mapping between model coordinates and
// pixels, the shared offsets of the three 2D views and panning.
//
// Pixel coordinates are those of the view's client area: x to the right,
// y downwards, (0, 0) at the top left corner.
#pragma once

#include <array>
#include <cstdint>
#include <numbers>

#include "model/model_object.h"
#include "model/object_list.h"
#include "model/project_settings.h"
#include "platform/input_events.h"

namespace tav {

constexpr double VIEW_DEGREE = std::numbers::pi / 180.0;  // radians per degree

// Defaults of the rotatable 3D view and of the perspective view (radians).
constexpr float VIEW3D_ALPHA_DEFAULT = static_cast<float>(15.0 * VIEW_DEGREE);
constexpr float VIEW3D_BETA_DEFAULT = 0.0f;
constexpr float VIEW3D_GAMMA_DEFAULT = static_cast<float>(-25.0 * VIEW_DEGREE);
constexpr float PERSPECTIVE_ALPHA_DEFAULT = static_cast<float>(-90.0 * VIEW_DEGREE);
constexpr float PERSPECTIVE_BETA_DEFAULT = 0.0f;
constexpr float PERSPECTIVE_GAMMA_DEFAULT = static_cast<float>(-90.0 * VIEW_DEGREE);
// Turning step of the 3D and perspective views; aiming a loudspeaker sets 1°.
constexpr float TURN_STEP_DEFAULT = static_cast<float>(5.0 * VIEW_DEGREE);
// Zoom of a new project, pixels per metre.
constexpr float ZOOM_NEW_PROJECT = 5.0f;
// Pixel values are limited to this range so far-off points draw at the edge.
constexpr int PIXEL_LIMIT = 32767;
// Number of views with their own offsets (XY, YZ, XZ, 3D).
constexpr int VIEW_OFFSET_COUNT = 4;

// Model axes.
constexpr int AXIS_X = 0;
constexpr int AXIS_Y = 1;
constexpr int AXIS_Z = 2;
// View-plane axes.
constexpr int AXIS_H = 0;  // screen horizontal
constexpr int AXIS_V = 1;  // screen vertical (upwards in model terms)

// View-plane coordinates shown at the view centre, metres.
struct ViewOffset {
  float h = 0.0f;
  float v = 0.0f;
};

// Rows R1 (screen horizontal), R2 (screen vertical), R3 (depth).
using ViewMatrix = std::array<std::array<double, 3>, 3>;

// A projected point: pixel position and depth (R3 . P, metres). In the
// perspective view the depth is the distance w along the view direction and
// `front` tells whether the point lies in front of the eye (w >= 0).
struct ScreenPoint {
  int x = 0;
  int y = 0;
  double depth = 0.0;
  bool front = true;
};

// A point in the view plane (h, v) with its depth, before the pixel mapping.
struct ViewPlanePoint {
  double h = 0.0;
  double v = 0.0;
  double depth = 0.0;
};

struct ViewState {
  ViewState();
  ViewState(const ViewState&) = delete;
  ViewState& operator=(const ViewState&) = delete;
  ViewState(ViewState&&) = default;
  ViewState& operator=(ViewState&&) = default;

  std::int16_t mode = VIEW_XY;    // VIEW_XY .. VIEW_PERSPECTIVE
  float zoom = ZOOM_NEW_PROJECT;  // pixels per metre of the view plane
  std::array<ViewOffset, VIEW_OFFSET_COUNT> offsets{};
  int width = 0;  // client size in pixels
  int height = 0;
  float originX = 0.0f;  // half the client width and height
  float originY = 0.0f;
  std::int32_t shiftX = 0;  // pending shift (pixels), taken at the next redraw
  std::int32_t shiftY = 0;
  std::array<float, 3> angles{};  // alpha, beta, gamma of the current view
  std::array<float, 3> angles3d{VIEW3D_ALPHA_DEFAULT, VIEW3D_BETA_DEFAULT, VIEW3D_GAMMA_DEFAULT};
  std::array<float, 3> perspectiveAngles{PERSPECTIVE_ALPHA_DEFAULT, PERSPECTIVE_BETA_DEFAULT,
                                         PERSPECTIVE_GAMMA_DEFAULT};
  Node eye{};  // eye point of the perspective view
  float turnStep = TURN_STEP_DEFAULT;
  ViewMatrix matrix{};
  bool hiddenBackfaces = false;  // off = wireframe
  bool nodeMarkers = false;
  ObjectList grid;        // generated grid lines, not part of the model
  PixelRect drawnArea{};  // what the last full redraw covered (empty: width 0)

  // Offsets of the current view (the 3D pair also serves the perspective).
  const ViewOffset& offset() const { return offsets[mode < VIEW_OFFSET_COUNT ? mode : VIEW_3D]; }
  bool is2D() const { return mode >= VIEW_XY && mode <= VIEW_XZ; }
};

// The view angles belonging to the state's mode: XY (0, 0, 0), YZ (-90°, 0,
// -90°), XZ (0, 0, -90°), 3D the 3D angles, perspective its own angles.
std::array<float, 3> modeAngles(const ViewState& state);

// The matrix for view angles alpha and gamma (beta does not enter it).
ViewMatrix viewMatrix(double alpha, double gamma);

// Sets the view angles from the mode and recomputes the matrix. The 2D views
// get exact matrices, so that their two axes are the node's own coordinates.
void updateViewMatrix(ViewState& state);

// Sets the client size and the screen origin (the view centre).
void setViewSize(ViewState& state, int width, int height);

// Everything a redraw does before drawing: the size and origin, the pending
// shift into the offsets, the view angles and the matrix.
void prepareView(ViewState& state, int width, int height);

// View-plane coordinates and depth of a model point in the current parallel
// view (for the perspective view: those of the 3D matrix, unused for pixels).
ViewPlanePoint toViewPlane(const ViewState& state, const Node& p);

// Limits a pixel value to +-PIXEL_LIMIT and truncates it toward zero.
int toPixel(double value);

// Pixel of a view-plane coordinate: axis AXIS_H or AXIS_V.
int modelToScreen(const ViewState& state, double value, int axis);
// View-plane coordinate of a pixel (2D views; no coordinate snap here).
double screenToModel(const ViewState& state, double pixel, int axis);

// Pixel pair and depth of a node in the current view (perspective included).
ScreenPoint projectNode(const ViewState& state, const Node& p);

// Sets one offset of a view. The three 2D views share their common axes:
// XY's x is XZ's x, XY's y is YZ's y, YZ's z is XZ's z.
void setViewOffset(ViewState& state, int view, int axis, float value);

// Scroll bars (ScrollAxis, ScrollAction of the platform): the picture moves
// at the next redraw by the pending shift. Scroll bar range; a redraw resets both bars to position
// 0.
constexpr int SCROLL_MIN = -50;
constexpr int SCROLL_MAX = 50;
constexpr int SCROLL_LINE_PIXELS = 8;

// Adds a scroll action to the pending shift (parallel views). The caller
// redraws. In the perspective view the scroll bars turn the view instead
// (see perspective.h, scrollPerspective).
void addScrollShift(ViewState& state, ScrollAxis bar, ScrollAction action, int thumbPos);

// Takes the pending shift into the current view's offsets (and the shared
// axes) and clears it.
void applyPendingShift(ViewState& state);

}  // namespace tav
