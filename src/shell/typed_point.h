// Points typed in dialogs while a command waits: absolute ("Point absolute :"),
// relative to the last point ("Point relative :") and polar ("Point Polar").
#pragma once

#include <cstdint>
#include <optional>

#include "model/model_object.h"
#include "model/units.h"
#include "platform/dialog.h"

namespace tav {

inline constexpr const char* TITLE_POINT_ABSOLUTE = "Point absolute :";
inline constexpr const char* TITLE_POINT_RELATIVE = "Point relative :";
inline constexpr const char* TITLE_POINT_POLAR = "Point Polar";

// Fields of the point dialogs.
constexpr int POINT_FIELD_X = 101;
constexpr int POINT_FIELD_Y = 102;
constexpr int POINT_FIELD_Z = 103;
constexpr int POLAR_FIELD_DISTANCE = 101;
constexpr int POLAR_FIELD_ANGLE = 102;

// "DIALOG_1": X, Y and Z with OK and Cancel.
DialogTemplate pointDialogTemplate(const char* title);
// "DIALOG_2": D and the angle in degrees with OK and Cancel.
DialogTemplate polarDialogTemplate();

// The angle brought into -180..180 by adding or subtracting 360 once, in
// radians.
double polarAngle(double degrees);

// Offset of a polar input in the plane of the view: XY, 3D and perspective
// (D cos a, D sin a, 0), YZ (0, D cos a, D sin a), XZ (D cos a, 0, D sin a).
// D is taken by its absolute value, converted from feet when so displayed.
Node polarOffset(std::int16_t viewMode, double distance, double degrees, const Units& units);

}  // namespace tav
