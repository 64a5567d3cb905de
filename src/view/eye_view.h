// The perspective view from an eye point (view mode 4): the angle-true
// (fisheye) projection, cutting faces at the near plane, the facing test,
// depth keys and sorting, turning by keys and scroll bars, and the lines of
// the information block.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/object_list.h"
#include "view/view_state.h"

namespace tav {

// At most this many faces are drawn in the perspective view.
constexpr std::size_t PERSPECTIVE_MAX_FACES = 4096;
// Scale of the projection: max(view width, height) / PERSPECTIVE_FIELD
// pixels per radian, so a point 90° off the axis lies max(W, H) pixels out.
constexpr double PERSPECTIVE_FIELD = 1.5708;
// Near plane distance: a point is in front of the eye when w >= this.
constexpr double PERSPECTIVE_NEAR = 0.0;
// Limits of the perspective angles.
constexpr double PERSPECTIVE_ALPHA_MIN = -270.0 * VIEW_DEGREE;
constexpr double PERSPECTIVE_ALPHA_MAX = 90.0 * VIEW_DEGREE;
constexpr double PERSPECTIVE_GAMMA_MIN = -180.0 * VIEW_DEGREE;
constexpr double PERSPECTIVE_GAMMA_MAX = 0.0;
// Brush colours of filled faces in hidden-backface mode.
constexpr std::uint32_t PERSPECTIVE_ROOM_BRUSH = 8;
constexpr std::uint32_t PERSPECTIVE_SPEAKER_BRUSH = 3;
// Red cross marking the view centre: colour and half size (pixels).
constexpr std::uint32_t PERSPECTIVE_CROSS_COLOUR = 23;
constexpr int PERSPECTIVE_CROSS_SIZE = 5;
// Information block: top left, one line every 16 pixels.
constexpr int PERSPECTIVE_INFO_LINE_HEIGHT = 16;

// Eye-relative coordinates: u to the screen right, v up, w along the view.
struct EyePoint {
  double u = 0.0;
  double v = 0.0;
  double w = 0.0;
};

// d = P - E; u = -(R1 . d), v = R2 . d, w = R3 . d.
EyePoint toEye(const ViewState& state, const Node& p);

// Pixels per radian and the view centre of the projection.
double perspectiveScale(const ViewState& state);

// The fisheye mapping of an eye-relative point, in unrounded pixels:
// theta = arccos(w / |d|), k = theta / sqrt(u² + v²), pixel = centre +
// scale * k * (u, -v) (small constants keep both roots away from zero).
void fisheyePixel(const ViewState& state, const EyePoint& e, double& px, double& py);

// Projection of one node: pixel (limited and truncated as in the parallel
// views), depth w and whether it lies in front of the eye.
ScreenPoint projectPerspective(const ViewState& state, const Node& p);

// Cuts a closed polygon of eye-relative points at the near plane (w >= 0),
// keeping the part in front; edges that cross the plane are cut at it.
std::vector<EyePoint> clipToNearPlane(const std::vector<EyePoint>& polygon);

// Signed area (twice the area, pixels²) of a closed outline on the screen,
// positive when the outline runs counter-clockwise as the viewer sees it
// (pixel y grows downwards), i.e. when the face's front side is towards the
// viewer.
double screenArea(const std::vector<ScreenPoint>& outline);

// Facing factor of a layer: -1 for loudspeakers (2) and AUX drawing (7),
// whose faces are taken with the opposite orientation, else +1.
int facingFactor(std::uint32_t layer);

// One face as the perspective view draws it.
struct PerspectiveFace {
  const ModelObject* object = nullptr;
  std::size_t startEntry = 0;        // its IDX_START entry
  std::vector<ScreenPoint> outline;  // cut at the near plane, projected
  std::int32_t depthMax = 0;         // largest trunc(1000 * w) of its vertices in front
  std::int32_t depthMin = 0;         // smallest
};

// The faces of the objects from `first` to `last` (inclusive; null `last`
// means to the end) that the perspective view draws: drawable objects with
// faces, not on layer 1, with a vertex in front of the eye, facing the eye
// and not wholly outside the view; at most PERSPECTIVE_MAX_FACES. In
// hidden-backface mode they come sorted far first (largest depthMax first,
// ties by larger depthMin), else in list order.
std::vector<PerspectiveFace> collectPerspectiveFaces(const ViewState& state,
                                                     const ModelObject* first,
                                                     const ModelObject* last);

// Sorts faces far first by their depth keys (stable for equal keys).
void sortFacesByDepth(std::vector<PerspectiveFace>& faces);

// Makes the perspective view current with the given eye point.
void enterPerspective(ViewState& state, const Node& eye);

// Turns the perspective view by whole steps of the turning step: alpha
// wraps into -270°..90°, gamma is limited to -180°..0°. Recomputes the matrix.
void turnPerspective(ViewState& state, int alphaSteps, int gammaSteps);

// Scroll bars of the perspective view: horizontal line -1/+1, page -10/+10,
// thumb p +p steps of alpha; vertical line up/down +1/-1, page up/down
// +10/-10, thumb p -p steps of gamma.
void scrollPerspective(ViewState& state, ScrollAxis bar, ScrollAction action, int thumbPos);

// Lines of the information block: the band while a loudspeaker is aimed
// ("%4.0f Hz"), the eye point ("X: %3.3f" ...) and the angles
// ("Hor. %3.0f°" = -(alpha + 90°), "Ver. %3.0f°" = gamma + 90°).
std::vector<std::string> perspectiveInfoLines(const ViewState& state,
                                              std::optional<double> aimBandHz = std::nullopt);

}  // namespace tav
