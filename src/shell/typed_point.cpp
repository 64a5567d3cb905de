#include "shell/typed_point.h"

#include <cmath>
#include <numbers>

#include "model/project_settings.h"

namespace tav {

namespace {

void addButtons(DialogTemplate& t, int row) {
  t.controls.push_back(gridControl(DLG_OK, ControlKind::DefaultButton, "OK", row, 0));
  t.controls.push_back(gridControl(DLG_CANCEL, ControlKind::PushButton, "Cancel", row, 1));
}

ControlTemplate field(int id, int row) {
  ControlTemplate c = gridControl(id, ControlKind::Edit, "", row, 1, 1, 1, CTL_NUMERIC);
  c.maxLength = 20;
  return c;
}

}  // namespace

DialogTemplate pointDialogTemplate(const char* title) {
  DialogTemplate t;
  t.title = title;
  const char* labels[] = {"X", "Y", "Z"};
  for (int i = 0; i < 3; ++i) {
    t.controls.push_back(gridControl(-(i + 1), ControlKind::Label, labels[i], i, 0));
    t.controls.push_back(field(POINT_FIELD_X + i, i));
  }
  addButtons(t, 3);
  return t;
}

DialogTemplate polarDialogTemplate() {
  DialogTemplate t;
  t.title = TITLE_POINT_POLAR;
  t.controls.push_back(gridControl(-1, ControlKind::Label, "D", 0, 0));
  t.controls.push_back(field(POLAR_FIELD_DISTANCE, 0));
  t.controls.push_back(gridControl(-2, ControlKind::Label, "Angle [deg]", 1, 0));
  t.controls.push_back(field(POLAR_FIELD_ANGLE, 1));
  addButtons(t, 2);
  return t;
}

double polarAngle(double degrees) {
  if (degrees > 180.0) {
    degrees -= 360.0;
  } else if (degrees < -180.0) {
    degrees += 360.0;
  }
  return degrees * std::numbers::pi / 180.0;
}

Node polarOffset(std::int16_t viewMode, double distance, double degrees, const Units& units) {
  const double d = units.lengthFromInput(std::fabs(distance));
  const double a = polarAngle(degrees);
  const float c = static_cast<float>(d * std::cos(a));
  const float s = static_cast<float>(d * std::sin(a));
  switch (viewMode) {
    case VIEW_YZ:
      return {0.0f, c, s};
    case VIEW_XZ:
      return {c, 0.0f, s};
    default:
      return {c, s, 0.0f};
  }
}

}  // namespace tav
