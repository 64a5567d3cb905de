#include "shell/panel_template.h"

namespace tav {

DialogTemplate panelTemplate() {
  DialogTemplate t;
  t.title = "3DPANEL";
  int col = 0;
  auto add = [&](int id, ControlKind kind, const char* text, unsigned flags = 0) {
    ControlTemplate c = gridControl(id, kind, text, 0, col++, 1, 1, flags);
    if (kind == ControlKind::RadioButton) c.group = 1;
    t.controls.push_back(std::move(c));
  };
  add(PANEL_XY, ControlKind::RadioButton, "XY", CTL_CHECKED);
  add(PANEL_YZ, ControlKind::RadioButton, "YZ");
  add(PANEL_XZ, ControlKind::RadioButton, "XZ");
  add(PANEL_3D, ControlKind::RadioButton, "3D");
  add(PANEL_ZOOM_OUT, ControlKind::PushButton, "Z-");
  add(PANEL_ZOOM_IN, ControlKind::PushButton, "Z+");
  add(PANEL_ZOOM_ALL, ControlKind::PushButton, "<>");
  add(PANEL_HIDDEN, ControlKind::CheckBox, "V");
  add(PANEL_COORDINATE_SNAP, ControlKind::CheckBox, "K", CTL_CHECKED);
  add(PANEL_NODE_SNAP, ControlKind::CheckBox, "P");
  add(PANEL_PRINT, ControlKind::PushButton, "Print");
  add(PANEL_COPY, ControlKind::PushButton, "Copy");
  add(PANEL_COMMENT, ControlKind::PushButton, "Cmt.");
  const char* labels[] = {"X", "Y", "Z"};
  for (int i = 0; i < 3; ++i) {
    add(-(i + 1), ControlKind::Label, labels[i]);
    ControlTemplate field =
        gridControl(PANEL_FIELD_X + i, ControlKind::ReadOnlyEdit, "0.000", 0, col++);
    field.minWidth = 70;
    t.controls.push_back(std::move(field));
  }
  return t;
}

}  // namespace tav
